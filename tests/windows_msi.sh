#!/bin/sh
# The Windows installer as a user meets it, in a fresh wine prefix:
#   tests/windows_msi.sh MSI WXS SOURCES WORK
# MSI is the installer of this build, WXS its source and SOURCES the folder
# wixl built it from (a second installer, one version up, is built from them
# to upgrade). Its tables are read with msiinfo; it installs into Program
# Files with a Start-menu entry and a Send To entry that start the installed
# window; the installed fenmarq-cli.exe converts the samples; the newer
# package replaces it in the list of installed programs; uninstalling leaves
# no file, shortcut or registry key behind.
set -eu
msi=$1 wxs=$2 sources=$3 work=$4
fail() {
  echo "FAILED: $*" >&2
  exit 1
}
table() { msiinfo export "$msi" "$1" | tr -d '\r'; } # rows end in "\r\n"
expect_row() { # table, row (tab-separated fields)
  table "$1" | grep -qxF "$2" || fail "no row '$2' in $1"
}

tab=$(printf '\t')
expect_row Property "ALLUSERS${tab}1"
expect_row Property "UpgradeCode${tab}{16F49C0B-BF31-4335-A57F-681A232C97DD}"
expect_row Directory "INSTALLDIR${tab}ProgramFiles64Folder${tab}Fenmarq"
table Shortcut | grep -q "^StartMenuShortcut${tab}ProgramMenuFolder${tab}Fenmarq${tab}.*${tab}\[INSTALLDIR\]fenmarq.exe${tab}.*${tab}PersonalFolder${tab}" ||
  fail "no Start-menu shortcut to the window in Documents"
table Shortcut | grep -q "^SendToShortcut${tab}SendToFolder${tab}Fenmarq${tab}.*${tab}\[INSTALLDIR\]fenmarq.exe${tab}" ||
  fail "no Send To shortcut to the window"
msiinfo suminfo "$msi" | tr -d '\r' | grep -qx 'Template: x64;1033' || fail "not a 64-bit package"

rm -rf "$work"
mkdir -p "$work"
WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES=winemenubuilder.exe=d
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES
if [ -x /usr/lib/wine/wine64 ]; then
  wine=/usr/lib/wine/wine64 wineserver=/usr/lib/wine/wineserver
else
  wine=wine64 wineserver=wineserver
fi
trap '"$wineserver" -k 2>/dev/null; true' EXIT
windows_path() { echo "Z:$1" | tr / '\\'; }
"$wine" wineboot -i </dev/null >/dev/null 2>&1
drive=$WINEPREFIX/drive_c
installed="$drive/Program Files/Fenmarq"
send_to=$(find "$drive/users" -path '*/SendTo' -type d | head -n 1)
[ -n "$send_to" ] || fail "the prefix has no Send To folder"

product_codes() {
  "$wine" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' 2>/dev/null |
    grep -o '{[0-9A-F-]*}' | sort || true
}
before=$(product_codes)
"$wine" msiexec /i "$(windows_path "$msi")" /qn || fail "msiexec /i"
for file in fenmarq.exe fenmarq-cli.exe README-Windows.txt LICENSE.txt; do
  [ -f "$installed/$file" ] || fail "$file not installed"
done
[ -f "$send_to/Fenmarq.lnk" ] || fail "no Send To entry"
# A shortcut holds its target's path as text, in UTF-16 or the ANSI code page.
LC_ALL=C grep -qa -e 'Fenmarq\\fenmarq.exe' -e "$(printf 'F\0e\0n\0m\0a\0r\0q\0\\\\\0f\0')" \
  "$send_to/Fenmarq.lnk" || fail "the Send To entry does not start the installed window"

data=$work/data
mkdir -p "$data"
(cd "$data" && "$wine" "$installed/fenmarq-cli.exe" samples . >/dev/null &&
  "$wine" "$installed/fenmarq-cli.exe" convert --make-dirs 'amd_1min_*' >/dev/null) ||
  fail "the installed fenmarq-cli.exe does not convert the samples"
[ -n "$(ls "$data/CSVFiles")" ] || fail "no sheet from the installed fenmarq-cli.exe"
first=$(product_codes)
[ "$(echo "$first" | grep -vxF "$before" | wc -l)" -eq 1 ] || fail "not one product installed"

# A newer release replaces it, as Windows' list of programs shows.
newer=$work/newer.msi
version=$(table Property | sed -n "s/^ProductVersion${tab}//p")
(cd "$sources" && wixl -a x64 -D Version="${version%.*}.$((${version##*.} + 1))" -o "$newer" "$wxs") ||
  fail "wixl of the newer package"
"$wine" msiexec /i "$(windows_path "$newer")" /qn || fail "msiexec /i of the newer package"
second=$(product_codes)
[ "$(echo "$second" | grep -vxF "$before" | wc -l)" -eq 1 ] || fail "the older product was kept"
[ "$second" != "$first" ] || fail "the newer package did not replace the older"

"$wine" msiexec /x "$(windows_path "$newer")" /qn || fail "msiexec /x"
[ "$(product_codes)" = "$before" ] || fail "still in the list of programs after uninstalling"
[ ! -e "$installed" ] || fail "Program Files\\Fenmarq left behind"
left=$(find "$drive" -iname 'fenmarq*.lnk')
[ -z "$left" ] || fail "shortcuts left behind: $left"
for key in 'HKCU\Software\Fenmarq' 'HKLM\Software\Fenmarq'; do
  if "$wine" reg query "$key" >/dev/null 2>&1; then fail "$key left behind"; fi
done
echo "installed, converted, upgraded and uninstalled"
