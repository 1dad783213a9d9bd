#!/usr/bin/env bash
# Makes PortProbe-<version>-setup.exe beside the portable folder of a Windows build,
# with NSIS: it installs that folder, whole, and its uninstaller removes exactly that.
#   installer.sh BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
folder=$build/portprobe-windows
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || { echo "installer: no version in $build/CMakeCache.txt" >&2; exit 1; }
source_dir=$(realpath "$(dirname "$0")/../..")
files=$build/installer-files.nsh

# What the folder holds, as NSIS commands: each folder's files put in place, and the
# same files and folders taken away again, the deepest folders first.
{
  echo '!macro InstallFiles'
  (cd "$folder" && find . -type d | sort) | while read -r dir; do
    target=${dir#.}
    echo "  SetOutPath \"\$INSTDIR${target//\//\\}\""
    (cd "$folder" && find "$dir" -maxdepth 1 -type f | sort | sed "s|^\./||; s|.*|  File \"$folder/&\"|")
  done
  echo '!macroend'
  echo '!macro UninstallFiles'
  (cd "$folder" && find . -type f | sort) | sed 's|^\./||; s|/|\\|g; s/.*/  Delete "$INSTDIR\\&"/'
  (cd "$folder" && find . -mindepth 1 -type d | sort -r) | sed 's|^\./||; s|/|\\|g; s/.*/  RMDir "$INSTDIR\\&"/'
  echo '!macroend'
} >"$files"

out=$build/PortProbe-$version-setup.exe
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DFILES="$files" -DOUTFILE="$out" \
  -DICON="$source_dir/resources/icons/portprobe.ico" -DLICENSE="$folder/LICENSE.txt" \
  "$source_dir/scripts/windows/installer.nsi"
echo "== $out"
