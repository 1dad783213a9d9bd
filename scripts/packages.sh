# Sourced by ./run and ./test: installs the Debian packages that a step needs.
# As root the missing ones are installed with apt-get; otherwise the apt-get line is
# printed and the script stops, since nothing can be built without them.

PORTPROBE_BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools
  libgl-dev fonts-wqy-microhei qt6-translations-l10n libudev-dev libqcustomplot-dev libqcustomplot2.1-qt6
  libvterm-dev)
PORTPROBE_TEST_PACKAGES=(libgtest-dev libgmock-dev clang libclang-rt-14-dev desktop-file-utils libbenchmark-dev
  umockdev libumockdev-dev socat ser2net)
# The Windows build: mingw-w64 cross compilers, Qt's source through dpkg-source, Wine and
# a virtual display for the tests, zip for the portable folder, NSIS for the installer.
PORTPROBE_WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix dpkg-dev
  googletest wine wine64 xvfb xauth socat zip nsis openbox xdotool)

missing_packages() {
  local pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || echo "$pkg"
  done
}

ensure_packages() {
  local missing
  missing=$(missing_packages "$@")
  [ -z "$missing" ] && return 0
  # shellcheck disable=SC2086
  if [ "$(id -u)" -ne 0 ]; then
    echo "PortProbe needs these Debian packages; install them first:" >&2
    echo "  sudo apt-get install -y" $missing >&2
    exit 1
  fi
  echo "Installing:" $missing
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q >/dev/null || apt-get update
  # shellcheck disable=SC2086
  apt-get install -y -q --no-install-recommends $missing >/dev/null
}

# Downloads and unpacks Debian's source package PKG into the folder DIR (below the
# working directory); adds a deb-src line for the archive only when APT has none.
unpack_debian_source() {
  local pkg=$1 dir=$2
  if ! apt-get source --download-only "$pkg" >/dev/null 2>&1; then
    if [ "$(id -u)" -ne 0 ]; then
      echo "$pkg's source needs a deb-src line in APT's sources; add it as root first." >&2
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
    apt-get source --download-only "$pkg" >/dev/null
  fi
  dpkg-source --no-check -x "$pkg"_*.dsc "$dir" >/dev/null
}
