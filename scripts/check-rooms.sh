#!/usr/bin/env bash
# Checks that every folder under src/ includes only the rooms that the room table of
# docs/ARCHITECTURE.md lets it use, and what those may use in turn; a token with a
# slash (`resources/strings.h`, `resources/`) allows that file or folder. Exits
# non-zero and names each include that breaks it.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A allowed
rooms=()
while IFS= read -r line; do
  room=$(sed -E 's/^\| `([a-z]+)\/`.*/\1/' <<<"$line")
  uses=$(awk -F'|' '{print $(NF-1)}' <<<"$line")
  allowed[$room]=$( (grep -oE '`[^`]+`' <<<"$uses" || true) | tr -d '`' | tr '\n' ' ')
  if grep -q 'everything above' <<<"$uses"; then allowed[$room]+=" ${rooms[*]}"; fi
  # The rooms listed before this one are settled, so one step takes in all they may use.
  for use in ${allowed[$room]}; do
    [ -n "${allowed[$use]+set}" ] && allowed[$room]+=" ${allowed[$use]}"
  done
  rooms+=("$room")
done < <(sed -n '/^## Rooms/,/^## /p' docs/ARCHITECTURE.md | grep -E '^\| `[a-z]+/` \|')

status=0
for room in "${rooms[@]}"; do
  [ -d "src/$room" ] || { echo "room table: src/$room does not exist"; status=1; continue; }
  while IFS= read -r hit; do
    file=${hit%%:*}
    target=$(sed -E 's/.*#include "([^"]+)".*/\1/' <<<"$hit")
    top=${target%%/*}
    [ "$top" = "$room" ] && continue
    [ -d "src/$top" ] || [ "$top" = resources ] || continue
    ok=0
    for use in ${allowed[$room]}; do
      if [ "$use" = "$top" ] || [ "$use" = "$target" ] || [ "$use" = "$top/" ]; then ok=1; fi
    done
    if [ $ok = 0 ]; then
      echo "$file: $room/ may not include $target"
      status=1
    fi
  done < <(grep -rnE '^#include "[^"]+"' "src/$room" --include='*.cpp' --include='*.h' || true)
done
for dir in src/*/; do
  dir=${dir#src/}
  dir=${dir%/}
  [ -n "${allowed[$dir]+set}" ] || { echo "room table: src/$dir/ has no row"; status=1; }
done
[ $status = 0 ] && echo "rooms: every include keeps to docs/ARCHITECTURE.md"
exit $status
