#!/usr/bin/env bash
# Runs one command on the Linux build and on Windows under Wine, and requires
# both to exit with the same status and to print the same, line for line.
#
#   compare-with-linux.sh [--input FILE] [--expect PATTERN] [--status N]
#                         LINUX_PROGRAM WINDOWS_PROGRAM [ARGUMENT...]
#
# Wine is the loader named by WINELOADER. With --input, both read FILE; with
# --expect, the output must also have a line matching the extended regular
# expression PATTERN; the status both must exit with is N, 0 unless given.
set -euo pipefail
input=/dev/null
expect=
expected_status=0
while [[ ${1:-} == --* ]]; do
  case $1 in
    --input) input=$2 ;;
    --expect) expect=$2 ;;
    --status) expected_status=$2 ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
  esac
  shift 2
done
linux=$1
windows=$2
shift 2
out=$(mktemp -d)
trap 'rm -r "$out"' EXIT

status=0
linux_status=0
"$linux" "$@" <"$input" >"$out/linux" || linux_status=$?
windows_status=0
"$WINELOADER" "$windows" "$@" <"$input" >"$out/windows.crlf" || windows_status=$?
for build in linux windows; do
  declare -n exited=${build}_status
  if ((exited != expected_status)); then
    echo "the $build build exited with $exited, not $expected_status"
    status=1
  fi
done
tr -d '\r' <"$out/windows.crlf" >"$out/windows"
if ! diff -u --label linux --label windows "$out/linux" "$out/windows"; then
  echo "the outputs differ"
  status=1
fi
if [[ -n $expect ]] && ! grep -Eq -- "$expect" "$out/windows"; then
  echo "no line matches $expect"
  status=1
fi
echo "$(wc -l <"$out/linux") lines compared"
exit $status
