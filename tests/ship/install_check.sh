#!/usr/bin/env bash
# Installs the build into a temporary prefix with "cmake --install" and runs
# the installed programs, kivxmlmerge and kivxmlexport.
#
#   install_check.sh layout   <cmake> <build dir> <config> <bindir> <mandir> <datadir> <docdir> <source dir>
#       every installed file is where it belongs; each installed program
#       shows its usage (status 1) and reports an error (status 2); the
#       installed manual pages format without warnings;
#   install_check.sh examples <same arguments>
#       the installed kivxmlmerge merges examples/run1.xml..run3.xml into a
#       listing and a summary report (status 0), which validates against the
#       installed schema; the installed kivxmlexport exports them as a
#       tracefile and Cobertura XML (status 0). Skipped (77) while the
#       examples are missing.
set -u
mode=$1 cmake=$2 build=$3 config=$4 bindir=$5 mandir=$6 datadir=$7 docdir=$8 source=$9

examples=("$source/examples/run1.xml" "$source/examples/run2.xml" "$source/examples/run3.xml")
if [[ $mode == examples ]]; then
    for input in "${examples[@]}"; do
        if [[ ! -f $input ]]; then
            echo "SKIPPED: $input does not exist yet"
            exit 77
        fi
    done
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# run_on_examples WHAT PROGRAM OPTIONS...: runs an installed program on the
# three examples in $work at a fixed time; it must end with status 0 and
# write nothing to standard output or error.
run_on_examples() {
    local what=$1 tool=$2 status
    shift 2
    (cd "$work" && SOURCE_DATE_EPOCH=1700000000 "$tool" run1.xml run2.xml run3.xml "$@" \
        >"$work/out" 2>"$work/err")
    status=$?
    if [[ $status != 0 ]]; then
        echo "FAIL: $what the examples ends with status $status: $(cat "$work/err")"
        exit 1
    fi
    [[ -s $work/err ]] && fail "$what the examples writes to standard error: $(cat "$work/err")"
    [[ -s $work/out ]] && fail "$what the examples writes to standard output"
}

config_args=()
[[ -n $config ]] && config_args=(--config "$config")
if ! "$cmake" --install "$build" "${config_args[@]}" --prefix "$prefix" >"$work/install.log" 2>&1; then
    echo "FAIL: cmake --install $build --prefix $prefix:"
    cat "$work/install.log"
    exit 1
fi
programs=(kivxmlmerge kivxmlexport)
for name in "${programs[@]}"; do
    [[ -x $prefix/$bindir/$name ]] || { echo "FAIL: $prefix/$bindir/$name is not installed"; exit 1; }
done
program="$prefix/$bindir/kivxmlmerge"
exporter="$prefix/$bindir/kivxmlexport"

