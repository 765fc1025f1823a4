#!/usr/bin/env bash
# Configures and builds one flavour of Kestro: tools/build.sh [release|asan]
set -euo pipefail
flavour=${1:-release}
top=$(cd "$(dirname "$0")/.." && pwd)
case "$flavour" in
  release) extra=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  asan)    extra=(-DCMAKE_BUILD_TYPE=Debug -DKESTRO_SANITIZE=ON) ;;
  *) echo "unknown flavour: $flavour" >&2; exit 2 ;;
esac
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# Paths relative to the checkout, so that a fresh clone elsewhere reuses the cache.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$top}
cmake -S "$top" -B "$top/build/$flavour" -G Ninja "${extra[@]}" "${launcher[@]}" >/dev/null
cmake --build "$top/build/$flavour"
