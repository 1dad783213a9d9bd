#!/usr/bin/env bash
# Renews docs/screenshot.png: the terminal on a virtual X display, connected to the
# simulated responder, after one press of "手动发送&S" (Alt+S); docs/screenshot_find.png
# with timestamps and the echo of sent frames on, after three presses, with the find
# bar marking the replies' last bytes; and docs/screenshot_panel.png: the example panel
# looping its three requests to the simulator that answers by the example rules, every
# reply decoded live under it by the example parser; and docs/screenshot_wave.png: the
# waveform view plotting the simulator's three series, the mouse reading off values.
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
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
export DISPLAY=":$(first_line "$work/display" Xvfb)"
build-release/src/sim/portprobe-sim --role responder --stay >"$work/device" &
device=$(first_line "$work/device" portprobe-sim)
build-release/src/app/portprobe --port "$device" &
terminal=$!

window=$(timeout 20 xdotool search --sync --name '^PortProbe V5.0$')
xdotool windowfocus --sync "$window" key alt+s
sleep 1  # the answer takes milliseconds; this leaves the window time to show it
import -window "$window" docs/screenshot.png
echo "wrote docs/screenshot.png"
kill "$terminal"
wait "$terminal" || true

# A second run remembers only "时间戳" and "显示发送" ticked.
export XDG_CONFIG_HOME="$work/config-find"
mkdir -p "$XDG_CONFIG_HOME/portprobe"
printf '[preferences]\ntimestamps=true\nechoSent=true\n' >"$XDG_CONFIG_HOME/portprobe/portprobe.ini"
build-release/src/app/portprobe --port "$device" &
window=$(timeout 20 xdotool search --sync --name '^PortProbe V5.0$')
xdotool windowfocus --sync "$window"
xdotool key alt+s sleep 0.3 key alt+s sleep 0.3 key alt+s sleep 0.5 key ctrl+f type --delay 20 "01 F8"
xdotool key Return
sleep 0.5
import -window "$window" docs/screenshot_find.png
echo "wrote docs/screenshot_find.png"
kill $!  # the second terminal, the last started

# The third run remembers the example panel (open, looping), the example parser as the
# live decoder and "显示发送", as if the user had imported and chosen them.
byte_array() {  # a file as a QSettings byte array, every byte escaped
  printf '@ByteArray(%s)' "$(od -An -v -tx1 "$1" | tr -s ' \n' ' ' | sed 's/ *$//; s/^ *//; s/ /\\x/g; s/^/\\x/')"
}
export XDG_CONFIG_HOME="$work/config-panel" XDG_STATE_HOME="$work/state-panel"
mkdir -p "$XDG_CONFIG_HOME/portprobe" "$XDG_STATE_HOME/portprobe"
parser="$PWD/examples/modbus_rtu.txt"
printf '%s\r\n' "$parser" >"$XDG_STATE_HOME/portprobe/parsers.txt"
printf '%s' "$parser" >"$work/parser-path"
{
  printf '[decoder]\nparser=%s\n' "$(byte_array "$work/parser-path")"
  printf '[panel]\nopen=true\nloop=true\nrows="%s"\n' "$(byte_array examples/panel.txt)"
  printf '[preferences]\nechoSent=true\n'
} >"$XDG_CONFIG_HOME/portprobe/portprobe.ini"
build-release/src/sim/portprobe-sim --rules examples/modbus_rules.txt --stay >"$work/rules-device" &
device=$(first_line "$work/rules-device" "portprobe-sim --rules")
build-release/src/app/portprobe --port "$device" &
window=$(timeout 20 xdotool search --sync --name '^PortProbe V5.0$')
panel=$(timeout 20 xdotool search --sync --name '^多条发送$')
xdotool windowsize "$window" 760 520 windowmove "$window" 0 0
xdotool windowsize "$panel" 760 400 windowmove "$panel" 0 560
sleep 0.5
# "循环发送" is the panel's first button, at its bottom left.
eval "$(xdotool getwindowgeometry --shell "$panel")"
xdotool mousemove --window "$panel" 45 $((HEIGHT - 45)) click 1
sleep 2.2
import -window root -crop 770x970+0+0 docs/screenshot_panel.png
echo "wrote docs/screenshot_panel.png"

# The fourth run remembers the waveform view open; the simulator prints three series.
export XDG_CONFIG_HOME="$work/config-wave"
mkdir -p "$XDG_CONFIG_HOME/portprobe"
printf '[wave]\nopen=true\n' >"$XDG_CONFIG_HOME/portprobe/portprobe.ini"
build-release/src/sim/portprobe-sim --role wave >"$work/wave-device" &
device=$(first_line "$work/wave-device" "portprobe-sim --role wave")
build-release/src/app/portprobe --port "$device" &
window=$(timeout 20 xdotool search --sync --name '^PortProbe V5.0$')
wave=$(timeout 20 xdotool search --sync --name '^波形显示$')
xdotool windowmove "$window" 0 560
xdotool windowsize "$wave" 900 480 windowmove "$wave" 0 0 windowactivate "$wave"
sleep 6
xdotool mousemove --window "$wave" 700 250
sleep 0.5
import -window "$wave" docs/screenshot_wave.png
echo "wrote docs/screenshot_wave.png"
