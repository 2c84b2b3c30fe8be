#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Glimt need.
# Idempotent: only packages that are missing are installed. Uses sudo only when not root.
#   scripts/install-deps.sh          build, run and test set
#   scripts/install-deps.sh --fuzz   also clang and libFuzzer for `make fuzz`
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools
  libpng-dev libjpeg62-turbo-dev libgif-dev zlib1g-dev libdeflate-dev
  libgtest-dev libgmock-dev libbenchmark-dev libimagequant-dev
  xvfb xauth fonts-dejavu-core
  binutils-mingw-w64-x86-64
  binutils-mingw-w64-i686
  xdotool
)
optional_tests=(nsis-common)
fuzz_packages=(clang libfuzzer-14-dev libclang-rt-14-dev)

want=("${packages[@]}" "${optional_tests[@]}")
if [[ "${1:-}" == "--fuzz" ]]; then want+=("${fuzz_packages[@]}"); fi

missing=()
for p in "${want[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

SUDO=""
if [[ $(id -u) -ne 0 ]]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
