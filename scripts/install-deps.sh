#!/usr/bin/env bash
# Installs the Debian packages the build (and with --all, the tests) need,
# skipping what is already there. Runs as root on Debian 12.
set -euo pipefail

packages=(cmake ninja-build g++)
if [[ "${1:-}" == "--all" ]]; then
  packages+=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine64 libgtest-dev
             libbenchmark-dev python3 python3-pefile icoutils clang
             libclang-rt-14-dev hyperfine valgrind dpkg-dev file groff-base
             man-db unzip)
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
    missing+=("$package")
  fi
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
