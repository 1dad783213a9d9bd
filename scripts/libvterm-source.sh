#!/usr/bin/env bash
# Unpacks Debian's own libvterm source for the Windows build, which compiles it into the
# terminal: its headers, its C files and the tables they include, and its licence. The
# result lands in a cache folder named by this script's hash. Prints the folder last.
#   PORTPROBE_CACHE   where the cache lives (default: $XDG_CACHE_HOME/portprobe)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/packages.sh"
ensure_packages dpkg-dev

key=$(sha256sum "$0" | cut -c1-12)
cache=${PORTPROBE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/portprobe}
out=$cache/libvterm-$key
if [ -f "$out/.complete" ]; then
  echo "$out"
  exit 0
fi

work=$cache/libvterm-work-$key
rm -rf "$work" "$out"
mkdir -p "$work"
cd "$work"
unpack_debian_source libvterm src
mkdir -p "$out"
cp -r src/include src/src src/LICENSE "$out/"
rm -rf "$work"
touch "$out/.complete"
echo "$out"
