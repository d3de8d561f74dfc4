#!/usr/bin/env bash
# Builds the fuzz targets and runs each for SECONDS (default 60), starting
# from a scratch copy of its committed corpus so that the corpus does not
# grow. Exits non-zero when any target finds a crash, leak or hang; the
# input that caused it is kept under build/fuzz/findings/.
#   bash scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || (( seconds < 1 )); then
  echo "usage: bash scripts/fuzz.sh [SECONDS]" >&2
  exit 2
fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

# target, and the longest input worth trying
targets=(
  "command_line_fuzz 4096"
  "settings_text_fuzz 8192"
  "console_fuzz 4096"
)

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
findings="build/fuzz/findings"
mkdir -p "$findings"

failed=()
for entry in "${targets[@]}"; do
  read -r target max_len <<<"$entry"
  corpus="$scratch/$target"
  cp -r "fuzz/corpus/$target" "$corpus"
  echo "=== $target for ${seconds}s"
  if ! "build/fuzz/fuzz/$target" "$corpus" \
      -max_total_time="$seconds" -max_len="$max_len" -timeout=10 \
      -artifact_prefix="$findings/$target-" -print_final_stats=1; then
    failed+=("$target")
  fi
done

if (( ${#failed[@]} )); then
  echo "FAILED: ${failed[*]}; inputs in $findings/" >&2
  exit 1
fi
echo "all fuzz targets ran ${seconds}s without a finding"
