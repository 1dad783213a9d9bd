#!/usr/bin/env bash
# Cross-builds PortProbe for 64-bit Windows and lays out the portable folder and its zip:
#   build-windows/portprobe-windows/      portprobe.exe, portprobe-cli.exe, the Qt and
#                                         mingw runtime DLLs, the platform plugin, readme.txt
#   build-windows/portprobe-windows.zip
#   build-windows/PortProbe-<version>-setup.exe   the installer of that folder
# The first run on a machine also builds Qt for Windows (scripts/build-qt-windows.sh) and
# unpacks the sources of the plot library and of the console's emulator
# (scripts/qcustomplot-source.sh, scripts/libvterm-source.sh).
# Extra arguments go to CMake's configure step.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/packages.sh
ensure_packages "${PORTPROBE_BUILD_PACKAGES[@]}" "${PORTPROBE_WINDOWS_PACKAGES[@]}"

qt=$(scripts/build-qt-windows.sh | tail -n 1)
qcustomplot=$(scripts/qcustomplot-source.sh | tail -n 1)
libvterm=$(scripts/libvterm-source.sh | tail -n 1)
echo "== build-windows: configure and build"
cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DCMAKE_PREFIX_PATH="$qt" -DQT_HOST_PATH=/usr -DCMAKE_BUILD_TYPE=Release -DPORTPROBE_WERROR=ON \
  -DPORTPROBE_QCUSTOMPLOT_SOURCE="$qcustomplot" -DPORTPROBE_LIBVTERM_SOURCE="$libvterm" \
  "$@" >/dev/null
cmake --build build-windows -j "$(nproc)"
scripts/windows/package.sh build-windows "$qt"
scripts/windows/installer.sh build-windows
