#!/usr/bin/env bash
# The installer under Wine, as a user runs it: a silent install for the user alone puts
# the folder, its Start menu entries and its "Apps & features" key in place; the
# installed portprobe.exe passes the smoke test; the silent uninstall takes all of it
# away again and keeps the user's settings. Then the same for all users.
#   installer_test.sh SETUP_EXE SMOKE_TEST   (on an X display, with $WINEPREFIX prepared)
set -euo pipefail
setup=$(realpath "$1") smoke=$(realpath "$2")
: "${WINEPREFIX:?needs the prefix of scripts/windows/wine-prefix.sh}"
export WINEDEBUG=-all
# Wine would otherwise copy each Start menu entry into this machine's own menus.
export WINEDLLOVERRIDES="winemenubuilder.exe=d"
drive=$WINEPREFIX/drive_c
uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall\PortProbe'
settings=$drive/users/$(id -un)/AppData/Local/portprobe

fail() { echo "installer: $*"; exit 1; }
installed() { # FOLDER MENU ROOT: everything the installer puts in place is there
  local folder=$1 menu=$2 root=$3
  for file in portprobe.exe portprobe-cli.exe readme.txt LICENSE.txt examples/modbus_rtu.txt \
      platforms/qwindows.dll uninstall.exe; do
    [ -f "$folder/$file" ] || fail "$file is not installed in $folder"
  done
  [ -f "$menu/PortProbe.lnk" ] && [ -f "$menu/PortProbe 使用说明.lnk" ] || fail "no Start menu entries in $menu"
  wine reg query "$root\\$uninstall_key" /v UninstallString | grep -q 'uninstall.exe' ||
    fail "no uninstall key in $root"
}
removed() { # FOLDER MENU ROOT: waits for the uninstaller, which runs from a copy of itself
  local folder=$1 menu=$2 root=$3
  for _ in $(seq 120); do [ -e "$folder" ] || break; sleep 0.5; done
  [ ! -e "$folder" ] || { find "$folder"; fail "the uninstaller left $folder"; }
  [ ! -e "$menu" ] || fail "the uninstaller left $menu"
  ! wine reg query "$root\\$uninstall_key" >/dev/null 2>&1 || fail "the uninstaller left the key in $root"
}

folder=$drive/users/$(id -un)/AppData/Local/Programs/PortProbe
menu="$drive/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/PortProbe"
timeout -k 5 120 wine "$setup" /S || fail "the silent install failed"
installed "$folder" "$menu" HKCU
bash "$smoke" "$folder"
[ -f "$settings/portprobe.ini" ] || fail "the installed program kept no settings"
timeout -k 5 60 wine "$folder/uninstall.exe" /S
removed "$folder" "$menu" HKCU
[ -f "$settings/portprobe.ini" ] || fail "the silent uninstall removed the user's settings"

folder="$drive/Program Files/PortProbe"
menu="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/PortProbe"
timeout -k 5 120 wine "$setup" /S /AllUsers || fail "the silent install for all users failed"
installed "$folder" "$menu" HKLM
timeout -k 5 60 wine "$folder/uninstall.exe" /S /AllUsers
removed "$folder" "$menu" HKLM
echo "installed, started and removed, for the user and for all users"
