#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need; does nothing
# when they are all there.
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config ccache
  qt6-base-dev qt6-svg-dev libqt6svg6
  libjpeg62-turbo-dev libespeak-ng-dev espeak-ng-data libcanberra-dev sound-theme-freedesktop
  fonts-dejavu-core fonts-liberation2 shared-mime-info
  libgtest-dev libgmock-dev libbenchmark-dev
  libicu-dev  # the string tree benchmark's owner compares ICU collation keys
)
if [ "${1:-}" = "--ci" ]; then
  packages+=(clang libclang-rt-14-dev)
fi
if [ "${1:-}" = "--run" ]; then
  packages+=(qt6-qpa-plugins)
fi
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
