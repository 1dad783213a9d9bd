# Sourced: makes a fresh Wine prefix for one run in the folder given (default
# build-windows/wine) and starts it once. Wine's optional .NET and browser installers
# are declined, since they would ask on screen.
prefix=${1:-build-windows/wine}
export WINEPREFIX
WINEPREFIX=$(realpath -m "$prefix")
export WINEDEBUG=-all
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
WINEDLLOVERRIDES="mscoree=d;mshtml=d" timeout -k 10 300 wineboot -i >/dev/null 2>&1
timeout -k 10 120 wineserver -w
# One server for the whole run, and Wine's own services, started here with their output
# discarded: started by a test's program they would inherit its stdout and stderr, write
# into them and hold them open after it ended. They end with `wineserver -k`.
wineserver -p >/dev/null 2>&1
timeout -k 10 120 wine cmd /c exit </dev/null >/dev/null 2>&1
