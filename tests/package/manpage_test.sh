#!/bin/bash
# SPDX-License-Identifier: MIT
# The built manual page shows with `man -l`, has its sections, and names every command and
# every option that `beugwerk --help` lists.
# Usage: manpage_test.sh BEUGWERK PAGE
set -eu
exe=$1
page=$2
text=$(MANWIDTH=200 man -l "$page" 2>/dev/null) || { echo "FAIL: man -l $page"; exit 1; }
failed=0
check() {
  grep -qF -- "$1" <<<"$text" || { echo "FAIL: the page lacks $2 '$1'"; failed=$((failed + 1)); }
}
for s in NAME SYNOPSIS DESCRIPTION OPTIONS COMMANDS "INPUT CONVENTIONS" "EXIT STATUS" \
  ENVIRONMENT FILES EXAMPLES; do
  grep -qx "$s" <<<"$text" || { echo "FAIL: no section $s"; failed=$((failed + 1)); }
done
help=$("$exe" --help)
for c in $(sed -n 's/^  \([a-z][a-z-]*\) .*/\1/p' <<<"$help"); do check "$c" command; done
for o in $(grep -o -- '--[a-z][a-z0-9-]*' <<<"$help" | sort -u); do check "$o" option; done
for e in BEUGWERK_VERBLISTS XDG_CONFIG_HOME Beugwerk.VLX; do check "$e" name; done
echo "manpage_test: $failed missing"
[ $failed = 0 ]
