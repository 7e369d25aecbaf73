#!/bin/sh
# SPDX-License-Identifier: MIT
# Installs the library component into a temporary prefix and builds the example against it,
# once with find_package(Beugwerk) and once with pkg-config; both programs must conjugate.
# Usage: example_test.sh BUILD_DIR SOURCE_DIR
set -eu
build=$1
source=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cmake --install "$build" --component dev --prefix "$tmp/prefix" >/dev/null
[ -f "$tmp/prefix/include/beugwerk/beugwerk.h" ] || fail "header not installed"

cmake -S "$source/examples" -B "$tmp/cmake" -DCMAKE_PREFIX_PATH="$tmp/prefix" \
  -DCMAKE_BUILD_TYPE=Release >"$tmp/log" 2>&1 || { cat "$tmp/log"; fail "find_package(Beugwerk)"; }
cmake --build "$tmp/cmake" >"$tmp/log" 2>&1 || { cat "$tmp/log"; fail "example build (CMake)"; }
"$tmp/cmake/conjugate" "sich anziehen" >"$tmp/out" || fail "example (CMake) exited $?"
grep -qx "ich ziehe mich an" "$tmp/out" || { cat "$tmp/out"; fail "no 'ich ziehe mich an'"; }
tail -n 1 "$tmp/out" | python3 -c 'import json,sys; o=json.load(sys.stdin); assert o["input"]=="sich anziehen", o' \
  || fail "last line is not the JSON object"

pc=$(dirname "$(find "$tmp/prefix" -name beugwerk.pc | head -n 1)")
[ -d "$pc" ] || fail "beugwerk.pc not installed"
flags=$(PKG_CONFIG_PATH="$pc" pkg-config --cflags --libs beugwerk) || fail "pkg-config beugwerk"
# shellcheck disable=SC2086
c++ -std=c++20 -O1 "$source/examples/conjugate.cpp" -o "$tmp/pc-conjugate" $flags \
  || fail "example build (pkg-config)"
"$tmp/pc-conjugate" lesen >"$tmp/out" || fail "example (pkg-config) exited $?"
grep -qx "du liest" "$tmp/out" || { cat "$tmp/out"; fail "no 'du liest'"; }
"$tmp/pc-conjugate" "xyz!" >/dev/null 2>"$tmp/err" && fail "a rejected phrase exited 0"
grep -q "ist kein Infinitiv" "$tmp/err" || fail "no engine message for a rejected phrase"
echo "example_test: installed package builds and runs (CMake and pkg-config)"
