#!/usr/bin/env bash
# Installs what the build needs from Debian's packages when run as root;
# otherwise prints the exact command to run. Sourced by demo.sh and test.sh.
set -euo pipefail

# The demo needs the plug-ins' build and gnuplot, through which a headless
# Octave draws its figures; the tests add GoogleTest, clang (a second
# compiler, and the sanitizers' runtime) and pkg-config (the installed
# library's pkg-config file).
CLUSTERKIT_DEMO_PACKAGES=(octave liboctave-dev cmake g++ make binutils coreutils gnuplot-nox)
CLUSTERKIT_TEST_PACKAGES=("${CLUSTERKIT_DEMO_PACKAGES[@]}" libgtest-dev libgmock-dev clang libclang-rt-14-dev
                          pkg-config)
CLUSTERKIT_PACKAGES=("${CLUSTERKIT_TEST_PACKAGES[@]}")

missing_packages() {
  local pkg
  for pkg in "${CLUSTERKIT_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
      printf '%s\n' "$pkg"
    fi
  done
}

# ensure_packages [demo|test] (default: test)
ensure_packages() {
  if [ "${1:-test}" = demo ]; then
    CLUSTERKIT_PACKAGES=("${CLUSTERKIT_DEMO_PACKAGES[@]}")
  fi
  local missing
  missing=$(missing_packages | tr '\n' ' ')
  missing=${missing% }
  [ -z "$missing" ] && return 0
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: $missing"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing
  else
    echo "Missing packages: $missing" >&2
    echo "Run:  sudo apt-get update && sudo apt-get install -y $missing" >&2
    exit 1
  fi
}

# configure_and_build BUILD_DIR [cmake options...]
configure_and_build() {
  local dir=$1
  shift
  cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@"
  cmake --build "$dir" -j "$(nproc)"
}

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
