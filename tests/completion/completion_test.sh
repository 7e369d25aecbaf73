#!/bin/bash
# SPDX-License-Identifier: MIT
# Sources bash-completion and the completion script, completes each line of the table below
# (the cursor at its end) and compares the candidates, sorted.
# Usage: completion_test.sh COMPLETION_SCRIPT SOURCE_DIR
set -u
source /usr/share/bash-completion/bash_completion || exit 1
source "$1" || exit 1
cd "$2" || exit 1

candidates() {
  COMP_LINE=$1
  COMP_POINT=${#1}
  read -ra COMP_WORDS <<<"$1"
  [[ $1 == *" " ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _beugwerk beugwerk "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd ' '
}

# line|expected candidates
rows=(
  "beugwerk ful|fullforms"
  "beugwerk |analyse fullforms lists-check lookup page request serve sitemap"
  "beugwerk lookup --j|--jobs --json"
  "beugwerk --ortho |alt ch neu"
  "beugwerk --ortho=|alt ch neu"
  "beugwerk page --ortho a|alt"
  "beugwerk fullforms --json --ortho c|ch"
  "beugwerk --v|--verb-lists --version"
  "beugwerk page --on|--online"
  "beugwerk fullforms --j|--jobs --json"
  "beugwerk --json fullforms --jo|--jobs"
  "beugwerk serve --th|--threads"
  "beugwerk sich --u|--utf8"
  "beugwerk --verb-lists data/Beugwerk.V|data/Beugwerk.VLX"
  "beugwerk --verb-lists=data/Beugwerk.V|data/Beugwerk.VLX"
  "beugwerk --verb-lists data/Beugwerk.VLX li|lists-check"
  "beugwerk fullforms data/Beugwerk.V|data/Beugwerk.VLX"
  "beugwerk sitemap data/Beugwerk.VLX data/Beugwerk.V|data/Beugwerk.VLX"
  "beugwerk sich an|"
  "beugwerk fullforms --jobs |"
)
failed=0
for row in "${rows[@]}"; do
  line=${row%%|*}
  want=${row#*|}
  got=$(candidates "$line")
  if [[ $got != "$want" ]]; then
    echo "FAIL: '$line<Tab>' gives '$got', expected '$want'"
    failed=$((failed + 1))
  fi
done
echo "completion_test: $((${#rows[@]} - failed)) passed, $failed failed"
[[ $failed == 0 ]]
