#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine, with apt.
# Idempotent: when everything is present it prints nothing and exits 0.
set -euo pipefail

# What apt says goes to a fresh temporary file, kept (and named) only when
# something fails.
log="$(mktemp -t brisko-setup.XXXXXX.log)"
trap 'rm -f "$log"' EXIT
keep_log() { trap - EXIT; }

packages=(
  cmake ninja-build make
  g++ g++-multilib
  g++-mingw-w64-i686-win32
  python3
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

# Where the kernel does not run 32-bit programs itself, they run through
# qemu's user-mode emulator, registered with binfmt_misc.
runs_32bit() {
  command -v gcc >/dev/null || return 1
  local dir
  dir="$(mktemp -d)"
  printf 'int main(void){return 0;}\n' >"$dir/t.c"
  gcc -m32 -o "$dir/t" "$dir/t.c" >/dev/null 2>&1 && "$dir/t" >/dev/null 2>&1
  local rc=$?
  rm -rf "$dir"
  return $rc
}

enable_32bit() {
  runs_32bit && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup: this machine cannot run 32-bit programs; run '$0' as root to enable them." >&2
    exit 1
  fi
  echo "setup: enabling 32-bit programs through qemu-user-static..."
  apt-get install -y -qq --no-install-recommends qemu-user-static >>"$log" 2>&1 || {
    echo "setup: apt-get could not install qemu-user-static; see $log" >&2
    keep_log
    exit 1
  }
  mountpoint -q /proc/sys/fs/binfmt_misc || mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  if [ -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
    echo 1 >/proc/sys/fs/binfmt_misc/qemu-i386
  else
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
      >/proc/sys/fs/binfmt_misc/register
  fi
  runs_32bit || { echo "setup: 32-bit programs still do not run" >&2; exit 1; }
}

if have_all; then
  enable_32bit
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
# A mirror in mid-sync can fail one index; apt then keeps the lists it has,
# which is enough when the install below succeeds, so only that is fatal.
update_failed=""
if ! apt-get update -qq >>"$log" 2>&1; then
  sleep 5
  if ! apt-get update -qq >>"$log" 2>&1; then
    update_failed=1
    echo "setup: apt-get update failed for some index; installing from the lists it has" >&2
  fi
fi
install() { apt-get install -y -qq --no-install-recommends "$@" "${packages[@]}" >>"$log" 2>&1; }
# With one architecture's index of a suite missing (the security suite's
# i386 one, say), the other architecture's newer versions cannot be matched
# for the 32-bit packages; the release's own suite has both.
codename="$(. /etc/os-release && echo "${VERSION_CODENAME:-}")"
if ! install && ! { [ -n "$update_failed" ] && [ -n "$codename" ] && install -t "$codename"; }; then
  echo "setup: apt-get could not install the packages; the last lines of its log ($log):" >&2
  tail -n 20 "$log" >&2
  keep_log
  exit 1
fi
if ! have_all; then
  echo "setup: a package is still missing after installation; see $log" >&2
  keep_log
  exit 1
fi
enable_32bit
echo "setup: done."
