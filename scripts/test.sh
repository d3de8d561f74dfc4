#!/usr/bin/env bash
# Installs what is missing, builds the native, x86_64 and i686 programs and
# runs every test: unit tests, the black-box suite on the native program, on
# the Windows builds under Wine and under the sanitizers, the resource check
# of the exe, the fuzzers for a bounded time, and the packages' contents.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh --all
bash scripts/install-wine32.sh
for preset in native win64 win32 asan fuzz; do
  echo "=== $preset"
  cmake --workflow --preset "$preset" --fresh
done

echo "=== fuzzing, a minute a target"
bash scripts/fuzz.sh 60

echo "=== packages"
bash tests/package/check_packages.sh build/native build/win32
