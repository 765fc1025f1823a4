#!/usr/bin/env bash
# Fails when a folder of a layered subsystem includes a header from a folder
# above it. Each subsystem's folders are listed from the bottom up; ui/ may
# use all of them. The 3D view stands above the CAD engine, never below it.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
status=0

# check_layers SUBSYSTEM FOLDER...
check_layers() {
  local subsystem=$1
  shift
  local layers=("$@")
  rank() { local i; for i in "${!layers[@]}"; do [ "${layers[$i]}" = "$1" ] && echo "$i" && return; done; echo -1; }
  local folder own file line used
  for folder in "${layers[@]}"; do
    [ -d "$top/src/$subsystem/$folder" ] || continue
    own=$(rank "$folder")
    while IFS=: read -r file line used; do
      used=${used#*\"$subsystem/}; used=${used%%/*}
      if [ "$(rank "$used")" -gt "$own" ]; then
        echo "$file:$line: $folder/ includes $subsystem/$used/, which stands above it" >&2
        status=1
      fi
    done < <(grep -rn "#include \"$subsystem/" "$top/src/$subsystem/$folder" || true)
  done
  if find "$top/src/$subsystem" -maxdepth 1 -name '*.[ch]*' | grep -q .; then
    echo "src/$subsystem has source files at its top level; each belongs in a layer's folder" >&2
    status=1
  fi
}

check_layers cad base geometry stream canvas model fonts shapes drawing dxf view engine ui
check_layers view3d maths persistence lists utility ui

while IFS=: read -r file line used; do
  echo "$file:$line: the CAD engine includes the 3D view, which stands above it" >&2
  status=1
done < <(grep -rn '#include "view3d/' "$top/src/cad" || true)
exit $status
