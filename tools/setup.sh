#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine, with apt.
# Idempotent: when everything is present it prints nothing and exits 0.
set -euo pipefail

packages=(
  cmake ninja-build make
  g++ g++-multilib
  g++-mingw-w64-i686-posix
  libboost1.81-dev
  googletest
  clang libclang-rt-14-dev
  libbenchmark-dev:i386
  wine wine32:i386
)

have_all() {
  dpkg --print-foreign-architectures | grep -qx i386 || return 1
  local p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || return 1
  done
}

if have_all; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "setup: some packages are missing and installing them needs root." >&2
  echo "setup: run 'sudo $0' (packages: ${packages[*]})" >&2
  exit 1
fi

echo "setup: installing build and test packages (this happens once)..."
export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
apt-get update -qq >/dev/null
if ! apt-get install -y -qq --no-install-recommends "${packages[@]}" >/tmp/brisko-setup.log 2>&1; then
  echo "setup: apt-get could not install the packages; the last lines of its log:" >&2
  tail -n 20 /tmp/brisko-setup.log >&2
  exit 1
fi
if ! have_all; then
  echo "setup: a package is still missing after installation; see /tmp/brisko-setup.log" >&2
  exit 1
fi
echo "setup: done."
