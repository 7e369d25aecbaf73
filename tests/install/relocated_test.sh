#!/bin/sh
# SPDX-License-Identifier: MIT
# An installation into another prefix uses its own verb lists, also after it is moved, and says
# so when they cannot be used instead of falling back to the built-in copy.
# Usage: relocated_test.sh BUILD_DIR
set -u
build=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() {
  echo "FAIL: $*"
  exit 1
}

cmake --install "$build" --prefix "$tmp/one" --component Unspecified >/dev/null ||
  fail "cmake --install"
for prefix in one two; do
  bin=$tmp/$prefix/bin/beugwerk
  out=$(env -u BEUGWERK_VERBLISTS "$bin" lists-check) || fail "$prefix: lists-check exited $?"
  first=$(printf '%s\n' "$out" | head -n 1)
  [ "$first" = "verb lists: $tmp/$prefix/share/beugwerk/Beugwerk.VLX" ] ||
    fail "$prefix: lists-check read $first"
  [ "$(env -u BEUGWERK_VERBLISTS "$bin" request G2:lesen)" = liest ] || fail "$prefix: no form"
  [ $prefix = one ] && mv "$tmp/one" "$tmp/two"
done

# Its own file emptied: the command stops with the file's name.
: >"$tmp/two/share/beugwerk/Beugwerk.VLX"
env -u BEUGWERK_VERBLISTS "$tmp/two/bin/beugwerk" lesen >"$tmp/out" 2>"$tmp/err"
rc=$?
[ $rc -eq 3 ] || fail "an empty installed file: exit $rc"
grep -qF "\"$tmp/two/share/beugwerk/Beugwerk.VLX\" enthält keine Einträge" "$tmp/err" ||
  fail "an empty installed file: $(cat "$tmp/err")"
[ -s "$tmp/out" ] && fail "an empty installed file: forms printed"
echo "relocated_test: the installed program finds its own verb lists, moved or not"
