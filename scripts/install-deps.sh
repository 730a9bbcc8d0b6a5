#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian 12 machine: the
# mingw-w64 cross compiler, Wine with its 32-bit part, the GoogleTest sources
# and pefile. Idempotent, and quiet when nothing is missing.
set -euo pipefail

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
apt_updated=0

apt_update() {
  [ $apt_updated -eq 1 ] || $sudo apt-get update -qq
  apt_updated=1
}

install_missing() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  apt_update
  echo "installing: ${missing[*]}"
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
  apt_updated=0
fi

install_missing cmake make python3 python3-pefile g++-mingw-w64-i686-posix \
  binutils-mingw-w64-i686 wine wine32:i386 wine64 googletest

# Some virtual machines cannot run 32-bit x86 code (the kernel refuses i386
# executables and the 32-bit code segment). Wine's 32-bit half then runs under
# qemu's user-mode emulator. qemu 7 (Debian 12) spends close to a minute
# starting each Wine process; the backported qemu 10 starts one in well under
# a second, so that is the one we take.
if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  if ! qemu-i386 --version 2>/dev/null | grep -qE 'version ([89]|[1-9][0-9])\.'; then
    if ! grep -rqs bookworm-backports /etc/apt/sources.list /etc/apt/sources.list.d/; then
      printf '%s\n' 'Types: deb' 'URIs: http://deb.debian.org/debian' \
        'Suites: bookworm-backports' 'Components: main' \
        'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' |
        $sudo tee /etc/apt/sources.list.d/bookworm-backports.sources >/dev/null
      apt_updated=0
    fi
    apt_update
    echo "installing: qemu-user-static (backports) to run 32-bit code"
    $sudo apt-get install -y -qq --no-install-recommends -t bookworm-backports qemu-user-static >/dev/null
  fi
  binfmt=/proc/sys/fs/binfmt_misc
  [ -e $binfmt/register ] || $sudo mount -t binfmt_misc binfmt_misc $binfmt
  qemu=$(readlink -f "$(command -v qemu-i386)")
  if ! grep -qs "interpreter $qemu" $binfmt/qemu-i386; then
    [ -e $binfmt/qemu-i386 ] && echo -1 | $sudo tee $binfmt/qemu-i386 >/dev/null
    # 'F' opens the emulator now, so it also serves processes in other mount
    # namespaces; the mask accepts i386 executables and shared objects.
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$qemu"':F' |
      $sudo tee $binfmt/register >/dev/null
  fi
  /lib/ld-linux.so.2 --version >/dev/null 2>&1 || { echo "cannot run 32-bit x86 code" >&2; exit 1; }
fi
