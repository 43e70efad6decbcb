#!/usr/bin/env bash
# Formats a manual page with every groff warning enabled, and through man
# when it is installed, failing on any warning; checks that the page carries
# its program's version and sections. The program is the page's name
# (kivxmlmerge.1 or kivxmlexport.1).
# Usage: check_manpage.sh <page> <version>
# Exit status 77 (skipped) when groff is not installed.
set -u
page=$1
version=$2
program=$(basename -- "$page" .1)
[[ -f $page ]] || { echo "manual page $page not found"; exit 1; }
if ! command -v groff >/dev/null 2>&1; then
    echo "SKIPPED: groff is not installed, the manual page cannot be checked"
    exit 77
fi

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# groff for a typesetter and for a terminal: line breaking differs.
for device in ps utf8; do
    if ! warnings=$(groff -man -ww -z -T"$device" "$page" 2>&1) || [[ -n $warnings ]]; then
        fail "groff -man -ww -z -T$device reports:"
        echo "$warnings"
    fi
done

if command -v man >/dev/null 2>&1; then
    for width in 80 64; do
        if ! warnings=$(MANWIDTH=$width man --warnings -l "$page" 2>&1 >/dev/null) ||
            [[ -n $warnings ]]; then
            fail "man --warnings -l (MANWIDTH=$width) reports:"
            echo "$warnings"
        fi
    done
else
    echo "note: man is not installed; checked with groff only"
fi

th=$(grep -m1 '^\.TH ' "$page")
[[ $th == *"\"$program $version\""* ]] || fail "the .TH line does not name version $version: $th"

sections=(NAME SYNOPSIS DESCRIPTION OPTIONS '"OPTIONS FILES"' '"FILE FILTERS"'
    '"EXIT STATUS"' DIAGNOSTICS ENVIRONMENT FILES EXAMPLES '"SEE ALSO"')
# The export page also tells what each output holds.
[[ $program == kivxmlexport ]] &&
    sections+=('"EXPORTED COVERAGE"' '"LCOV TRACEFILE"' '"COBERTURA XML"')
for section in "${sections[@]}"; do
    grep -qx "\.SH $section" "$page" || fail "section $section is missing"
done

if ((failures > 0)); then
    echo "$failures check(s) failed"
    exit 1
fi
echo "manual page clean"
