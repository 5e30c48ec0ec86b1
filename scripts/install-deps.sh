#!/usr/bin/env bash
# Installs the Debian packages the editor, its tests and its benchmarks need; does nothing
# when all of them are present already.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-qpa-plugins libqt6svg6 libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-dejavu-core fonts-liberation qt6-translations-l10n
  clang libclang-rt-14-dev llvm
  xvfb xauth imagemagick openbox xdotool x11-utils
  python3 openjdk-17-jdk-headless fp-compiler  # the export tests compile and run with them
  file dpkg-dev lintian man-db  # make package (CPack's dpkg-shlibdeps) and make package-check
  qt6-l10n-tools  # lupdate and lrelease for the translations
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installiere fehlende Pakete: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
