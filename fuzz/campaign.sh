#!/usr/bin/env bash
# Runs every fuzz target for SECONDS (default 600), two at a time, and prints
# per target the executions, the corpus size, the coverage and any finding.
#   fuzz/campaign.sh [SECONDS [TARGET...]]   a campaign (of the targets named)
#   fuzz/campaign.sh --replay        only replays the regression corpus
# Builds the tree with clang-14 and libFuzzer into build-fuzz/. Work corpora
# and findings stay in build-fuzz/; inputs that found a fault belong in
# fuzz/regression/<target>/, which the test suite replays.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/scripts/setup.sh"
talvo_install clang-14 libclang-rt-14-dev

replay_only=false
seconds=600
case "${1:-}" in
  --replay) replay_only=true ;;
  "") ;;
  *) seconds="$1" ;;
esac
[ $# -gt 0 ] && shift

build="$root/build-fuzz"
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer -g -O1"
cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DTALVO_BUILD_GUI=OFF -DTALVO_BUILD_TESTS=OFF -DTALVO_BUILD_PYTHON=OFF -DTALVO_BUILD_FUZZ=ON >/dev/null
cmake --build "$build" -j "$(nproc)" >/dev/null

# Every target built: one per reader of the registry, and the dispatcher.
targets=()
for binary in "$build"/fuzz/fuzz_*; do
  [ "${binary##*/}" = fuzz_reader ] || targets+=("${binary##*/fuzz_}")
done
[ $# -gt 0 ] && ! $replay_only && targets=("$@")
export TMPDIR=/dev/shm
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1

# Replay: every regression input must run clean.
for target in "${targets[@]}"; do
  dir="$root/fuzz/regression/$target"
  [ -d "$dir" ] && [ -n "$(ls -A "$dir")" ] || continue
  "$build/fuzz/fuzz_$target" -runs=0 "$dir" >"$build/replay-$target.log" 2>&1 ||
    { echo "regression input of $target fails again:"; tail -40 "$build/replay-$target.log"; exit 1; }
done
echo "regression corpus replayed clean"
$replay_only && exit 0

# Seeds: every sample file for every reader (a reader that does not know a
# file refuses it at once), and for the dispatcher every sample under every
# input type (first byte) to four outputs (second byte); plus the layouts
# of real files in fuzz/seeds/<target>/ and the regression inputs.
for target in "${targets[@]}"; do
  seeds="$build/seeds/$target"
  mkdir -p "$seeds" "$build/corpus/$target" "$build/findings/$target"
  [ -d "$root/fuzz/regression/$target" ] && cp -f "$root/fuzz/regression/$target"/* "$seeds"/ 2>/dev/null || true
  [ -d "$root/fuzz/seeds/$target" ] && cp -f "$root/fuzz/seeds/$target"/* "$seeds"/ 2>/dev/null || true
  for sample in "$root"/samples/*; do
    case "$sample" in *.md) continue ;; esac
    if [ "$target" = dispatch ]; then
      for input in 0 1 2 3 4 5 6 7 8 9; do
        for output in 1 4 6 7; do
          { printf "\\x$(printf %02x "$input")\\x$(printf %02x "$output")"; cat "$sample"; } \
            >"$seeds/${sample##*/}-$input-$output"
        done
      done
    else
      cp -f "$sample" "$seeds/"
    fi
  done
done

run_target() {
  local target="$1" seconds="$2" build="$3" root="$4"
  "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
    -dict="$root/fuzz/talvo.dict" -artifact_prefix="$build/findings/$target/" -print_final_stats=1 \
    "$build/corpus/$target" "$build/seeds/$target" >"$build/fuzz-$target.log" 2>&1 || true
}
export -f run_target
printf '%s\n' "${targets[@]}" | xargs -P 2 -I{} bash -c "run_target {} $seconds '$build' '$root'"

printf '%-10s %12s %8s %8s %8s  %s\n' target executions corpus cov ft findings
status=0
for target in "${targets[@]}"; do
  log="$build/fuzz-$target.log"
  runs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | awk '{print $2}' | tail -1)
  last=$(grep -E '^#[0-9]+' "$log" | tail -1)
  cov=$(sed -n 's/.*cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.*ft: \([0-9]*\).*/\1/p' <<<"$last")
  corpus=$(ls "$build/corpus/$target" | wc -l)
  findings=$(ls "$build/findings/$target" | wc -l)
  [ "$findings" -eq 0 ] || status=1
  printf '%-10s %12s %8s %8s %8s  %s\n' "$target" "${runs:-?}" "$corpus" "${cov:-?}" "${ft:-?}" "$findings"
done
[ "$status" -eq 0 ] || echo "findings are in $build/findings/<target>/; logs in $build/fuzz-<target>.log"
exit "$status"
