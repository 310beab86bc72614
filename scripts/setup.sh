#!/usr/bin/env bash
# Installs, only when missing, the Debian packages that building and testing Halvern needs.
set -euo pipefail

packages=(
  cmake make g++ googletest libbenchmark-dev time
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
  wine wine64 fonts-wine xvfb xauth
  fp-utils-3.2.2
  clang libclang-rt-14-dev
  zip unzip
  lintian man-db
  emscripten chromium
)
# The page's tests install puppeteer-core with npm; Debian's npm only where no Node came with one.
if ! command -v npm >/dev/null 2>&1; then packages+=(npm); fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
