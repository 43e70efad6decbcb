#!/usr/bin/env bash
# Prepares the benchmark workloads and measures kivxmlmerge on them.
#
#   bench/run_workloads.sh [BUILD_DIR]
#
# BUILD_DIR (default build/bench, made by `cmake --preset bench && cmake
# --build --preset bench`) must hold a release build configured with
# -DKIV_BUILD_BENCH=ON (kivxmlmerge and bench/report_generator). The reports
# are generated once into build/bench-data/ (never committed) and reused by
# later runs. For every workload the script prints the input size, the median
# wall time of REPEAT runs (default 3), the throughput, the ratio of that time
# to the median time of `wc -l` over the same files (measured alternately with
# the merge, in the same run, page cache warm for both), and the largest peak
# RSS of the runs. Every timed run writes fresh outputs: the previous run's
# are removed, and written back to disk, before it starts. The checksums of
# every output go to build/bench-data/out/checksums, to compare outputs
# between two builds.
#
# Workloads:
#   W1      8 runs of one program, ~100 MB per report, -p and -x
#   W1-one  one of those reports alone, -p and -x (memory against report size)
#   W2      100 runs of one program, ~10 MB per report, -x
#   W2-two  2 of those runs, -x (the memory W2 is compared with)
#   W3-*    pathological shapes, two runs each, -p and -x: one file with 50000
#           functions, one function with 50000 probes, 10000 equal probes on
#           one line, a 1 MB description
#   W4      5000 unit-test reports of a few KB each (one or two files of a
#           small program, of several shapes), -x
#   W4-two  2 of those reports, -x (the memory W4 is compared with)
#
# Side by side: with BASELINE set to a kivxmlmerge of another build, every
# repeat runs it right after this build's, on the same inputs and options, and
# a line "vs baseline" gives the ratio of the median times and of the peak RSS
# and whether the outputs are byte-identical. Unless EXPORT is empty, every
# repeat also runs `kivxmlmerge -x` and `kivxmlexport` with both outputs
# (-lcov and -cobertura) on the same inputs, one after the other, and a line
# "export" gives their median times, peak RSS and ratios.
#
# Environment: REPEAT (runs per workload), WORKLOADS (names to run, default
# all), DATA (the data folder, default build/bench-data), MERGE (the program
# to measure, default BUILD_DIR/kivxmlmerge), BASELINE (a kivxmlmerge to
# compare with, default none), EXPORT (the kivxmlexport to measure, default
# BUILD_DIR/kivxmlexport; empty: none).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/bench}" && pwd)
data=${DATA:-$root/build/bench-data}
repeat=${REPEAT:-3}
workloads=${WORKLOADS:-"W1 W1-one W2 W2-two W3-functions W3-probes W3-equal W3-descr W4 W4-two"}
merge=$(realpath "${MERGE:-$build/kivxmlmerge}")
generate=$build/bench/report_generator
baseline=${BASELINE:+$(realpath "$BASELINE")}
export_tool=${EXPORT-$build/kivxmlexport}
export_tool=${export_tool:+$(realpath "$export_tool")}

for tool in "$merge" "$generate" $baseline $export_tool; do
    [[ -x $tool ]] || { echo "missing $tool: build $build with -DKIV_BUILD_BENCH=ON" >&2; exit 1; }
done
[[ -x /usr/bin/time ]] || { echo "needs /usr/bin/time (GNU time)" >&2; exit 1; }

mkdir -p "$data/w1" "$data/w2" "$data/w3" "$data/w4" "$data/out/base"
data=$(realpath "$data")

# --- Generating --------------------------------------------------------------

# The reports take about 2.1 GB; the outputs about 0.5 GB more.
needed_kb=$((3 * 1024 * 1024))
avail_kb=$(df --output=avail -k "$data" | tail -1 | tr -d ' ')
echo "disk: $(df -h "$data" | tail -1 | awk '{print $4 " free on " $6}')"

generate_once() { # file, generator options...
    local file=$1
    shift
    [[ -s $file ]] && return 0
    if ((avail_kb < needed_kb)); then
        echo "not enough disk space for the workloads in $data" >&2
        exit 1
    fi
    "$generate" --out "$file.tmp" "$@"
    mv "$file.tmp" "$file"
}

