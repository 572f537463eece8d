#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need; does nothing
# when they are all there.
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config ccache
  qt6-base-dev qt6-svg-dev libqt6svg6
  libjpeg62-turbo-dev libwmf-dev libemf2svg-dev libespeak-ng-dev espeak-ng-data libcanberra-dev sound-theme-freedesktop
  fonts-dejavu-core fonts-liberation2 shared-mime-info
  desktop-file-utils  # the test of the installed desktop entry
  libgtest-dev libgmock-dev libbenchmark-dev
  libicu-dev  # collation keys of the task list's sort (and the string tree benchmark's)
  libcups2-dev  # paper bins and spooling of the report engine's printers
)
if [ "${1:-}" = "--ci" ]; then
  packages+=(clang libclang-rt-14-dev)
fi
if [ "${1:-}" = "--run" ]; then
  packages+=(qt6-qpa-plugins)
fi
# The real print path of the tests: a print server with a queue that writes PDF files,
# and poppler's tools to read them back.
if [ "${1:-}" = "--print" ]; then
  packages+=(cups printer-driver-cups-pdf poppler-utils)
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
