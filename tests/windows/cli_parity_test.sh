#!/usr/bin/env bash
# portprobe-cli.exe under Wine and the Linux portprobe-cli answer every case of
# tests/cli/parity_cases.txt with the same bytes on stdout and stderr and the same exit
# status. Both run in the repository's root, where the cases' file arguments are.
#   cli_parity_test.sh WINDOWS_CLI LINUX_CLI REPOSITORY
set -euo pipefail
windows_cli=$(realpath "$1") linux_cli=$(realpath "$2")
cd "$3"
: "${WINEPREFIX:?needs the prefix of scripts/windows/wine-prefix.sh}"
export WINEDEBUG=-all
# Wine turns the arguments into UTF-16 by the locale: Chinese file names need UTF-8.
export LANG=C.UTF-8

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cases=0 failures=0
while IFS= read -r line; do
  [[ -z $line || $line == \#* ]] && continue
  read -ra args <<<"$line"
  status_linux=0 status_windows=0
  "$linux_cli" "${args[@]}" >"$out/linux.out" 2>"$out/linux.err" || status_linux=$?
  timeout -k 5 60 wine "$windows_cli" "${args[@]}" >"$out/windows.out" 2>"$out/windows.err" ||
    status_windows=$?
  cases=$((cases + 1))
  for stream in out err; do
    if ! cmp -s "$out/linux.$stream" "$out/windows.$stream"; then
      echo "DIFFERENT std$stream: $line"
      diff <(od -An -c "$out/linux.$stream") <(od -An -c "$out/windows.$stream") | head -n 10 || true
      failures=$((failures + 1))
    fi
  done
  if [ "$status_linux" != "$status_windows" ]; then
    echo "DIFFERENT exit status ($status_linux on Linux, $status_windows on Windows): $line"
    failures=$((failures + 1))
  fi
done <tests/cli/parity_cases.txt
echo "$cases cases, $failures differences"
[ "$cases" -gt 0 ] && [ "$failures" -eq 0 ]
