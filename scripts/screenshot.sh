#!/usr/bin/env bash
# Renews docs/screenshot.png: the terminal on a virtual X display, connected to the
# simulated responder, after one press of "手动发送&S" (Alt+S); and docs/screenshot_find.png
# after two more, with the find bar marking the replies' last bytes.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
ensure_packages "${PORTPROBE_BUILD_PACKAGES[@]}" xvfb xdotool imagemagick

cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DPORTPROBE_TESTS=OFF >/dev/null
cmake --build build-release -j "$(nproc)" --target portprobe portprobe-sim

work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
# The shot shows the start-up defaults, not what the user's own runs remembered.
export XDG_CONFIG_HOME="$work/config"

# Waits up to ten seconds for a background step to write its first line to a file.
first_line() {
  local tries=100
  until [ -s "$1" ]; do
    ((--tries)) || { echo "screenshot: $2 did not start" >&2; exit 1; }
    sleep 0.1
  done
  head -n 1 "$1"
}

# Xvfb picks a free display and writes its number to descriptor 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
export DISPLAY=":$(first_line "$work/display" Xvfb)"
build-release/src/sim/portprobe-sim --role responder --stay >"$work/device" &
build-release/src/app/portprobe --port "$(first_line "$work/device" portprobe-sim)" &

window=$(timeout 20 xdotool search --sync --name '^PortProbe V5.0$')
xdotool windowfocus --sync "$window" key alt+s
sleep 1  # the answer takes milliseconds; this leaves the window time to show it
import -window "$window" docs/screenshot.png
echo "wrote docs/screenshot.png"

xdotool key alt+s sleep 0.3 key alt+s sleep 0.5 key ctrl+f type --delay 20 "01 F8"
xdotool key Return
sleep 0.5
import -window "$window" docs/screenshot_find.png
echo "wrote docs/screenshot_find.png"
