#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test twice:
# a normal build, and one under AddressSanitizer and UndefinedBehaviorSanitizer;
# then runs every fuzz target for a short while (tools/fuzz.sh).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/install-deps.sh"
jobs=$(nproc)
"$top/tools/check-layers.sh"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$top/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# OpenGL tests run on Mesa's software renderer, as on a machine without a GPU driver.
export LIBGL_ALWAYS_SOFTWARE=1
for flavour in release asan; do
  echo "== $flavour build =="
  "$top/tools/build.sh" "$flavour"
  echo "== $flavour tests =="
  # Tests that need a real display carry the label "display"; all run under a virtual X server.
  (cd "$top/build/$flavour" && xvfb-run -a -s "-screen 0 1280x1024x24" \
      ctest --output-on-failure -j "$jobs")
done
# A minute of the seeded random walk over the main window, under the sanitizers
# (tools/fuzz.sh walk SECONDS walks for longer).
echo "== random walk over the main window: 60 s =="
(cd "$top/build/asan" && KESTRO_WALK_SECONDS=60 ./tests/app/kestro_app_tests --gtest_filter='RandomWalk.*')
echo "== random walk with the 3D view: 60 s =="
(cd "$top/build/asan" && KESTRO_WALK_SECONDS=60 LP_NUM_THREADS=0 \
    xvfb-run -a -s "-screen 0 1280x1024x24" ./tests/app/display/kestro_display_tests --gtest_filter='View3DWalk.*')
"$top/tools/fuzz.sh" --ci 30
