#!/usr/bin/env bash
# Builds Qt (Core, Gui, Widgets, Test; shared) for 64-bit Windows with mingw-w64 from
# Debian's own qt6-base source, using the system's Qt as host tools. The result lands in
# a cache folder named by this script's hash, so a machine builds it once (about 25
# minutes on two cores) and every later run finds it. Prints the install prefix last.
#   PORTPROBE_CACHE   where the cache lives (default: $XDG_CACHE_HOME/portprobe)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/packages.sh"
ensure_packages "${PORTPROBE_BUILD_PACKAGES[@]}" "${PORTPROBE_WINDOWS_PACKAGES[@]}"

key=$(sha256sum "$0" | cut -c1-12)
cache=${PORTPROBE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/portprobe}
prefix=$cache/qt-windows-$key
if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

work=$cache/qt-windows-work-$key
rm -rf "$work" "$prefix"
mkdir -p "$work"
cd "$work"

# The source comes from Debian's archive; deb-src is added only when it is missing.
if ! apt-get source --download-only qt6-base >/dev/null 2>&1; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "Qt's source needs a deb-src line in APT's sources; add it as root first." >&2
    exit 1
  fi
  cat > /etc/apt/sources.list.d/portprobe-deb-src.sources <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
  apt-get update -q >/dev/null
  apt-get source --download-only qt6-base >/dev/null
fi
dpkg-source --no-check -x qt6-base_*.dsc src >/dev/null

# Two parts of the Windows platform plugin that do not build without the features they
# use: Direct2D where DirectWrite 3 is on, and the dynamic OpenGL loader without OpenGL.
plugin=src/src/plugins/platforms/windows
sed -i 's/QT_CONFIG(directwrite3)/(QT_CONFIG(directwrite3) \&\& QT_CONFIG(direct2d))/' \
  "$plugin/qwindowsintegration.cpp"
sed -i 's/^#if QT_CONFIG(dynamicgl)$/#if QT_CONFIG(dynamicgl) \&\& QT_CONFIG(opengl)/' \
  "$plugin/qwindowswindow.cpp"

cat > toolchain.cmake <<'EOF'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
EOF

features=(sql network xml dbus printsupport concurrent opengl direct2d tabletevent
  system_zlib system_pcre2 system_harfbuzz system_freetype system_png system_jpeg
  system_doubleconversion system_libb2 sql_sqlite)
options=()
for f in "${features[@]}"; do options+=("-DFEATURE_$f=OFF"); done

cmake -S src -B build -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$work/toolchain.cmake" \
  -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DQT_HOST_PATH=/usr \
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DBUILD_SHARED_LIBS=ON \
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
  "${options[@]}" >configure.log
cmake --build build -j "$(nproc)" >build.log
cmake --install build >install.log
touch "$prefix/.complete"
rm -rf "$work"
echo "$prefix"
