#!/usr/bin/env bash
# Converts made-up rule files of 1,000, 10,000 and 100,000 items with a Release build and measures
# each conversion's wall time and peak memory against its floor, measured in the same run: reading
# the document into a tree (`xmllint --noout` on the same file) and writing what the conversion
# writes (write_floor: as many log lines of as many bytes, each written and flushed on its own, and
# as many bytes of project files in large chunks). The conversion, xmllint and write_floor run in
# turn, and floor x is the median of the runs' own ratios.
#
#   bench/run.sh [SEED]        RUNS=n bench/run.sh   (median of n runs each; default 3)
#   SIZES="1000 10000" bench/run.sh                  (other item counts; the last two give the growth)
#   CODEPAGE=1252 bench/run.sh                       (the projects and logs written in that code page)
#   OPTIONS=--no-warnings bench/run.sh               (further options of the conversion)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-release"
seed="${1:-1}"
runs="${RUNS:-3}"
read -r -a sizes <<< "${SIZES:-1000 10000 100000}"
codepage=()
[[ -n "${CODEPAGE:-}" ]] && codepage=(--codepage "$CODEPAGE")
read -r -a options <<< "${OPTIONS:-}"

# Beyond the build, the measurement needs GNU time for peak memory and xmllint for the floor.
"$root/scripts/install-missing.sh" time libxml2-utils

cmake -S "$root/bench" -B "$build" -DCMAKE_BUILD_TYPE=Release > /dev/null
# The step and builder timers are built too, for the README's breakdown of where the time goes.
cmake --build "$build" --target rulecast generate_rules write_floor conversion_steps generation_bench -j2 > /dev/null

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# The program writes its logs beside its executable: a copy here keeps them in the temporary folder.
cp "$build/rulecast/rulecast" "$work/rulecast"
mkdir "$work/out"

# Runs a command once with an empty out/; sets wall (seconds), cpu (user + system seconds) and peak
# (MB). Fails when the command does.
measure_once() {
    rm -rf "${work:?}/out/"*
    if ! /usr/bin/time -v "$@" > /dev/null 2> "$work/time.out"; then
        cat "$work/time.out" >&2
        return 1
    fi
    read -r wall cpu peak < <(awk -F': ' '
        /Elapsed \(wall clock\)/ { n = split($2, t, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + t[i] }
        /User time/ { u = $2 } /System time/ { y = $2 } /Maximum resident/ { k = $2 }
        END { printf "%.3f %.2f %.1f\n", s, u + y, k / 1024 }' "$work/time.out")
}

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }
sum() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a + b }'; }

echo "Machine: $(nproc) cores, $(lscpu | sed -n 's/^Model name: *//p'), $(free -g | awk '/^Mem:/ { print $2 }') GB memory; median of $runs runs${CODEPAGE:+; code page $CODEPAGE}${OPTIONS:+; options $OPTIONS}; load average $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%8s %7s | %9s %6s %7s | %9s %7s | %8s %7s | %7s %8s\n' \
    items "file MB" "convert s" "cpu s" "peak MB" "xmllint s" "peak MB" "writes s" "floor s" "floor x" "memory x"
declare -A convertWall
for n in "${sizes[@]}"; do
    file="$work/rules$n.pxkbx"
    "$build/generate_rules" "$n" "$seed" "$file"
    size=$(awk -v b="$(stat -c %s "$file")" 'BEGIN { printf "%.1f", b / 1048576 }')
    # A first conversion, not counted, tells what the floor must write.
    rm -f "$work/"*.txt
    measure_once "$work/rulecast" "${codepage[@]}" "${options[@]}" "$file" "$work/out"
    # What the conversion wrote: the lines and bytes of its log, and its project files.
    log=$(find "$work" -maxdepth 1 -name '*.txt' | head -n 1)
    read -r logLines logBytes < <(wc -lc < "$log")
    read -r outputBytes outputFiles < <(find "$work/out" -type f -printf '%s\n' | awk '{ s += $1 } END { print s + 0, NR }')
    # The conversion and its floor run in turn, and each run's ratio is taken on its own: the
    # machine's speed drifts between minutes, much less within one run.
    cws=() ccs=() cms=() xws=() xms=() wws=() fls=() ratios=()
    for ((run = 0; run < runs; run++)); do
        rm -f "$work/"*.txt
        measure_once "$work/rulecast" "${codepage[@]}" "${options[@]}" "$file" "$work/out"
        cws+=("$wall") ccs+=("$cpu") cms+=("$peak")
        measure_once xmllint --noout "$file"
        xws+=("$wall") xms+=("$peak") xw=$wall
        measure_once "$build/write_floor" "$logLines" "$logBytes" "$outputBytes" "$outputFiles" "$work/out"
        wws+=("$wall")
        fls+=("$(sum "$xw" "$wall")") ratios+=("$(ratio "${cws[-1]}" "$(sum "$xw" "$wall")")")
    done
    cw=$(median "${cws[@]}") cc=$(median "${ccs[@]}") cm=$(median "${cms[@]}")
    xw=$(median "${xws[@]}") xm=$(median "${xms[@]}") ww=$(median "${wws[@]}") floor=$(median "${fls[@]}")
    convertWall[$n]=$cw
    printf '%8s %7s | %9s %6s %7s | %9s %7s | %8s %7s | %7s %8s\n' "$n" "$size" "$cw" "$cc" "$cm" \
        "$xw" "$xm" "$ww" "$floor" "$(median "${ratios[@]}")" "$(ratio "$cm" "$xm")"
    rm -f "$file"
done

if ((${#sizes[@]} >= 2)); then
    small=${sizes[-2]} large=${sizes[-1]}
    echo "Growth from $small to $large items: conversion $(ratio "${convertWall[$large]}" "${convertWall[$small]}")x"
fi
echo "Targets at the largest size: floor x at most 1.25 with --no-warnings, 1.3 with the VB check (floor:"
echo "xmllint s + writes s, each run against its own), memory x (against xmllint) at most 1.3, growth at most 11x."
