#!/usr/bin/env bash
# Runs one Windows program under Wine, for CTest and the Windows scripts: in the prefix
# that scripts/windows/wine-prefix.sh prepared ($WINEPREFIX), without Wine's debug
# output, under a time limit, with the mingw-w64 runtime DLLs on the search path.
set -euo pipefail
: "${WINEPREFIX:?prepare a prefix first: source scripts/windows/wine-prefix.sh}"
export WINEDEBUG=-all
export WINEPATH="Z:/usr/lib/gcc/x86_64-w64-mingw32/12-posix;Z:/usr/x86_64-w64-mingw32/lib${WINEPATH:+;$WINEPATH}"
exec timeout -k 10 "${PORTPROBE_WINE_TIMEOUT:-300}" wine "$@"
