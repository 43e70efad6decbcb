#!/usr/bin/env bash
# Drives the bash completion function as bash itself would after a TAB and
# compares what it offers in a directory of known files.
# Usage: check_completion.sh <completion script>
set -u
script=$(realpath -- "$1") || exit 1
[[ -f $script ]] || { echo "completion script $1 not found"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
touch a.xml B.XML c.xml2 notes.txt opts 'odd name.Xml'
mkdir sub reports.xml
touch sub/x.xml

# shellcheck source=/dev/null
source "$script" || { echo "sourcing $script failed"; exit 1; }
declare -F _kivxmlmerge >/dev/null || { echo "$script defines no _kivxmlmerge"; exit 1; }
complete -p kivxmlmerge >/dev/null || { echo "$script registers no completion"; exit 1; }

failures=0
# expect "<expected words, sorted, joined by |>" word...
# The last word is the one being completed.
expect() {
    local expected=$1
    shift
    COMP_WORDS=(kivxmlmerge "$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _kivxmlmerge
    local got
    got=$(printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | paste -sd '|' -)
    if [[ $got != "$expected" ]]; then
        echo "FAIL: kivxmlmerge $* <TAB>"
        echo "  expected: $expected"
        echo "  got:      $got"
        failures=$((failures + 1))
    else
        echo "ok: kivxmlmerge $* <TAB> -> $got"
    fi
}

expect '-f|-h|-ndl|-nf|-p|-x' -
expect '-ndl|-nf' -n
expect '-p' -p
# Inputs: *.xml in any case and directories, nothing else.
expect 'B.XML|a.xml|odd name.Xml|reports.xml|sub' ''
expect 'a.xml' a
expect 'sub/x.xml' sub/
# Outputs: any file or directory.
expect 'B.XML|a.xml|c.xml2|notes.txt|odd name.Xml|opts|reports.xml|sub' a.xml -p ''
expect 'notes.txt' a.xml -x n
# Output option names are not offered as input names after -p.
expect 'c.xml2' a.xml -p c
# Patterns are not local files.
expect '' a.xml -f ''
expect '' a.xml -nf s
# Options files keep their "@"; directories get a slash.
expect '@odd name.Xml|@opts' @o
expect '@sub/' @s
expect '@reports.xml/' @r

if ((failures > 0)); then
    echo "$failures completion case(s) failed"
    exit 1
fi
echo "all completion cases passed"
