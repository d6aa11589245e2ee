#!/usr/bin/env bash
# Every check: formatting, the build with warnings as errors and its tests,
# then the same tests under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

echo "== formatting"
git ls-files '*.h' '*.cpp' | xargs clang-format --dry-run --Werror

echo "== build and tests"
cmake --workflow --preset default

echo "== the main job and the example host"
build/default/vsmix/vsmix show --default >/dev/null
build/default/velmora_example >/dev/null

echo "== the documentation's pictures, drawn again from vsmix's output"
pictures=$(mktemp -d)
tools/pictures/make-pictures.sh build/default "$pictures" >/dev/null
rm -r "$pictures"

echo "== build and tests under the sanitizers"
cmake --workflow --preset sanitize

echo "== the card fuzzer, a short run (VELMORA_FUZZ_SECONDS, default 60)"
cmake --preset fuzz -DVELMORA_FUZZ_SECONDS="${VELMORA_FUZZ_SECONDS:-60}" >/dev/null
cmake --build --preset fuzz
ctest --preset fuzz

echo "== VelmoraSound.dll for 32-bit and 64-bit Windows, tested under Wine"
cmake --workflow --preset windows-x86
cmake --workflow --preset windows-x64
