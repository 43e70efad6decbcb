#!/usr/bin/env bash
# Validates summary reports against the summary report schema with xmllint.
#
#   validate_summaries.sh own <schema> <data dir>
#       every *.xml in <data dir> must validate, and variants of
#       <data dir>/full_summary.xml with one fault each must be rejected;
#   validate_summaries.sh golden <schema> <golden dir>
#       every expected output of the end-to-end cases that holds a summary
#       report must validate (a standard output that carries a listing before
#       the report is cut to the report).
#
# Exit status 77 (skipped) when xmllint is not installed, or when there is no
# summary report to validate in golden mode.
set -u
mode=$1
schema=$2
dir=$3
if ! command -v xmllint >/dev/null 2>&1; then
    echo "SKIPPED: xmllint is not installed, summary reports cannot be validated"
    exit 77
fi
[[ -f $schema ]] || { echo "schema $schema not found"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
checked=0

validate() { xmllint --noout --schema "$schema" "$1" 2>"$work/errors"; }

must_pass() {
    checked=$((checked + 1))
    if validate "$1"; then
        echo "ok: $2"
    else
        echo "FAIL: $2 does not validate:"
        cat "$work/errors"
        failures=$((failures + 1))
    fi
}

# must_fail <description> <sed script>: the variant must be rejected.
must_fail() {
    local variant="$work/variant.xml"
    sed -e "$2" "$dir/full_summary.xml" >"$variant"
    checked=$((checked + 1))
    if cmp -s "$variant" "$dir/full_summary.xml"; then
        echo "FAIL: the variant '$1' changes nothing"
        failures=$((failures + 1))
    elif validate "$variant"; then
        echo "FAIL: a summary with $1 validates"
        failures=$((failures + 1))
    else
        echo "ok: rejected $1"
    fi
}

case $mode in
own)
    for file in "$dir"/*.xml; do must_pass "$file" "$(basename "$file")"; done
    must_fail "a zero-padded counter" 's|<ter>57</ter>|<ter>057</ter>|'
    must_fail "a negative call count" 's|<call_count>3</call_count>|<call_count>-3</call_count>|'
    must_fail "a call count beyond 32 bits" 's|>4294967295<|>4294967296<|'
    must_fail "a cost with decimals" 's|>-12</total|>-12.0</total|'
    must_fail "a cost beyond 32 bits" 's|>2147483647</max|>2147483648</max|'
    must_fail "an average without its decimal" 's|>-4.0</average|>-4</average|'
    must_fail "an average with two decimals" 's|>-0.5</average|>-0.50</average|'
    must_fail "an empty counter" 's|<defined_at_line>3<|<defined_at_line><|'
    must_fail "statement_available No" 's|<statement_available>no<|<statement_available>No<|'
    must_fail "an unknown file type" 's|<file_type>header<|<file_type>header part<|'
    must_fail "one copyright line" '/<copyright>Copyright (c) 2013/d'
    must_fail "a non-numeric scaling" 's|<execution_cost_scaling>1<|<execution_cost_scaling>x<|'
    must_fail "a run time not in asctime form" 's|>Tue Nov 14 22:13:20 2023<|>2023-11-14T22:13:20Z<|'
    must_fail "a three-part version" 's|>1.0.0.0</kivxmlmerge_version>|>1.0.0</kivxmlmerge_version>|'
    must_fail "file_type after instrumentation_mode" \
        '/<file_type>source/{h;d}; /<instrumentation_mode>multicondition+timing/G'
    must_fail "a function without its summary" '/<function_summary>/,/<\/function_summary>/d'
    must_fail "no shown_coverage_views" '/<shown_coverage_views>/d'
    must_fail "an unknown element" 's|<hits>6</hits>|<hits>6</hits><extra>1</extra>|'
    must_fail "an include without its name" 's|<include name="#include &lt;stdio.h&gt;" />|<include />|'
    must_fail "a file without its name" 's|<file name="C:\\Src\\empty.c">|<file>|'
    ;;
golden)
    shopt -s nullglob
    for file in "$dir"/*/expected/*; do
        [[ -f $file ]] && grep -q '<kiv_xmlmerge_report>' "$file" || continue
        case_name=${file#"$dir"/}
        # From the XML declaration to the end of the report.
        awk '/^<\?xml /{on=1} on{print} /^<\/kiv_xmlmerge_report>$/{on=0}' "$file" \
            >"$work/report.xml"
        must_pass "$work/report.xml" "$case_name"
    done
    if ((checked == 0)); then
        echo "SKIPPED: no expected summary report under $dir yet"
        exit 77
    fi
    ;;
*)
    echo "unknown mode $mode"
    exit 2
    ;;
esac

if ((failures > 0)); then
    echo "$failures of $checked check(s) failed"
    exit 1
fi
echo "$checked check(s) passed"
