#!/usr/bin/env bash
# Builds the .deb and the Windows ZIP from two finished build directories and
# checks what a user would get: the right files and nothing else, an example
# settings file the program can read, a working program and a clean manual.
# Usage: check_packages.sh NATIVE_BUILD_DIR WIN32_BUILD_DIR
set -uo pipefail

if [ "$#" -ne 2 ]; then
  echo "usage: $0 NATIVE_BUILD_DIR WIN32_BUILD_DIR" >&2
  exit 2
fi
native=$(cd "$1" && pwd) || exit 2
win32=$(cd "$2" && pwd) || exit 2
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
manual=$source_dir/man/tolvarin.1

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

passed=0
failed=0
pass() { passed=$((passed + 1)); }
fail() { failed=$((failed + 1)); echo "FAIL: $*"; }

project_version() {
  sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$1/CMakeCache.txt"
}

# Runs cpack quietly into $tmp/$2; prints the one package it made.
make_package() {
  local dir=$1 kind=$2 generator=$3 log=$tmp/$2.log
  if ! (cd "$dir" && cpack -G "$generator" -B "$tmp/$kind") >"$log" 2>&1; then
    cat "$log" >&2
    return 1
  fi
  local made=("$tmp/$kind"/*."${kind}")
  [ "${#made[@]}" -eq 1 ] && [ -f "${made[0]}" ] && echo "${made[0]}"
}

# Every line ends in CR LF: as many CRs as LFs, each CR right before an LF,
# and the last byte an LF. Prints the line count.
crlf_lines() {
  local file=$1 lf cr crlf
  lf=$(tr -cd '\n' <"$file" | wc -c)
  cr=$(tr -cd '\r' <"$file" | wc -c)
  crlf=$(grep -c $'\r$' "$file")
  [ "$lf" -gt 0 ] && [ "$lf" -eq "$cr" ] && [ "$lf" -eq "$crlf" ] &&
    [ "$(tail -c 1 "$file" | od -An -tx1 | tr -d ' ')" = 0a ] && echo "$lf"
}

# --- Manual page ------------------------------------------------------------

warnings=$(groff -man -ww -z "$manual" 2>&1)
if [ -z "$warnings" ]; then pass; else fail "groff warns on man/tolvarin.1: $warnings"; fi

# --- Debian package ---------------------------------------------------------

if deb=$(make_package "$native" deb DEB); then
  pass
  field() { dpkg-deb -f "$deb" "$1"; }
  expected_fields="tolvarin|$(project_version "$native")|$(dpkg --print-architecture)|utils|Tolvarin developers <tolvarin@example.invalid>"
  actual_fields="$(field Package)|$(field Version)|$(field Architecture)|$(field Section)|$(field Maintainer)"
  if [ "$actual_fields" = "$expected_fields" ]; then pass; else
    fail "control fields: $actual_fields, expected $expected_fields"; fi

  files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort | tr '\n' ' ')
  if [ "$files" = "./usr/bin/tolvarin ./usr/share/man/man1/tolvarin.1 " ]; then pass; else
    fail "the .deb holds: $files"; fi

  root=$tmp/root
  dpkg -x "$deb" "$root"
  # Run where no settings file is: the help must not need one.
  mkdir "$tmp/empty"
  help=$(cd "$tmp/empty" && "$root/usr/bin/tolvarin" "?" </dev/null)
  code=$?
  if [ "$code" -eq 0 ] && grep -qF "This version needed Tolvarin.ini with FOUR lines:" <<<"$help"; then
    pass
  else
    fail "installed tolvarin '?' exited $code with: $help"
  fi

  page=$root/usr/share/man/man1/tolvarin.1
  if cmp -s "$page" "$manual"; then pass; else fail "installed manual page differs from man/tolvarin.1"; fi
  rendered=$(MANWIDTH=80 man --warnings -l "$page" 2>"$tmp/man.err")
  if [ ! -s "$tmp/man.err" ] && grep -q "^EXIT STATUS" <<<"$rendered"; then pass; else
    fail "man -l on the installed page: $(cat "$tmp/man.err")"; fi
else
  fail "cpack -G DEB in $native"
fi

# --- Windows ZIP ------------------------------------------------------------

if zip=$(make_package "$win32" zip ZIP); then
  pass
  names=$(unzip -Z1 "$zip" | grep -v '/$' | sed 's#.*/##' | sort | tr '\n' ' ')
  if [ "$names" = "README.txt Tolvarin.ini tolvarin.exe " ]; then pass; else
    fail "the ZIP holds: $names"; fi

  unzip -p "$zip" '*Tolvarin.ini' >"$tmp/Tolvarin.ini"
  lines=$(crlf_lines "$tmp/Tolvarin.ini")
  if [ "$lines" = 4 ] && head -n1 "$tmp/Tolvarin.ini" | grep -qx $'[0-9][0-9]*\r'; then
    pass
  else
    fail "example Tolvarin.ini is not four CR LF lines led by a delay: $(od -c "$tmp/Tolvarin.ini" | head -5)"
  fi

  unzip -p "$zip" '*README.txt' >"$tmp/README.txt"
  if [ -n "$(crlf_lines "$tmp/README.txt")" ]; then pass; else
    fail "README.txt in the ZIP does not have CR LF line ends"; fi
else
  fail "cpack -G ZIP in $win32"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
