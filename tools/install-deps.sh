#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Kestro needs.
# Packages already present are left alone; nothing is fetched from anywhere else.
set -euo pipefail

packages=(
  cmake g++ ninja-build ccache pkg-config
  clang libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri
  xvfb xauth libjpeg62-turbo-dev libexpat1-dev libagg-dev libfreetype-dev libfontconfig-dev
  libpotrace-dev hershey-fonts-data fonts-dejavu-core
  adwaita-icon-theme libwacom-common
  libgtest-dev libgmock-dev libbenchmark-dev libpolyclipping-dev libdxflib-dev
  openscad-testing-data librecad-data
  imagemagick libjpeg-turbo-progs
  locales
  # The potrace program: the tracer's tests and benchmark compare against it.
  potrace
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The number-formatting tests run under a comma-decimal locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf8$'; then
  "${sudo_cmd[@]}" sh -c "sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen && locale-gen" >/dev/null
fi
