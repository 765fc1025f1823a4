#!/usr/bin/env bash
# Installs what is missing, builds Kestro and starts it from its program folder.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/install-deps.sh"
"$top/tools/build.sh" release
exec "$top/build/release/kestro/kestro"
