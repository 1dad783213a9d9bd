#!/usr/bin/env bash
# portprobe-cli.exe under Wine with a console: `script` gives Wine a terminal, which Wine
# makes the program's console. Its Chinese error text must show whole, as in a Windows
# console at any code page, with no "�" where a character was split between writes.
# (Redirected to a file, stderr's bytes are compared with Linux's by cli_parity_test.sh.)
#   console_test.sh WINDOWS_CLI   (with $WINEPREFIX prepared)
set -euo pipefail
cli=$(realpath "$1")
: "${WINEPREFIX:?needs the prefix of scripts/windows/wine-prefix.sh}"
export WINEDEBUG=-all LANG=C.UTF-8

status=0
shown=$(timeout -k 5 60 script -qec "wine '$cli' checksum crc99 0102" /dev/null </dev/null) || status=$?
# Wine's console draws with cursor escapes and CR LF; the words are what count.
shown=$(printf '%s' "$shown" | sed 's/\x1b\[[0-9;?]*[a-zA-Z]//g; s/\r//g')
printf '%s\n' "$shown" | head -n 3
[ "$status" -eq 2 ] || { echo "exit status $status, not 2"; exit 1; }
grep -qx '未知的校验: crc99' <<<"$shown" || { echo "the error line is not shown whole"; exit 1; }
grep -qx '可用的校验:' <<<"$shown" || { echo "the list's heading is not shown whole"; exit 1; }
! grep -q $'\xef\xbf\xbd' <<<"$shown" || { echo "a character was shown as U+FFFD"; exit 1; }
