#!/bin/sh
# beugwerk analyse: each row names the lists, the arguments and lines the output must hold.
# Usage: analyse_test.sh BEUGWERK FIXTURES
set -u
bin=$1
fixtures=$2/analysis
failures=0

# check LISTS EXPECTED-LINES ARGS...: EXPECTED-LINES separated by ';'
check() {
  lists=$1 expected=$2
  shift 2
  out=$("$bin" --verb-lists "$fixtures/$lists" analyse "$@")
  rc=$?
  if [ $rc -ne 0 ]; then
    echo "FAIL analyse $*: exit $rc"
    failures=$((failures + 1))
  fi
  old_ifs=$IFS
  IFS=';'
  for line in $expected; do
    if ! printf '%s\n' "$out" | grep -qxF -- "$line"; then
      echo "FAIL analyse $*: no line '$line'"
      failures=$((failures + 1))
    fi
  done
  IFS=$old_ifs
}

check prefixes.VLX "praef: 'über;stamm: setz;GEpos: 1;result: true" "'übersetzen"
check prefixes.VLX "praef: ;GEpos: -1;result: false" übersetzen
check prefixes.VLX "refl: true;infin: waschen;stamm: wasch" sich waschen
check prefixes.VLX "refl: true;infin: waschen;stamm: wasch" "sich waschen"
check prefixes.VLX "refPraep: etwas mit ;refKasus: D" etwas mit sich bringen
check input.VLX "stamm: ;result: false" lesem
check input.VLX "message: init zuvor vergessen;result: false" --verb-lists "$fixtures/empty.VLX" lesen
check conjclass.VLX "UnterdrueckteFormen: 0;ausnahmeformen: def||abc" --ortho alt xyken
check conjclass.VLX "UnterdrueckteFormen: 8;habsein: haben" xymen
check conjclass.VLX "habsein: sein;unRegel: fahr" abfahren
check conjclass.VLX "unRegel: back;regelsperre: false;ausnahmeformen: ||" backen

# Usage errors exit with 2.
for args in "" "--ortho" "--ortho xx lesen" "--bogus lesen"; do
  # shellcheck disable=SC2086
  "$bin" analyse $args >/dev/null 2>&1
  rc=$?
  if [ $rc -ne 2 ]; then
    echo "FAIL analyse $args: exit $rc, not 2"
    failures=$((failures + 1))
  fi
done

[ $failures -eq 0 ]
