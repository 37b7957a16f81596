#!/usr/bin/env bash
# fuzz/run.sh SECONDS [TARGET...]
# Builds the libFuzzer targets with clang into build-fuzz/ and runs every target (or the ones
# named) for SECONDS each, all at once. Each target's corpus grows in build-fuzz/corpus/ from run
# to run; it is seeded from the rule files and generated files under examples/ and tests/.
# Crash inputs land in build-fuzz/crashes/; the script fails if any target finds one.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:?usage: fuzz/run.sh SECONDS [TARGET...]}"
shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(GlobalCodeFuzzer VBTextFuzzer GrowingTextFuzzer ConversionFuzzer VBCheckFuzzer)
build="$root/build-fuzz"

if [ ! -f "$build/CMakeCache.txt" ]; then
  CXX=clang++ cmake -S "$root/fuzz" -B "$build" -DCMAKE_BUILD_TYPE=Debug >/dev/null
fi
mkdir -p "$build/logs"
if ! cmake --build "$build" -j2 --target "${targets[@]}" >"$build/logs/build.log" 2>&1; then
  cat "$build/logs/build.log" >&2
  exit 1
fi

# Seeds: every rule file, and for the text fuzzers also the VB files the tests expect.
seeds="$build/seeds"
rm -rf "$seeds"
mkdir -p "$seeds/rules" "$seeds/text" "$build/crashes"
while IFS= read -r file; do
  name="${file#"$root"/}"
  cp "$file" "$seeds/rules/${name//\//_}"
done < <(find "$root/examples" "$root/tests" -type f \( -name '*.pxkbx' -o -path '*/hostile/*' \) ! -name '*.h')
while IFS= read -r file; do
  name="${file#"$root"/}"
  cp "$file" "$seeds/text/${name//\//_}"
done < <(find "$root/tests" -type f \( -name '*.bas' -o -name '*.cls' \))

# The conversion target writes and removes a folder tree per input: on tmpfs that is ten times
# faster than on disk.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi

pids=()
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
           -artifact_prefix="$build/crashes/$target-")
  inputs=("$corpus")
  case "$target" in
    ConversionFuzzer)
      options+=(-dict="$root/fuzz/RuleFile.dict")
      inputs+=("$seeds/rules") ;;
    # Its input is a script of appends and fills, which no file of ours resembles.
    GrowingTextFuzzer) ;;
    *) inputs+=("$seeds/rules" "$seeds/text") ;;
  esac
  "$build/$target" "${options[@]}" "${inputs[@]}" >"$build/logs/$target.log" 2>&1 &
  pids+=($!)
done

failed=0
for i in "${!targets[@]}"; do
  target="${targets[$i]}"
  if wait "${pids[$i]}"; then
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$build/logs/$target.log" | grep -o '[0-9]*$' || echo '?')
    echo "$target: ${seconds}s, $runs inputs, no finding"
  else
    failed=1
    echo "$target: FINDING (log: build-fuzz/logs/$target.log)" >&2
    tail -n 40 "$build/logs/$target.log" >&2
  fi
done
exit $failed
