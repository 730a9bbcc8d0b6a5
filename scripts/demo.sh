#!/usr/bin/env bash
# Shows the main jobs at work under Wine, in both prefixes.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bin=$root/build/bin
demo=$root/build/demo
export WINEDEBUG=-all

show_record() {  # the sample installer's NUL-separated UTF-16 record, one field a line
  iconv -f UTF-16LE -t UTF-8 "$1" | tr '\0' '\n' | grep -v '^done=' | sed 's/^/    /'
}

echo "== setup.exe: a sample disk in $demo/disk"
rm -rf "$demo/disk"
mkdir -p "$demo/disk/x86" "$demo/disk/x64"
cp "$bin/setup.exe" "$demo/disk/"
cp "$bin/sample_installer.exe" "$demo/disk/x86/installer.exe"
cp "$bin/sample_installer.exe" "$demo/disk/x64/installer.exe"
printf '[SETUP]\r\nInstallPath=x86\\installer.exe\r\nInstallPath64=x64\\installer.exe\r\n' > "$demo/disk/setup.ini"
echo "setup.ini:"; sed 's/^/    /' "$demo/disk/setup.ini" | tr -d '\r'
for arch in win64 win32; do
  rm -f "$demo"/disk/x*/installer-record.txt
  echo
  echo "-- $arch prefix: wine setup.exe /quiet \"INSTALLDIR=C:\\Program Files\\Demo\" \"\""
  WINEPREFIX=$root/build/wine/$arch wine "$demo/disk/setup.exe" /quiet 'INSTALLDIR=C:\Program Files\Demo' ''
  echo "   setup.exe exited with $?; the installer recorded:"
  show_record "$(ls "$demo"/disk/x*/installer-record.txt)"
done

echo
echo "== Wendrel.dll: an example host in $bin with string tables in strings/"
ls "$bin/strings" | sed 's/^/    /'
run_host() { env WINEPREFIX="$root/build/wine/win64" ${locale:+LANG=$locale LC_ALL=$locale} wine "$bin/example_host.exe" "$@"; }
locale=
echo
echo "-- language prefixes and left-to-right marks"
run_host --prefixes
for locale in de_DE.UTF-8 ja_JP.UTF-8; do
  echo
  echo "-- empty prefix, user interface in $locale"
  run_host
done
locale=
for prefix in ar sr_Latn; do
  echo
  echo "-- explicit prefix $prefix"
  run_host "$prefix"
done