echo "generating the reports into $data (kept for later runs) ..."
for run in 1 2 3 4 5 6 7 8; do
    generate_once "$data/w1/run$run.xml" --seed 101 --run "$run" --size-mb 100
done
for run in $(seq 1 100); do
    generate_once "$data/w2/run$run.xml" --seed 202 --run "$run" --size-mb 10
done
for shape in many-functions long-function equal-probes long-description; do
    for run in 1 2; do
        generate_once "$data/w3/$shape-$run.xml" --seed 303 --run "$run" --shape "$shape"
    done
done
for run in $(seq 1 5000); do
    generate_once "$data/w4/run$run.xml" --seed 404 --run "$run" --shape unit-test
done

# --- Measuring ---------------------------------------------------------------

now() { date +%s.%N; }

median() { # numbers...
    printf '%s\n' "$@" | sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}

# timed TIMES PEAK COMMAND...: runs COMMAND once, appends its wall time to the
# array named TIMES and raises the variable named PEAK to its peak RSS (KB).
timed() {
    local -n times_=$1 peak_=$2
    shift 2
    local start end rss
    start=$(now)
    SOURCE_DATE_EPOCH=1700000000 /usr/bin/time -f %M -o "$data/out/rss" "$@"
    end=$(now)
    times_+=("$(awk -v a="$start" -v b="$end" 'BEGIN {print b - a}')")
    rss=$(tail -1 "$data/out/rss")
    if ((rss > peak_)); then peak_=$rss; fi
}

# fresh FILE...: removes the outputs a timed run is about to write and waits
# until the system has written back what earlier runs left. Every run then
# starts alike, as in a fresh CI job: no earlier output to cut short (which
# costs the system tens of milliseconds for a large one, and waits for it when
# it is still being written back) and no write-back of an earlier run's
# outputs competing for the processors.
fresh() {
    rm -f -- "$@"
    sync
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }

seconds() { printf '%.3f s' "$1"; }

