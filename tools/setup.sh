#!/usr/bin/env bash
# Installs what building and testing need, only what is missing (Debian, as root).
set -euo pipefail

packages=(cmake ninja-build g++ libgtest-dev libgmock-dev clang-format
          # card files and the vsmix tool
          nlohmann-json3-dev libcli11-dev graphviz
          # benchmarks and instruction counts
          libbenchmark-dev valgrind
          # the fuzzer: clang with libFuzzer and the sanitizers' runtime
          clang libclang-rt-14-dev
          # the real DLL: cross-compilers, llvm-dlltool for the MSVC import library, Wine
          g++-mingw-w64-i686 g++-mingw-w64-x86-64 llvm wine wine64)
# 32-bit Wine comes from the i386 architecture.
if [ "$(dpkg --print-architecture)" = amd64 ]; then
  packages+=(wine32:i386)
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
fi
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
