#!/usr/bin/env bash
# Checks the Debian packages that tools/package.sh built, as a Debian user
# gets them: lintian at its most pedantic on every package, the desktop
# entry, the AppStream metadata and the manual pages through their
# validators, fenmarq-cli alone on a minimal system (no Qt comes with it),
# then a real `apt-get install` of the packages: autopkgtest runs
# debian/tests against them, the installed fenmarq-cli
# converts the sample files, `fenmarq --version` needs no display, and the
# default program for folders in `gio mime` stays as it was. The packages are
# removed again at the end. Each check is run once against something it must
# reject, so that a check that cannot fail shows up as a failure here.
set -euo pipefail
cd "$(dirname "$0")/.."

fail() {
  echo "check-package.sh: $*" >&2
  exit 1
}
only() {  # the one file that a pattern names
  [ $# -eq 1 ] && [ -e "$1" ] || fail "expected one $1; run tools/package.sh"
  echo "$1"
}
cli_deb=$(only build-package/fenmarq-cli_*.deb)
window_deb=$(only build-package/fenmarq_*.deb)
python_deb=$(only build-package/python3-fenmarq_*.deb)
changes=$(only build-package/fenmarq_*.changes)
tmp=$(mktemp -d)
installed=false
cleanup() {
  if $installed; then
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq fenmarq fenmarq-cli python3-fenmarq >/dev/null
  fi
  rm -rf "$tmp"
}
trap cleanup EXIT

# --- lintian: no error, warning or pedantic tag on any package of the build
# (info tags are listed in the README with their reasons), and every override
# says why. Let through are the tags of a lintian older than the packages:
# they follow the policy of Debian 13 (newer-standards-version) and override
# a tag of its AppStream check, which Debian 12's lintian does not have
# (alien-tag appstream-metadata-validation-failed).
older_lintian_tags=': (newer-standards-version|alien-tag appstream-metadata-validation-failed) '
lintian_clean() {
  local report
  report=$(lintian --allow-root --pedantic -I --show-overrides --fail-on none "$@") || return 1
  [ -z "$report" ] || echo "$report"
  ! grep -E '^[EWP]: ' <<<"$report" | grep -Evq "$older_lintian_tags"
}
# Override lines that no comment line explains.
overrides_lacking_reason() {
  awk 'FNR == 1 { reason = 0 }
       /^#/ { reason = 1; next }
       /^[[:space:]]*$/ { next }
       { if (!reason) print FILENAME ": " $0; reason = 0 }' "$@"
}
lintian_clean "$changes" || fail "lintian reports the tags above"
mapfile -t overrides < <(find debian -name '*lintian-overrides')
unexplained=$([ ${#overrides[@]} -eq 0 ] || overrides_lacking_reason "${overrides[@]}")
[ -z "$unexplained" ] || fail "lintian overrides without a reason: $unexplained"
# Controls: a package without copyright file or description, and an
# override without a comment.
mkdir -p "$tmp/bad/DEBIAN"
printf 'Package: fenmarq-bad\nVersion: 1.0\nArchitecture: all\nMaintainer: x <x@x.org>\nDescription: x\n' \
  >"$tmp/bad/DEBIAN/control"
dpkg-deb --root-owner-group -b "$tmp/bad" "$tmp/bad.deb" >/dev/null
! lintian_clean "$tmp/bad.deb" >/dev/null || fail "control: lintian passed a broken package"
printf '# why\nfenmarq: tag-one\n\nfenmarq: tag-two\n' >"$tmp/overrides"
[ "$(overrides_lacking_reason "$tmp/overrides")" = "$tmp/overrides: fenmarq: tag-two" ] ||
  fail "control: an override without a reason went unseen"

# --- The files the validators read, from the packages as built.
dpkg-deb -x "$cli_deb" "$tmp/root"
dpkg-deb -x "$window_deb" "$tmp/root"
desktop=$(only "$tmp"/root/usr/share/applications/*.desktop)
metainfo=$(only "$tmp"/root/usr/share/metainfo/*.metainfo.xml)
desktop-file-validate "$desktop"
appstreamcli validate --pedantic --no-net "$metainfo"
sed 's/^Exec=/Exec[ja]=/' "$desktop" >"$tmp/bad.desktop"
! desktop-file-validate "$tmp/bad.desktop" >/dev/null 2>&1 ||
  fail "control: desktop-file-validate passed an entry without Exec"
sed '/<summary>/d' "$metainfo" >"$tmp/bad.metainfo.xml"
! appstreamcli validate --pedantic --no-net "$tmp/bad.metainfo.xml" >/dev/null 2>&1 ||
  fail "control: appstreamcli passed metadata without a summary"
# As lintian reads manual pages: groff's warnings on standard error.
man_warnings() {
  LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$1" 2>&1 >/dev/null
}
for manual in "$tmp"/root/usr/share/man/man1/*.1.gz; do
  warnings=$(man_warnings "$manual")
  [ -z "$warnings" ] || fail "${manual##*/}: $warnings"
done
(zcat "$manual" && echo '.XX') >"$tmp/bad.1"
[ -n "$(man_warnings "$tmp/bad.1")" ] || fail "control: man saw no undefined macro"

# --- fenmarq-cli on a system of only the required packages pulls no Qt; the
# window does (the control). That system's dpkg status: the installed
# packages of priority required or essential, and what they depend on (the
# C library, for one, is of priority optional).
awk 'BEGIN { RS = ""; FS = "\n" }
     /\nStatus: install ok installed/ {
       name = ""; depends = ""; base = 0
       for (i = 1; i <= NF; i++) {
         if ($i ~ /^Package: /) name = substr($i, 10)
         else if ($i ~ /^(Pre-)?Depends: /) depends = depends "," substr($i, index($i, ":") + 1)
         else if ($i == "Priority: required" || $i == "Essential: yes") base = 1
       }
       paragraph[name] = $0; dependencies[name] = depends
       if (base) kept[name] = 1
     }
     END {
       for (grown = 1; grown;) {
         grown = 0
         for (p in kept) {
           n = split(dependencies[p], clauses, ",")
           for (j = 1; j <= n; j++) {
             m = split(clauses[j], alternatives, "|")
             for (k = 1; k <= m; k++) {  # the first alternative installed
               a = alternatives[k]
               sub(/\(.*\)/, "", a); sub(/:any/, "", a); gsub(/[ \t]/, "", a)
               if (a in paragraph) {
                 if (!(a in kept)) { kept[a] = 1; grown = 1 }
                 break
               }
             }
           }
         }
       }
       for (p in kept) print paragraph[p] "\n"
     }' /var/lib/dpkg/status >"$tmp/status"
simulated_installs() {
  apt-get -s -o Dir::State::status="$tmp/status" install "$@" | grep '^Inst ' | cut -d' ' -f2
}
mapfile -t cli_pulls < <(simulated_installs "./$cli_deb")
mapfile -t window_pulls < <(simulated_installs "./$window_deb")
lean=$(simulated_installs --no-install-recommends "./$window_deb" | wc -l)
echo "On a system of required packages only, fenmarq-cli installs ${#cli_pulls[@]}" \
  "package(s) (${cli_pulls[*]}), fenmarq ${#window_pulls[@]} ($lean without recommends)"
[ ${#cli_pulls[@]} -ge 1 ] || fail "apt-get cannot install fenmarq-cli on that system"
qt() { printf '%s\n' "$@" | grep -i qt; }
[ -z "$(qt "${cli_pulls[@]}")" ] || fail "fenmarq-cli pulls in Qt: $(qt "${cli_pulls[@]}")"
[ -n "$(qt "${window_pulls[@]}")" ] || fail "control: the window's Qt went unseen"

# --- Installed for real.
folders_default() { gio mime inode/directory 2>&1; }
before=$(folders_default)
installed=true
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "./$cli_deb" "./$window_deb" "./$python_deb" >/dev/null
[ "$(dpkg -S /usr/bin/fenmarq-cli)" = "fenmarq-cli: /usr/bin/fenmarq-cli" ] ||
  fail "/usr/bin/fenmarq-cli is not the package's"

# The packages' own tests (debian/tests, and autodep8's import of the
# module) against them as installed, from the source package of the build.
# They start python3.X by name, through a shell that reads the user's
# profile: Debian's interpreters come first on PATH, and an interpreter
# manager that the profile sets up (pyenv) is told to use them too.
PATH=/usr/sbin:/usr/bin:/sbin:/bin PYENV_VERSION=system autopkgtest --quiet "$changes" -- null ||
  fail "autopkgtest failed"

# The installed fenmarq-cli writes the samples and converts them: one sheet
# for each (the control: without a CSVFiles folder, none).
converts_samples() {
  local dir=$1 samples sheets
  mapfile -t samples < <(/usr/bin/fenmarq-cli samples "$dir")
  [ -z "${2:-}" ] || rm -r "$dir/$2"
  (cd "$dir" && /usr/bin/fenmarq-cli convert "${samples[@]}" >log.txt 2>&1) || true
  sheets=$(find "$dir" -name 'CSV_*.CSV' | wc -l)
  [ ${#samples[@]} -eq 5 ] && [ "$sheets" -eq ${#samples[@]} ]
}
/usr/bin/fenmarq-cli --version
converts_samples "$tmp/work" || fail "the installed fenmarq-cli did not convert every sample"
! converts_samples "$tmp/control" CSVFiles || fail "control: missing sheets went unseen"

# Debian's python3 imports the installed module and reads a sample with it
# (the control: without the system's packages on its path, it cannot).
reads_sample='import fenmarq, sys; print(len(fenmarq.read(sys.argv[1])))'
[ "$(/usr/bin/python3 -c "$reads_sample" "$tmp/work/amd_1min_20160412.62078")" = 1440 ] ||
  fail "the installed module did not read a sample"
! /usr/bin/python3 -S -c "$reads_sample" "$tmp/work/amd_1min_20160412.62078" >/dev/null 2>&1 ||
  fail "control: the module was found without the system's packages"

# The window's --version and --help need no display; opening the window
# does (the control).
no_display=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
[ "$("${no_display[@]}" LC_ALL=C.UTF-8 fenmarq --version)" = "fenmarq $(dpkg-parsechangelog -S Version)" ] ||
  fail "fenmarq --version failed without a display"
"${no_display[@]}" LC_ALL=ja_JP.UTF-8 fenmarq --help | grep -q '^使い方: fenmarq' ||
  fail "fenmarq --help is not Japanese under a Japanese locale"
# (A shell of its own reports the abort, to /dev/null.)
! bash -c '"$@"; exit $?' - "${no_display[@]}" timeout 30 fenmarq >/dev/null 2>&1 ||
  fail "control: the window opened without a display"

# Installing claims no MIME type: the programs for folders are as before.
# The control: an entry that claims folders, in a folder of desktop entries
# indexed as the package's trigger indexes /usr/share/applications, changes
# them.
after=$(folders_default)
[ "$after" = "$before" ] || fail "gio mime inode/directory changed:"$'\n'"$before"$'\n'"$after"
mkdir -p "$tmp/claim/applications"
sed '$a MimeType=inode/directory;' "$desktop" >"$tmp/claim/applications/fenmarq-claim.desktop"
update-desktop-database "$tmp/claim/applications"
claimed=$(XDG_DATA_DIRS="$tmp/claim:${XDG_DATA_DIRS:-/usr/local/share:/usr/share}" folders_default)
[ "$claimed" != "$before" ] || fail "control: a claim on inode/directory went unseen"
echo "gio mime inode/directory, unchanged after installing:"
echo "$after"

echo "check-package.sh: $cli_deb, $window_deb and $python_deb are clean"
