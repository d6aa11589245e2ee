#!/usr/bin/env bash
# Runs one command on the Linux build and on Windows under Wine, and requires
# both to succeed and to print the same, line for line.
#
#   compare-with-linux.sh [--input FILE] [--expect PATTERN] LINUX_PROGRAM WINDOWS_PROGRAM
#                         [ARGUMENT...]
#
# Wine is the loader named by WINELOADER. With --input, both read FILE; with
# --expect, the output must also have a line matching the extended regular
# expression PATTERN.
set -euo pipefail
input=/dev/null
expect=
while [[ ${1:-} == --* ]]; do
  case $1 in
    --input) input=$2 ;;
    --expect) expect=$2 ;;
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
"$linux" "$@" <"$input" >"$out/linux" || { echo "the Linux build failed ($?)"; status=1; }
"$WINELOADER" "$windows" "$@" <"$input" >"$out/windows.crlf" ||
  { echo "the Windows build failed ($?)"; status=1; }
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
