#!/usr/bin/env bash
# Installs what Talvo needs to build and test on Debian 12, then builds it.
# Sourced by start.sh and test.sh.
set -euo pipefail

TALVO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
TALVO_PACKAGES=(cmake g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev libgl-dev libxy-bin libcli11-dev)
# The RAS reader is cross-checked against Debian's xrayutilities.
TALVO_PACKAGES+=(python3-xrayutilities)
# The XML and zip readers (XRDML, BRML, RASX).
TALVO_PACKAGES+=(libpugixml-dev libzip-dev)
# The analysis outputs are read back by Debian's PyCifRW and gemmi.
TALVO_PACKAGES+=(python3 python3-pycifrw python3-gemmi)
# The Python module and its tests.
TALVO_PACKAGES+=(pybind11-dev python3-dev python3-numpy python3-pytest python3-dask)

talvo_install() {
  local missing=()
  for package in "${TALVO_PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# talvo_build DIR [cmake options...]
talvo_build() {
  local dir="$1"
  shift
  cmake -S "$TALVO_ROOT" -B "$TALVO_ROOT/$dir" "$@" >/dev/null
  cmake --build "$TALVO_ROOT/$dir" -j "$(nproc)"
}
