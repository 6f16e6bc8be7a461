#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and nothing when
# they are all there already. Usage: scripts/install-deps.sh [extra packages]
set -euo pipefail

# clang and its runtime (libFuzzer among it) build the fuzzers; the last two
# validate the desktop entry and the AppStream metainfo.
packages=(g++ cmake ninja-build qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-dev desktop-file-utils appstream "$@")

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
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
