#!/usr/bin/env bash
# The one manual makes both systems' readme.txt: every marker is closed, both have the
# same sections in the same order, the Windows one reads in any Notepad (byte-order
# mark, CR LF) and names none of Linux's own things, the Linux one none of Windows'.
#   manual_test.sh SOURCE_DIR
set -euo pipefail
source_dir=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
for system in linux windows; do
  sh "$source_dir/scripts/manual.sh" "$system" "$source_dir/readme.txt" "$out/$system.txt"
done
tr -d '\r' <"$out/windows.txt" | sed '1s/^\xef\xbb\xbf//' >"$out/windows-lf.txt"

status=0
fail() { echo "$*"; status=1; }
headings() { grep -E '^[0-9]+\.[0-9]* [A-Z]' "$1"; }
diff <(headings "$out/linux.txt") <(headings "$out/windows-lf.txt") || fail "the sections differ"
[ "$(head -c 3 "$out/windows.txt" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "no byte-order mark"
[ "$(grep -c $'\r$' "$out/windows.txt")" = "$(wc -l <"$out/windows.txt")" ] || fail "a line without CR LF"
grep -n -E '^\{(linux|windows|end)\}' "$out/linux.txt" "$out/windows-lf.txt" && fail "a marker is left"
grep -n -E 'dialout|udev|/dev/|portprobe-sim|gnome-calculator|XDG_|~/\.|\./run' "$out/windows-lf.txt" &&
  fail "the Windows manual names Linux's own things"
grep -n -E 'calc\.exe|%LOCALAPPDATA%|\.exe\b' "$out/linux.txt" && fail "the Linux manual names Windows' own things"
exit $status
