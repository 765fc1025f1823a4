#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) in build/fuzz and runs them.
#
#   tools/fuzz.sh TARGET SECONDS   one target for a long run (before a release); the
#                                  corpus it grows is kept in build/fuzz/corpus/TARGET
#   tools/fuzz.sh --ci [SECONDS]   every target for SECONDS (30) each, as tools/test.sh does
#   tools/fuzz.sh --list           the targets
#   tools/fuzz.sh walk SECONDS     the random walks over the main window, offscreen and
#                                  then with the 3D view on a virtual X server, SECONDS
#                                  each (AddressSanitizer and UndefinedBehaviorSanitizer
#                                  build, not libFuzzer)
#
# Each run starts from the target's seeds (tests/fuzz/corpus/TARGET) and every
# file in ../shared/hostile-inputs beside the clone (or $KESTRO_HOSTILE_INPUTS),
# and fails on a crash, a sanitizer report, an input that takes over 5 s, or
# more than 2 GB of memory. A failing input is saved in build/fuzz/findings.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build/fuzz"
hostile=${KESTRO_HOSTILE_INPUTS:-$top/../shared/hostile-inputs}

targets() {
  for source in "$top"/tests/fuzz/Fuzz*.cpp; do
    basename "$source" .cpp | sed 's/^Fuzz//'
  done
}

build_targets() {
  local launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  # Paths relative to the checkout, so that a fresh clone elsewhere reuses the cache.
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$top}
  cmake -S "$top" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DKESTRO_FUZZ=ON "${launcher[@]}" >/dev/null
  cmake --build "$build" --target kestro_fuzz
}

run_target() {
  local name=$1 seconds=$2 work=$3
  local findings="$build/findings/$name"
  mkdir -p "$work" "$findings"
  local inputs=("$top/tests/fuzz/corpus/$name")
  if [ -d "$hostile" ]; then
    inputs+=("$hostile")
  else
    echo "($hostile is absent: the hostile inputs are skipped)"
  fi
  echo "== fuzz $name: $seconds s =="
  export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
  export LSAN_OPTIONS=suppressions=$top/tests/lsan.supp:print_suppressions=0
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  # New inputs go to the first folder; the seeds and the hostile files are only read.
  "$build/tests/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$findings/" "$work" "${inputs[@]}" 2>"$build/fuzz_$name.log" || {
    tail -n 60 "$build/fuzz_$name.log"
    echo "fuzz target $name failed; the input is in $findings" >&2
    return 1
  }
  grep -E '^(stat::number_of_executed_units|Done )' "$build/fuzz_$name.log" || true
}

case "${1:-}" in
  --list) targets ;;
  --ci)
    seconds=${2:-30}
    build_targets
    # Each CI run starts from the committed seeds alone, so that it is repeatable.
    for name in $(targets); do
      rm -rf "$build/ci-corpus/$name"
      run_target "$name" "$seconds" "$build/ci-corpus/$name"
    done
    ;;
  walk)
    # The seeded random walk over the main window, under the sanitizers, for as
    # long as asked; a failing seed is printed with its last steps.
    [ $# -eq 2 ] || { sed -n '2,15p' "$0" >&2; exit 2; }
    "$top/tools/build.sh" asan
    export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
    export LSAN_OPTIONS=suppressions=$top/tests/lsan.supp:print_suppressions=0
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    (cd "$top/build/asan" && KESTRO_WALK_SECONDS="$2" ./tests/app/kestro_app_tests --gtest_filter='RandomWalk.*')
    (cd "$top/build/asan" && KESTRO_WALK_SECONDS="$2" LIBGL_ALWAYS_SOFTWARE=1 LP_NUM_THREADS=0 \
        xvfb-run -a -s "-screen 0 1280x1024x24" ./tests/app/display/kestro_display_tests --gtest_filter='View3DWalk.*')
    ;;
  ''|-*) sed -n '2,15p' "$0" >&2; exit 2 ;;
  *)
    [ $# -eq 2 ] || { sed -n '2,15p' "$0" >&2; exit 2; }
    [[ " $(targets | tr '\n' ' ') " == *" $1 "* ]] || { echo "no fuzz target $1; targets: $(targets | tr '\n' ' ')" >&2; exit 2; }
    build_targets
    run_target "$1" "$2" "$build/corpus/$1"
    ;;
esac
