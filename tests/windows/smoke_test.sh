#!/usr/bin/env bash
# portprobe.exe from the portable folder under Wine, with COM5 mapped to a
# pseudo-terminal: the window opens COM5 at start-up, Alt+S sends the remembered hex
# frame, and the frame arrives at the far end; the waveform view, open at the last end,
# opens again beside it. Plain `wine`, without the build's
# runtime folders on its path, so that a DLL missing from the folder fails the test.
#   smoke_test.sh PORTABLE_FOLDER   (on an X display, with $WINEPREFIX prepared)
set -euo pipefail
folder=$(realpath "$1")
: "${WINEPREFIX:?needs the prefix of scripts/windows/wine-prefix.sh}"
export WINEDEBUG=-all

# The folder carries the program's licence, and every DLL beside the programs is named
# in the notes on what it redistributes.
[ -s "$folder/LICENSE.txt" ] || { echo "no LICENSE.txt in the folder"; exit 1; }
for dll in "$folder"/*.dll; do
  grep -q "$(basename "$dll")" "$folder/licenses/README.txt" ||
    { echo "$(basename "$dll") is not named in licenses/README.txt"; exit 1; }
done

work=$(mktemp -d)
cleanup() {
  kill $(jobs -p) 2>/dev/null || true
  rm -f "$WINEPREFIX/dosdevices/com5"
  rm -rf "$work"
}
trap cleanup EXIT

socat pty,raw,echo=0,link="$work/com5" pty,raw,echo=0,link="$work/far" 2>/dev/null &
for _ in $(seq 50); do [ -e "$work/far" ] && break; sleep 0.1; done
ln -sf "$work/com5" "$WINEPREFIX/dosdevices/com5"

# The window's settings live in the prefix's local application data.
settings="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/portprobe"
mkdir -p "$settings"
printf '[send]\r\nhex=true\r\ntext=@ByteArray(01 03 00 00 00 01 84 0A)\r\n[wave]\r\nopen=true\r\n' \
  >"$settings/portprobe.ini"

# The far end is read from before the window starts, so that nothing sent is missed.
python3 - "$work/far" >"$work/received" <<'PY' &
import os, select, sys, time
fd = os.open(sys.argv[1], os.O_RDONLY | os.O_NOCTTY)
got, deadline = b"", time.monotonic() + 90
while len(got) < 8 and time.monotonic() < deadline:
    if select.select([fd], [], [], 0.5)[0]:
        got += os.read(fd, 64)
print(got.hex(" "))
PY
reader=$!

# A window manager gives focus as on a desktop.
openbox >/dev/null 2>&1 &
(cd "$folder" && exec timeout -k 5 120 wine portprobe.exe --port COM5) >"$work/window.log" 2>&1 &
window=$(timeout 60 xdotool search --sync --name '^PortProbe V5.0$' | head -n 1) || {
  echo "smoke: the window did not appear"; cat "$work/window.log"; exit 1; }
# Wine maps the window a moment after it is found; the keys go to the focused window.
sleep 2
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
sleep 1
xdotool key --clearmodifiers alt+s
wait "$reader"
received=$(cat "$work/received")
echo "far end received: $received"
[ "$received" = "01 03 00 00 00 01 84 0a" ]
timeout 20 xdotool search --sync --name '^波形显示$' >/dev/null || { echo "smoke: the waveform view did not open"; exit 1; }
