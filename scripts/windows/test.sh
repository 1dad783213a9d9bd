#!/usr/bin/env bash
# Builds the Windows programs and runs their tests under Wine on a virtual display: the
# Qt-free suites and the serial link through CTest, then the whole programs
# (tests/windows/). Exits non-zero when anything fails.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/packages.sh
ensure_packages "${PORTPROBE_BUILD_PACKAGES[@]}" "${PORTPROBE_TEST_PACKAGES[@]}" "${PORTPROBE_WINDOWS_PACKAGES[@]}"
# The Linux command-line tool that the Windows one is compared with, as ./test builds it.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPORTPROBE_WERROR=ON >/dev/null
cmake --build build -j "$(nproc)" --target portprobe-cli
scripts/windows/build.sh
echo "== build-windows: tests under Wine"
exec xvfb-run -a -s "-screen 0 1280x1024x24" scripts/windows/test-on-display.sh
