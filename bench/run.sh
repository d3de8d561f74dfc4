#!/usr/bin/env bash
# Builds the native program and the in-process benchmarks into build/bench,
# measures both beside reference commands and prints one table of ratios.
# Usage: bash bench/run.sh     (raw results stay in build/bench/results)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build/bench
results=$build/results
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
started=$(date +%s%N)

say() { printf '== %s\n' "$*" >&2; }

# --- tools ---------------------------------------------------------------
missing=()
command -v hyperfine >/dev/null || missing+=(hyperfine)
[[ -x /usr/bin/time ]] || missing+=(time)
command -v cmake >/dev/null || missing+=(cmake)
command -v ninja >/dev/null || missing+=(ninja-build)
[[ -e /usr/include/benchmark/benchmark.h ]] || missing+=(libbenchmark-dev)
if ((${#missing[@]})); then
  say "installing ${missing[*]}"
  apt-get update -qq && apt-get install -y -qq "${missing[@]}" >/dev/null
fi
python=$(command -v python3)

# --- builds --------------------------------------------------------------
say "building the program (Release) into $build/program"
cmake -S "$root" -B "$build/program" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build/program" --target tolvarin >/dev/null
say "building the in-process benchmarks into $build/micro"
cmake -S "$root/bench" -B "$build/micro" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build/micro" >/dev/null

program=$build/program/tolvarin
rm -rf "$results"
mkdir -p "$results"

settings_dir() {  # settings_dir NAME CONTENT: a directory holding Tolvarin.ini
  mkdir -p "$work/$1"
  printf '%b' "$2" >"$work/$1/Tolvarin.ini"
  echo "$work/$1"
}

# Peak RSS in KiB of a command, once per line; a non-zero exit is expected
# for the bad-delay file.
peak_rss() {  # peak_rss OUT RUNS COMMAND...
  local out=$1 runs=$2
  shift 2
  for ((i = 0; i < runs; i++)); do
    /usr/bin/time -f '%M' -o "$work/rss" "$@" >/dev/null 2>&1 || true
    tail -n 1 "$work/rss" >>"$out"
  done
}

# hyperfine in rounds, the order swapped each round, so a change of load on
# this shared machine hits both commands alike.
rounds() {  # rounds PREFIX ROUNDS RUNS WARMUP NAME1 CMD1 NAME2 CMD2 [hyperfine options]
  local prefix=$1 count=$2 runs=$3 warmup=$4 n1=$5 c1=$6 n2=$7 c2=$8
  shift 8
  for ((r = 1; r <= count; r++)); do
    local order=(-n "$n1" "$c1" -n "$n2" "$c2")
    ((r % 2 == 0)) && order=(-n "$n2" "$c2" -n "$n1" "$c1")
    hyperfine -N --style none --warmup "$warmup" --runs "$runs" "$@" \
      --export-json "$prefix-$r.json" "${order[@]}" >/dev/null 2>>"$results/hyperfine.log"
  done
}

# --- 1. start-up and launch ----------------------------------------------
say "1. start-up: delay 0 launching true, against sh -c 'sleep 0; true'"
cd "$(settings_dir startup '0\r\ntrue\r\n\r\n')"
rounds "$results/startup" 4 75 10 tolvarin "$program" reference "sh -c 'sleep 0; true'"

# --- 4a. footprint of that run -------------------------------------------
say "4. peak RSS of that run, against the same sh"
peak_rss "$results/rss-normal.txt" 7 "$program"
peak_rss "$results/rss-sh.txt" 7 sh -c 'sleep 0; true'

# --- 3. countdown ---------------------------------------------------------
say "3. countdown: delay 3 launching true (about 15 s)"
cd "$(settings_dir countdown '3\r\ntrue\r\n\r\n')"
hyperfine -N --style none --runs 5 -n tolvarin "$program" \
  --export-json "$results/countdown.json" >/dev/null 2>>"$results/hyperfine.log"

# --- 2. a 256 MiB delay line ----------------------------------------------
say "2. a 256 MiB Tolvarin.ini of one LF-only line, against cat"
big=$work/big
mkdir -p "$big"
big_size=$((256 << 20))
"$python" - "$big/Tolvarin.ini" "$big_size" <<'EOF'
import sys
path, size = sys.argv[1], int(sys.argv[2])
chunk = b"1234567890" * (1 << 17)  # LF-free digits; the line ends "x\n"
with open(path, "wb") as out:
    left = size - 2
    while left > 0:
        out.write(chunk[:left])
        left -= min(left, len(chunk))
    out.write(b"x\n")
EOF
echo "$big_size" >"$results/big-size.txt"
cd "$big"
# The bad delay ends in the error report with exit code 1: -i lets it count.
rounds "$results/big" 2 3 1 tolvarin "$program" reference "cat Tolvarin.ini" -i
peak_rss "$results/rss-big.txt" 3 "$program"
say "   context: writing 256 MiB of fresh memory once"
hyperfine -N --style none --warmup 1 --runs 3 -n fresh "$build/micro/fresh_memory 256" \
  --export-json "$results/fresh.json" >/dev/null 2>>"$results/hyperfine.log"
cd "$work"
rm -f "$big/Tolvarin.ini"

# --- 4b. stripped sizes -----------------------------------------------------
say "4. stripped sizes"
strip_size() {  # strip_size NAME FILE STRIP
  local name=$1 file=$2 tool=$3
  if [[ ! -f $file ]]; then
    echo "$name missing $file" >>"$results/sizes.txt"
  elif ! command -v "$tool" >/dev/null; then
    echo "$name no-strip $tool" >>"$results/sizes.txt"
  else
    mkdir -p "$work/strip-$name"
    cp "$file" "$work/strip-$name/"
    local copy=$work/strip-$name/$(basename "$file")
    "$tool" "$copy"
    echo "$name $(stat -c %s "$copy") $file" >>"$results/sizes.txt"
  fi
}
strip_size native "$program" strip
strip_size win32 "$root/build/win32/tolvarin.exe" i686-w64-mingw32-strip
strip_size win64 "$root/build/win64/tolvarin.exe" x86_64-w64-mingw32-strip

# --- 5. in process ------------------------------------------------------------
say "5. in process: line reader and ConvertInteger (about 40 s)"
"$build/micro/line_reader_bench" --benchmark_min_time=0.5 \
  --benchmark_repetitions=3 --benchmark_report_aggregates_only=true \
  --benchmark_out="$results/micro.json" --benchmark_out_format=json >"$results/micro.log" 2>&1

elapsed=$(( ($(date +%s%N) - started) / 1000000 ))
"$python" "$root/bench/report.py" "$results" "$elapsed" | tee "$results/table.txt"
