#!/bin/sh
# SPDX-License-Identifier: MIT
# `make run ARGS=...` hands the phrase to the program as typed, with the README's own input
# conventions: split at blanks, apostrophes, quotes and parentheses kept, nothing expanded.
# Usage: make_run_test.sh SOURCE_DIR BUILD_DIR
set -u
src=$1
build=$2
failures=0

# check ARGS EXPECTED: the output of `make run ARGS=...` holds the text.
check() {
  # Configuring again is not what is tested (the build is there); the program still is rebuilt
  # if it is stale. No make flags of a calling make leak in.
  out=$(cd "$src" && env -u MAKEFLAGS -u MFLAGS -u MAKELEVEL timeout 120 \
    make -s -o configure run BUILD_DIR="$build" ARGS="$1" 2>&1)
  if ! printf '%s\n' "$out" | grep -qF -- "$2"; then
    echo "FAIL make run ARGS=$1: no '$2' in:"
    printf '%s\n' "$out" | head -n 20
    failures=$((failures + 1))
  fi
}

check "sich anziehen" "Infinitiv I:          sich anziehen"
check "analyse 'übersetzen" "praef: 'über"
check "(sich) waschen" "Infinitiv I:          (sich) waschen"
check "--ortho alt sich3 etwas merken" "  ich merkte mir etwas "
check "request G2:lesen *" "lesen * ist kein Infinitiv!"
check 'request [INF=sich "waschen" $HOME]' '[INF=sich "waschen" $HOME]'

[ $failures -eq 0 ] && echo "make_run_test: ARGS reach the program as typed"
[ $failures -eq 0 ]