case $mode in
layout)
    for file in "$mandir/man1/kivxmlmerge.1" "$mandir/man1/kivxmlexport.1" \
        "$datadir/bash-completion/completions/kivxmlmerge" \
        "$datadir/bash-completion/completions/kivxmlexport" \
        "$datadir/kivxmlmerge/kiv_xmlmerge_report.xsd" \
        "$docdir/README.md"; do
        if [[ -f "$prefix/$file" ]]; then
            echo "ok: installed $file"
        else
            fail "$file is not installed"
        fi
    done
    cmp -s "$prefix/$datadir/kivxmlmerge/kiv_xmlmerge_report.xsd" \
        "$source/schema/kiv_xmlmerge_report.xsd" ||
        fail "the installed schema differs from schema/kiv_xmlmerge_report.xsd"

    for name in "${programs[@]}"; do
        cmp -s "$prefix/$mandir/man1/$name.1" "$source/man/$name.1" ||
            fail "the installed manual page differs from man/$name.1"
        cmp -s "$prefix/$datadir/bash-completion/completions/$name" "$source/completion/$name.bash" ||
            fail "the installed completion differs from completion/$name.bash"

        # No arguments: the usage text on standard output, status 1.
        (cd "$work" && "$prefix/$bindir/$name" >"$work/out" 2>"$work/err")
        status=$?
        [[ $status == 1 ]] || fail "$name without arguments ends with status $status, not 1"
        grep -qx 'Usage:' "$work/out" && grep -qx "$name \[-h\]" "$work/out" ||
            fail "$name without arguments shows no usage text: $(head -c 300 "$work/out")"
        [[ -s $work/err ]] && fail "$name without arguments writes to standard error: $(cat "$work/err")"
        echo "ok: $name shows its usage with status $status"

        # An unknown option: one diagnostic line, status 2.
        (cd "$work" && "$prefix/$bindir/$name" -z >"$work/out" 2>"$work/err")
        status=$?
        [[ $status == 2 ]] || fail "$name -z ends with status $status, not 2"
        [[ $(cat "$work/err") == "*** $name error 6 (1/"*'): Unknown option: -z' ]] ||
            fail "$name -z reports: $(cat "$work/err")"
        echo "ok: $name reports an error with status $status"

        if command -v man >/dev/null 2>&1; then
            warnings=$(MANWIDTH=80 man --warnings -l "$prefix/$mandir/man1/$name.1" 2>&1 >"$work/page")
            [[ -z $warnings ]] || fail "man -l on the installed $name.1 warns: $warnings"
            grep -q "$name" "$work/page" || fail "man -l on the installed $name.1 shows nothing"
            echo "ok: man -l on the installed $name.1"
        else
            echo "note: man is not installed; the installed $name.1 was not formatted"
        fi
    done
    ;;
examples)
    cp "${examples[@]}" "$work/"
    run_on_examples merging "$program" -p profile.txt -x summary.xml
    for output in profile.txt summary.xml; do
        [[ -s $work/$output ]] || { echo "FAIL: $output was not written"; exit 1; }
    done
    stars=$(printf '%*s' 77 '' | tr ' ' '*')
    [[ $(head -n1 "$work/profile.txt") == "$stars" ]] ||
        fail "profile.txt does not begin with the listing's box"
    grep -q 'Listing produced at   : Tue Nov 14 22:13:20 2023' "$work/profile.txt" ||
        fail "profile.txt does not show the time from SOURCE_DATE_EPOCH"
    grep -q '^SUMMARY$' "$work/profile.txt" || fail "profile.txt has no summary"
    grep -q '<report_generated>Tue Nov 14 22:13:20 2023</report_generated>' "$work/summary.xml" ||
        fail "summary.xml does not show the time from SOURCE_DATE_EPOCH"
    echo "ok: merged the examples into a listing and a summary report"
    if command -v xmllint >/dev/null 2>&1; then
        if xmllint --noout --schema "$prefix/$datadir/kivxmlmerge/kiv_xmlmerge_report.xsd" \
            "$work/summary.xml" 2>"$work/errors"; then
            echo "ok: summary.xml validates against the installed schema"
        else
            fail "summary.xml does not validate: $(cat "$work/errors")"
        fi
    else
        echo "note: xmllint is not installed; summary.xml was not validated"
    fi

    run_on_examples exporting "$exporter" -lcov merged.info -cobertura coverage.xml
    # The examples hold one source file and one header: two records.
    [[ $(head -n1 "$work/merged.info") == TN: && $(tail -n1 "$work/merged.info") == end_of_record ]] ||
        fail "merged.info is no tracefile: $(head -c 300 "$work/merged.info")"
    records=$(grep -c '^SF:' "$work/merged.info")
    [[ $records == 2 ]] || fail "merged.info has $records records, not 2"
    grep -q ' timestamp="1700000000">$' "$work/coverage.xml" ||
        fail "coverage.xml does not carry the time from SOURCE_DATE_EPOCH"
    [[ $(tail -n1 "$work/coverage.xml") == '</coverage>' ]] || fail "coverage.xml is not complete"
    echo "ok: exported the examples as a tracefile and Cobertura XML"
    ;;
*)
    echo "unknown mode $mode"
    exit 2
    ;;
esac

if ((failures > 0)); then
    echo "$failures check(s) failed"
    exit 1
fi
echo "install checks passed"
