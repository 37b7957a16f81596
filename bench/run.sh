#!/usr/bin/env bash
# Converts made-up rule files of 1,000, 10,000 and 100,000 items with a Release build and measures
# each conversion's wall time and peak memory next to `xmllint --noout` on the same file: libxml2
# reading the document into a tree, the floor for any DOM-based reader.
#
#   bench/run.sh [SEED]        RUNS=n bench/run.sh   (fastest of n runs each; default 3)
#   SIZES="1000 10000" bench/run.sh                  (other item counts; the last two give the growth)
#   CODEPAGE=1252 bench/run.sh                       (the projects and logs written in that code page)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-release"
seed="${1:-1}"
runs="${RUNS:-3}"
read -r -a sizes <<< "${SIZES:-1000 10000 100000}"
codepage=()
[[ -n "${CODEPAGE:-}" ]] && codepage=(--codepage "$CODEPAGE")

# Beyond the build, the measurement needs GNU time for peak memory and xmllint for the floor.
missing=()
[[ -x /usr/bin/time ]] || missing+=(time)
command -v xmllint > /dev/null || missing+=(libxml2-utils)
if ((${#missing[@]})); then
    sudo=""
    ((EUID == 0)) || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" > /dev/null
fi

cmake -S "$root/bench" -B "$build" -DCMAKE_BUILD_TYPE=Release > /dev/null
# The step and builder timers are built too, for the README's breakdown of where the time goes.
cmake --build "$build" --target rulecast generate_rules conversion_steps generation_bench -j2 > /dev/null

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# The program writes its logs beside its executable: a copy here keeps them in the temporary folder.
cp "$build/rulecast/rulecast" "$work/rulecast"
mkdir "$work/out"

# Runs a command $runs times; sets wall (seconds), cpu (user + system seconds) and peak (MB) of the
# fastest run. Fails when the command does.
measure() {
    wall="" cpu="" peak=""
    for ((run = 0; run < runs; run++)); do
        rm -rf "${work:?}/out/"*
        if ! /usr/bin/time -v "$@" > /dev/null 2> "$work/time.txt"; then
            cat "$work/time.txt" >&2
            return 1
        fi
        read -r w c p < <(awk -F': ' '
            /Elapsed \(wall clock\)/ { n = split($2, t, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + t[i] }
            /User time/ { u = $2 } /System time/ { y = $2 } /Maximum resident/ { k = $2 }
            END { printf "%.3f %.2f %.1f\n", s, u + y, k / 1024 }' "$work/time.txt")
        if [[ -z "$wall" ]] || awk -v a="$w" -v b="$wall" 'BEGIN { exit !(a < b) }'; then
            wall=$w cpu=$c peak=$p
        fi
    done
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }

echo "Machine: $(nproc) cores, $(lscpu | sed -n 's/^Model name: *//p'), $(free -g | awk '/^Mem:/ { print $2 }') GB memory; fastest of $runs runs${CODEPAGE:+; code page $CODEPAGE}"
printf '%8s %8s | %9s %7s %8s | %9s %7s %8s | %7s %6s %8s\n' \
    items "file MB" "convert s" "cpu s" "peak MB" "xmllint s" "cpu s" "peak MB" "time x" "cpu x" "memory x"
declare -A convertWall xmlWall
for n in "${sizes[@]}"; do
    file="$work/rules$n.pxkbx"
    "$build/generate_rules" "$n" "$seed" "$file"
    size=$(awk -v b="$(stat -c %s "$file")" 'BEGIN { printf "%.1f", b / 1048576 }')
    measure "$work/rulecast" "${codepage[@]}" "$file" "$work/out"
    cw=$wall cc=$cpu cm=$peak
    measure xmllint --noout "$file"
    convertWall[$n]=$cw xmlWall[$n]=$wall
    printf '%8s %8s | %9s %7s %8s | %9s %7s %8s | %7s %6s %8s\n' "$n" "$size" "$cw" "$cc" "$cm" \
        "$wall" "$cpu" "$peak" "$(ratio "$cw" "$wall")" "$(ratio "$cc" "$cpu")" "$(ratio "$cm" "$peak")"
    rm -f "$file"
done

if ((${#sizes[@]} >= 2)); then
    small=${sizes[-2]} large=${sizes[-1]}
    echo "Growth from $small to $large items: conversion $(ratio "${convertWall[$large]}" "${convertWall[$small]}")x," \
        "xmllint $(ratio "${xmlWall[$large]}" "${xmlWall[$small]}")x"
fi
echo "Targets at the largest size: time x at most 2, memory x at most 1.5, growth at most 12x."
echo "(cpu x compares user + system time, which other work on a shared machine disturbs less.)"
