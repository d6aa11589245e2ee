#!/usr/bin/env bash
# Installs what building and testing need, only what is missing (Debian, as root).
set -euo pipefail

packages=(cmake ninja-build g++ libgtest-dev libgmock-dev clang-format)
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
