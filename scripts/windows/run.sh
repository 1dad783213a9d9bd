#!/usr/bin/env bash
# Starts the Windows build's portprobe.exe under Wine, in a prefix of its own that
# keeps its settings between runs. Without --port the simulated responder
# (portprobe-sim, built for Linux) stands in for a device, mapped as COM1.
set -euo pipefail
cd "$(dirname "$0")/../.."
export WINEPREFIX=${PORTPROBE_WINEPREFIX:-${XDG_DATA_HOME:-$HOME/.local/share}/portprobe/wine}
export WINEDEBUG=-all
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  WINEDLLOVERRIDES="mscoree=d;mshtml=d" timeout -k 10 300 wineboot -i >/dev/null 2>&1
  # A new prefix knows Notepad but not that it opens .txt, which the help file needs.
  timeout -k 10 60 wine reg add 'HKCR\.txt' /ve /d txtfile /f >/dev/null 2>&1
fi

args=("$@")
if ! printf '%s\n' "$@" | grep -q -- '^--port'; then
  cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DPORTPROBE_TESTS=OFF >/dev/null
  cmake --build build-release -j "$(nproc)" --target portprobe-sim
  exec 3< <(exec build-release/src/sim/portprobe-sim --role responder --stay --watch-pid $$)
  read -r device <&3 || { echo "portprobe-sim did not start" >&2; exit 1; }
  ln -sf "$device" "$WINEPREFIX/dosdevices/com1"
  args=(--port COM1 "$@")
fi
cd build-windows/portprobe-windows
exec wine portprobe.exe "${args[@]}"
