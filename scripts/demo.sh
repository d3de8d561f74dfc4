#!/usr/bin/env bash
# Builds the native program and runs it on the shipped example: a three
# second countdown, then it launches echo with a greeting.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native --target tolvarin >/dev/null
cd examples/demo
../../build/native/tolvarin </dev/null
