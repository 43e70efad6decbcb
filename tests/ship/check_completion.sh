#!/usr/bin/env bash
# Drives the bash completion function as bash itself would after a TAB and
# compares what it offers in a directory of known files. The program is the
# script's name (kivxmlmerge.bash or kivxmlexport.bash); both programs
# complete inputs, options files and patterns alike and differ in their
# options and output options.
# Usage: check_completion.sh <completion script>
set -u
script=$(realpath -- "$1") || exit 1
[[ -f $script ]] || { echo "completion script $1 not found"; exit 1; }
program=$(basename -- "$script" .bash)
case $program in
kivxmlmerge)
    options='-f|-h|-ndl|-nf|-p|-x'
    outputs=(-p -x)
    ;;
kivxmlexport)
    options='-cobertura|-f|-h|-lcov|-ndl|-nf|-root'
    outputs=(-lcov -cobertura)
    ;;
*)
    echo "no completion cases for $program"
    exit 1
    ;;
esac

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
touch a.xml B.XML c.xml2 notes.txt opts 'odd name.Xml' dir:b dir:b2
mkdir sub reports.xml
touch sub/x.xml

# shellcheck source=/dev/null
source "$script" || { echo "sourcing $script failed"; exit 1; }
declare -F "_$program" >/dev/null || { echo "$script defines no _$program"; exit 1; }
complete -p "$program" >/dev/null || { echo "$script registers no completion"; exit 1; }

failures=0
# Splits the line as bash does before it calls the completion function:
# blanks separate words, and a character of COMP_WORDBREAKS is a word of its
# own. A line ending in a blank completes an empty word.
split_line() {
    local line=$1 ch word='' i
    COMP_WORDS=()
    for ((i = 0; i < ${#line}; i++)); do
        ch=${line:i:1}
        if [[ $ch == ' ' ]]; then
            [[ -n $word ]] && COMP_WORDS+=("$word")
            word=''
        elif [[ $COMP_WORDBREAKS == *"$ch"* ]]; then
            [[ -n $word ]] && COMP_WORDS+=("$word")
            COMP_WORDS+=("$ch")
            word=''
        else
            word+=$ch
        fi
    done
    if [[ -n $word || $line == *' ' ]]; then
        COMP_WORDS+=("$word")
    fi
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
}

# expect "<expected words, sorted, joined by |>" "<line up to the cursor>"
expect() {
    local expected=$1 line="$program $2"
    split_line "$line"
    COMP_LINE=$line
    COMP_POINT=${#line}
    COMPREPLY=()
    "_$program"
    local got
    got=$(printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | paste -sd '|' -)
    if [[ $got != "$expected" ]]; then
        echo "FAIL: [$breaks_name] $line<TAB>"
        echo "  expected: $expected"
        echo "  got:      $got"
        failures=$((failures + 1))
    else
        echo "ok: [$breaks_name] $line<TAB> -> $got"
    fi
}

for breaks_name in "blanks only" "bash default"; do
    if [[ $breaks_name == "bash default" ]]; then
        COMP_WORDBREAKS=$' \t\n"\'><=;|&(:@'
    else
        COMP_WORDBREAKS=$' \t\n'
    fi
    expect "$options" '-'
    expect '-ndl|-nf' '-n'
    expect "${outputs[0]}" "${outputs[0]:0:2}"
    expect "${outputs[1]}" "${outputs[1]:0:2}"
    # Inputs: *.xml in any case and directories, nothing else.
    expect 'B.XML|a.xml|odd name.Xml|reports.xml|sub' ''
    expect 'a.xml' 'a'
    expect 'sub/x.xml' 'sub/'
    # Outputs: any file or directory.
    expect 'B.XML|a.xml|c.xml2|dir:b|dir:b2|notes.txt|odd name.Xml|opts|reports.xml|sub' "a.xml ${outputs[0]} "
    expect 'notes.txt' "a.xml ${outputs[1]} n"
    expect 'c.xml2' "a.xml ${outputs[0]} c"
    if [[ $program == kivxmlexport ]]; then
        # The root: directories only.
        expect 'reports.xml|sub' 'a.xml -root '
        expect 'sub' 'a.xml -root s'
        expect '' 'a.xml -root n'
    fi
    # Patterns are not local files.
    expect '' 'a.xml -f '
    expect '' 'a.xml -nf s'
    # Options files: the "@" stays in front (bash replaces it along with the
    # name even where it breaks words); directories get a slash; blanks are
    # escaped; after another word-break character only the rest is replaced.
    expect '@odd\ name.Xml|@opts' '@o'
    expect '@sub/' '@s'
    expect '@reports.xml/' 'a.xml @r'
    expect '@B.XML|@a.xml|@c.xml2|@dir:b|@dir:b2|@notes.txt|@odd\ name.Xml|@opts|@reports.xml/|@sub/' '@'
    if [[ $breaks_name == "bash default" ]]; then
        expect 'b|b2' '@dir:b'
    else
        expect '@dir:b|@dir:b2' '@dir:b'
    fi
done

if ((failures > 0)); then
    echo "$failures completion case(s) failed"
    exit 1
fi
echo "all completion cases passed"
