#!/bin/sh
# beugwerk analyse: each row names the lists, the arguments and lines the output must hold.
# Usage: analyse_test.sh BEUGWERK FIXTURES
set -u
bin=$1
fixtures=$2/analysis
failures=0

# check LISTS STATUS EXPECTED-LINES ARGS...: EXPECTED-LINES separated by ';'; STATUS 1 for a
# phrase the engine rejects
check() {
  lists=$1 status=$2 expected=$3
  shift 3
  out=$("$bin" --verb-lists "$fixtures/$lists" analyse "$@")
  rc=$?
  if [ $rc -ne "$status" ]; then
    echo "FAIL analyse $*: exit $rc, not $status"
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

check prefixes.VLX 0 "praef: 'über;stamm: setz;GEpos: 1;result: true" "'übersetzen"
check prefixes.VLX 0 "praef: ;GEpos: -1;result: false" übersetzen
check prefixes.VLX 0 "refl: true;infin: waschen;stamm: wasch" sich waschen
check prefixes.VLX 0 "refl: true;infin: waschen;stamm: wasch" "sich waschen"
check prefixes.VLX 0 "refPraep: etwas mit ;refKasus: D" etwas mit sich bringen
check input.VLX 1 "stamm: ;result: false" lesem
check conjclass.VLX 0 "UnterdrueckteFormen: 0;ausnahmeformen: def||abc" --ortho alt xyken
check conjclass.VLX 0 "UnterdrueckteFormen: 8;habsein: haben" xymen
check conjclass.VLX 0 "habsein: sein;unRegel: fahr" abfahren
check conjclass.VLX 0 "unRegel: back;regelsperre: false;ausnahmeformen: ||" backen

# Lists without entries are refused before any analysis, with the file named.
err=$("$bin" --verb-lists "$fixtures/empty.VLX" analyse lesen 2>&1 >/dev/null)
rc=$?
case "$rc:$err" in
  "3:beugwerk analyse: Die Verblistendatei \"$fixtures/empty.VLX\" enthält keine Einträge"*) ;;
  *)
    echo "FAIL analyse with empty lists: exit $rc, $err"
    failures=$((failures + 1))
    ;;
esac

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
