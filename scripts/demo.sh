#!/usr/bin/env bash
# Builds the native program and runs it on the shipped example: a three
# second countdown, then it launches echo with a greeting.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
# A build of its own, without the tests and what they need.
cmake -S . -B build/demo -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build/demo --target tolvarin >/dev/null
cd examples/demo
../../build/demo/tolvarin </dev/null
