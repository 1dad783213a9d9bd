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
# The help file with Windows line ends, for every editor the shell may open it in.
sed 's/\r*$/\r/' readme.txt > "$out/readme.txt"
# The plot library is compiled into the terminal; its licence goes with it.
sed 's/\r*$/\r/' "$(scripts/qcustomplot-source.sh | tail -n 1)/GPL.txt" > "$out/QCustomPlot-GPL.txt"
(cd "$build" && zip -qr portprobe-windows.zip portprobe-windows)
echo "== $out.zip"
