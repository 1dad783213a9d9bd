#!/bin/sh
# Makes one system's readme.txt from the one manual, readme.txt at the source's root.
# A passage for one system stands between a line "{linux}" or "{windows}" and a line
# "{end}"; the other system's passages and the marker lines are left out. The Windows
# manual gets a UTF-8 byte-order mark and CR LF, so every Notepad shows its Chinese.
#   manual.sh linux|windows MANUAL OUTPUT
set -eu
system=$1 manual=$2 output=$3
case $system in linux | windows) ;; *) echo "manual.sh: no system $system" >&2; exit 2 ;; esac
# A marker left open or nested would swallow the rest of the manual on one system.
awk -v keep="{$system}" '
  /^\{(linux|windows)\}\r?$/ {
    if (open != "") { print FILENAME ":" NR ": " $0 " inside " open " of line " from > "/dev/stderr"; exit 1 }
    open = $0; sub(/\r$/, "", open); from = NR; next
  }
  /^\{end\}\r?$/ {
    if (open == "") { print FILENAME ":" NR ": {end} without {linux} or {windows}" > "/dev/stderr"; exit 1 }
    open = ""; next
  }
  open == "" || open == keep { print }
  END { if (open != "") { print FILENAME ":" from ": " open " is never ended" > "/dev/stderr"; exit 1 } }
' "$manual" >"$output.part" || { rm -f "$output.part"; exit 1; }
if [ "$system" = windows ]; then
  sed -e '1s/^\(\xef\xbb\xbf\)\?/\xef\xbb\xbf/' -e 's/\r*$/\r/' "$output.part" >"$output"
  rm -f "$output.part"
else
  mv "$output.part" "$output"
fi