# measure NAME "OUTPUT OPTIONS" FILE...
measure() {
    local name=$1 outputs=$2
    shift 2
    local files=("$@") bytes merge_times=() wc_times=() peak=0
    local base_times=() base_peak=0 x_times=() x_peak=0 export_times=() export_peak=0
    local tag=${name,,} written=() word
    tag=${tag//-/}
    for word in $outputs; do [[ $word == -* ]] || written+=("$word"); done
    bytes=$(cat "${files[@]}" | wc -c)
    cat "${files[@]}" >/dev/null # page cache warm for both tools
    wc -l "${files[@]}" >/dev/null
    for ((i = 0; i < repeat; i++)); do
        local start end
        start=$(now)
        wc -l "${files[@]}" >/dev/null
        end=$(now)
        wc_times+=("$(awk -v a="$start" -v b="$end" 'BEGIN {print b - a}')")
        fresh "${written[@]}"
        # shellcheck disable=SC2086 # the output options are words
        timed merge_times peak "$merge" "${files[@]}" $outputs
        if [[ -n $baseline ]]; then
            # The baseline writes the same outputs into base/: the summary
            # records the options, output names too.
            fresh "${written[@]/#/base/}"
            # shellcheck disable=SC2086
            timed base_times base_peak env -C base "$baseline" "${files[@]}" $outputs
        fi
        if [[ -n $export_tool ]]; then
            fresh "x-$tag.xml"
            timed x_times x_peak "$merge" "${files[@]}" -x "x-$tag.xml"
            fresh "export-$tag.info" "export-$tag.xml"
            timed export_times export_peak "$export_tool" "${files[@]}" \
                -lcov "export-$tag.info" -cobertura "export-$tag.xml"
        fi
    done
    local wall wc_wall
    wall=$(median "${merge_times[@]}")
    wc_wall=$(median "${wc_times[@]}")
    {
        for f in $outputs; do [[ $f == -* ]] || sha256sum "$f"; done
        [[ -z $export_tool ]] || sha256sum "export-$tag.info" "export-$tag.xml"
    } | sed "s/^/$name /" >>"$data/out/checksums.new"
    local row
    row=$(awk -v n="$name" -v k="${#files[@]}" -v b="$bytes" -v t="$wall" -v w="$wc_wall" \
        -v r="$peak" 'BEGIN {
            mb = b / 1048576
            printf "%-13s %6d %10.1f %9.2f %9.1f %9.3f %8.1f %10.1f %8.2f\n",
                n, k, mb, t, mb / t, w, t / w, r / 1024, (r * 1024) / b }')
    echo "$row"
    eval "rss_${name//-/_}=$peak"
    if [[ -n $baseline ]]; then
        local base_wall same=identical f
        base_wall=$(median "${base_times[@]}")
        for f in $outputs; do
            [[ $f == -* ]] || cmp -s "$f" "base/$f" || same=DIFFERENT
        done
        echo "  vs baseline: wall $(seconds "$wall") / $(seconds "$base_wall") = $(ratio "$wall" "$base_wall")," \
            "peak RSS $((peak / 1024)) MB / $((base_peak / 1024)) MB = $(ratio "$peak" "$base_peak"), outputs $same"
    fi
    if [[ -n $export_tool ]]; then
        local x_wall export_wall
        x_wall=$(median "${x_times[@]}")
        export_wall=$(median "${export_times[@]}")
        echo "  export: kivxmlexport -lcov -cobertura $(seconds "$export_wall") /" \
            "kivxmlmerge -x $(seconds "$x_wall") =" \
            "$(ratio "$export_wall" "$x_wall"), peak RSS $((export_peak / 1024)) MB /" \
            "$((x_peak / 1024)) MB = $(ratio "$export_peak" "$x_peak")"
    fi
}

cd "$data/out"
rm -f checksums.new
printf '%-13s %6s %10s %9s %9s %9s %8s %10s %8s\n' workload inputs "size MB" "wall s" "MB/s" \
    "wc -l s" "x wc -l" "peak MB" "RSS/size"
w1=("$data"/w1/run{1..8}.xml)
w2=()
for run in $(seq 1 100); do w2+=("$data/w2/run$run.xml"); done
w4=()
for run in $(seq 1 5000); do w4+=("$data/w4/run$run.xml"); done
for workload in $workloads; do
    case $workload in
    W1) measure W1 "-p w1.txt -x w1.xml" "${w1[@]}" ;;
    W1-one) measure W1-one "-p w1one.txt -x w1one.xml" "${w1[0]}" ;;
    W2) measure W2 "-x w2.xml" "${w2[@]}" ;;
    W2-two) measure W2-two "-x w2two.xml" "${w2[0]}" "${w2[1]}" ;;
    W3-functions) measure W3-functions "-p w3f.txt -x w3f.xml" "$data"/w3/many-functions-{1,2}.xml ;;
    W3-probes) measure W3-probes "-p w3p.txt -x w3p.xml" "$data"/w3/long-function-{1,2}.xml ;;
    W3-equal) measure W3-equal "-p w3e.txt -x w3e.xml" "$data"/w3/equal-probes-{1,2}.xml ;;
    W3-descr) measure W3-descr "-p w3d.txt -x w3d.xml" "$data"/w3/long-description-{1,2}.xml ;;
    W4) measure W4 "-x w4.xml" "${w4[@]}" ;;
    W4-two) measure W4-two "-x w4two.xml" "${w4[0]}" "${w4[1]}" ;;
    *) echo "unknown workload $workload" >&2; exit 1 ;;
    esac
done
mv checksums.new checksums
for many in W2 W4; do
    all=rss_$many two=rss_${many}_two
    if [[ -n ${!all:-} && -n ${!two:-} ]]; then
        awk -v n="$many" -v a="${!all}" -v b="${!two}" \
            'BEGIN {printf "%s peak RSS / %s-two peak RSS: %.2f\n", n, n, a / b}'
    fi
done
echo "repeats: $repeat (medians; peak RSS the largest); outputs: $data/out; checksums: $data/out/checksums"
