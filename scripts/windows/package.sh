#!/usr/bin/env bash
# Lays out the portable folder of a Windows build and zips it: everything the two
# programs load, so that they start on a Windows with nothing installed.
#   package.sh BUILD_DIR QT_PREFIX
set -euo pipefail
build=$1 qt=$2
out=$build/portprobe-windows
runtime_dirs=(/usr/lib/gcc/x86_64-w64-mingw32/12-posix /usr/x86_64-w64-mingw32/lib)

rm -rf "$out" "$out.zip"
mkdir -p "$out/platforms" "$out/styles" "$out/translations"
cp "$build/src/app/portprobe.exe" "$build/src/cli/portprobe-cli.exe" "$out/"
cp "$qt"/bin/Qt6{Core,Gui,Widgets}.dll "$out/"
cp "$qt/plugins/platforms/qwindows.dll" "$out/platforms/"
cp "$qt"/plugins/styles/*.dll "$out/styles/" 2>/dev/null || rmdir "$out/styles"
for dll in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
  found=
  for dir in "${runtime_dirs[@]}"; do
    if [ -f "$dir/$dll" ]; then cp "$dir/$dll" "$out/"; found=1; break; fi
  done
  [ -n "$found" ] || { echo "package: $dll not found" >&2; exit 1; }
done
# The build's symbols stay in the build folder; the zip carries the programs alone.
find "$out" -name '*.exe' -o -name '*.dll' | xargs x86_64-w64-mingw32-strip --strip-unneeded
# Qt's own dialog texts in Chinese: the translation files are the same on every system.
cp /usr/share/qt6/translations/qtbase_zh_CN.qm "$out/translations/"
# Qt finds its plugins and translations beside the program rather than where it was built.
printf '[Paths]\r\nPrefix = .\r\nPlugins = .\r\nTranslations = translations\r\n' > "$out/qt.conf"
# Texts with Windows line ends, for every editor the shell may open them in.
crlf() { sed 's/\r*$/\r/' "$1" > "$2"; }
# The Windows manual, made by the build from the one manual, and the examples it uses.
cp "$build/src/app/readme.txt" "$out/readme.txt"
cp -r examples "$out/examples"
# The program's licence, and the licences and notices of everything the folder
# redistributes, from the Debian packages that built it.
mkdir -p "$out/licenses"
crlf LICENSE "$out/LICENSE.txt"
crlf "$(scripts/qcustomplot-source.sh | tail -n 1)/GPL.txt" "$out/licenses/QCustomPlot-GPL.txt"
crlf "$(scripts/libvterm-source.sh | tail -n 1)/LICENSE" "$out/licenses/libvterm-MIT.txt"
crlf /usr/share/common-licenses/LGPL-3 "$out/licenses/Qt-LGPL-3.0.txt"
crlf /usr/share/doc/libqt6core6/copyright "$out/licenses/Qt-copyright.txt"
crlf /usr/share/doc/mingw-w64-common/copyright "$out/licenses/mingw-w64-runtime-winpthreads-copyright.txt"
crlf /usr/share/doc/gcc-mingw-w64-base/copyright "$out/licenses/gcc-runtime-libstdc++-libgcc-copyright.txt"
qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
printf '%s\r\n' \
  "Qt6Core.dll, Qt6Gui.dll, Qt6Widgets.dll and the plugins in platforms\\ and styles\\ are Qt" \
  "(qtbase), used under the GNU Lesser General Public License, version 3 (Qt-LGPL-3.0.txt," \
  "with the GPL in ..\\LICENSE.txt); Qt-copyright.txt lists its parts and their notices." \
  "They were built from Debian's qt6-base source package, version $qt_version, with the" \
  "changes that scripts/build-qt-windows.sh of PortProbe's source applies: get it with" \
  "\"apt-get source qt6-base=$qt_version\" on Debian 12, or from https://sources.debian.org/src/qt6-base/." \
  "You may replace these DLLs with your own build of the same Qt version." \
  "" \
  "libstdc++-6.dll and libgcc_s_seh-1.dll are GCC's runtime, under the GPL, version 3, with" \
  "the GCC Runtime Library Exception (gcc-runtime-libstdc++-libgcc-copyright.txt)." \
  "libwinpthread-1.dll and the runtime compiled into the programs are mingw-w64's, under" \
  "the licences in mingw-w64-runtime-winpthreads-copyright.txt." \
  "The plot of the waveform view is QCustomPlot, compiled into portprobe.exe, under the" \
  "GPL, version 3 (QCustomPlot-GPL.txt)." \
  "The console screen's terminal emulator is libvterm, compiled into portprobe.exe, under" \
  "the MIT licence (libvterm-MIT.txt)." > "$out/licenses/README.txt"
(cd "$build" && zip -qr portprobe-windows.zip portprobe-windows)
echo "== $out.zip"
