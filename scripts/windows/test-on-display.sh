#!/usr/bin/env bash
# The part of scripts/windows/test.sh that runs on the virtual display: one Wine prefix
# for the run, two COM ports joined by a pseudo-terminal pair for the link's tests.
set -euo pipefail
source scripts/windows/wine-prefix.sh build-windows/wine

pair=$(mktemp -d)
socat pty,raw,echo=0,link="$pair/a" pty,raw,echo=0,link="$pair/b" 2>/dev/null &
socat_pid=$!
cleanup() {
  kill "$socat_pid" 2>/dev/null || true
  timeout 30 wineserver -k 2>/dev/null || true
  rm -rf "$pair"
}
trap cleanup EXIT
for _ in $(seq 50); do [ -e "$pair/b" ] && break; sleep 0.1; done
ln -sf "$pair/a" "$WINEPREFIX/dosdevices/com11"
ln -sf "$pair/b" "$WINEPREFIX/dosdevices/com12"
export PORTPROBE_TEST_COM_PAIR=COM11,COM12

# One test at a time: Wine's start-up is the slow part, and parallel runs only fight
# over the two cores.
ctest --test-dir build-windows --output-on-failure
