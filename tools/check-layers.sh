#!/usr/bin/env bash
# Fails when a folder of a layered subsystem includes a header from a folder
# of the same subsystem that stands above it, or when a source file sits at
# the top of such a subsystem without being one every folder uses, or when
# the CAD engine includes the 3D view. The folders are listed from the bottom
# up; ui/ may use all of them.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
status=0

# check SUBSYSTEM "FOLDERS FROM THE BOTTOM UP" "FILES ALLOWED AT THE TOP"
check() {
  local subsystem=$1 allowed_at_top=$3
  local -a layers
  read -r -a layers <<<"$2"
  rank() { local i; for i in "${!layers[@]}"; do [ "${layers[$i]}" = "$1" ] && echo "$i" && return; done; echo -1; }
  local folder own used file line
  for folder in "${layers[@]}"; do
    [ -d "$top/src/$subsystem/$folder" ] || continue
    own=$(rank "$folder")
    while IFS=: read -r file line used; do
      used=${used#*\"$subsystem/}
      # A header at the top of the subsystem is one every folder may use.
      case $used in */*) used=${used%%/*} ;; *) continue ;; esac
      if [ "$(rank "$used")" -lt 0 ]; then
        echo "$file:$line: $subsystem/$used/ is not a folder of the layer list in $0" >&2
        status=1
      elif [ "$(rank "$used")" -gt "$own" ]; then
        echo "$file:$line: $folder/ includes $subsystem/$used/, which stands above it" >&2
        status=1
      fi
    done < <(grep -rn "#include \"$subsystem/" "$top/src/$subsystem/$folder" || true)
  done
  while read -r folder; do
    if [ "$(rank "$(basename "$folder")")" -lt 0 ]; then
      echo "$folder is not in the layer list of src/$subsystem in $0" >&2
      status=1
    fi
  done < <(find "$top/src/$subsystem" -mindepth 1 -maxdepth 1 -type d)
  while read -r file; do
    [ -n "$file" ] || continue
    case " $allowed_at_top " in *" $(basename "$file") "*) continue ;; esac
    echo "$file sits at the top of src/$subsystem; it belongs in one of its folders" >&2
    status=1
  done < <(find "$top/src/$subsystem" -maxdepth 1 -name '*.[ch]*')
}

check cad "base geometry stream canvas model fonts shapes drawing dxf view engine ui" ""
check cam "chains toolpath nc simulation ui" "ProgressSink.h ProgressSink.cpp"
check edit "geometry entities commands ui" ""
check view3d "maths persistence lists utility opengl context notification texture material scene objects ui" ""

# The 3D view builds on the CAD engine's shared geometry, never the reverse.
while IFS=: read -r file line used; do
  echo "$file:$line: the CAD engine includes the 3D view, which stands above it" >&2
  status=1
done < <(grep -rn '#include "view3d/' "$top/src/cad" || true)
exit $status
