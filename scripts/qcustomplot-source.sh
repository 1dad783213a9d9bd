#!/usr/bin/env bash
# Unpacks Debian's own qcustomplot source for the Windows build, which compiles it into
# the terminal: qcustomplot.h and qcustomplot.cpp, patched to build without Qt's print
# support (the Windows Qt has none; only the plot's PDF export needs it). The result
# lands in a cache folder named by this script's hash. Prints the folder last.
#   PORTPROBE_CACHE   where the cache lives (default: $XDG_CACHE_HOME/portprobe)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/packages.sh"
ensure_packages dpkg-dev

key=$(sha256sum "$0" | cut -c1-12)
cache=${PORTPROBE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/portprobe}
out=$cache/qcustomplot-$key
if [ -f "$out/.complete" ]; then
  echo "$out"
  exit 0
fi

work=$cache/qcustomplot-work-$key
rm -rf "$work" "$out"
mkdir -p "$work" "$out"
cd "$work"
unpack_debian_source qcustomplot src
sed 's|^#  include <QtPrintSupport/QtPrintSupport>$|#  ifndef QT_NO_PRINTER\n#    include <QtPrintSupport/QtPrintSupport>\n#  endif|' \
  src/qcustomplot.h > "$out/qcustomplot.h"
grep -q 'ifndef QT_NO_PRINTER' "$out/qcustomplot.h" || { echo "qcustomplot.h: print support include not found" >&2; exit 1; }
cp src/qcustomplot.cpp src/GPL.txt "$out/"
rm -rf "$work"
touch "$out/.complete"
echo "$out"
