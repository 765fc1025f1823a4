#!/usr/bin/env bash
# Fails when a folder of the CAD engine includes a header from a folder above
# it. The folders are listed from the bottom up; ui/ may use all of them.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
layers=(base geometry stream canvas model fonts shapes drawing dxf view engine ui)
rank() { local i; for i in "${!layers[@]}"; do [ "${layers[$i]}" = "$1" ] && echo "$i" && return; done; echo -1; }
status=0
for folder in "${layers[@]}"; do
  own=$(rank "$folder")
  while IFS=: read -r file line used; do
    used=${used#*\"cad/}; used=${used%%/*}
    if [ "$(rank "$used")" -gt "$own" ]; then
      echo "$file:$line: $folder/ includes cad/$used/, which stands above it" >&2
      status=1
    fi
  done < <(grep -rn '#include "cad/' "$top/src/cad/$folder" || true)
done
if find "$top/src/cad" -maxdepth 1 -name '*.[ch]*' | grep -q .; then
  echo "src/cad has source files at its top level; each belongs in a layer's folder" >&2
  status=1
fi
exit $status
