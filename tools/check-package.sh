#!/usr/bin/env bash
# Checks the Debian package that tools/package.sh built, as a user gets it:
# unpacked into a temporary root, the installed fenmarq-cli writes the sample
# files and converts them, and the installed window starts; then the desktop
# entry, the AppStream metadata, the manual pages and the package itself go
# through their validators and lintian. Any error or warning fails the check.
set -euo pipefail
cd "$(dirname "$0")/.."
packages=(build-package/fenmarq_*.deb)
if [ ${#packages[@]} -ne 1 ]; then
  echo "check-package.sh: expected one build-package/fenmarq_*.deb; run tools/package.sh" >&2
  exit 1
fi
deb=${packages[0]}
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"

cli=$root/usr/bin/fenmarq-cli
"$cli" --version
mapfile -t samples < <("$cli" samples "$root/work")
(cd "$root/work" && "$cli" convert "${samples[@]}" > log.txt)
sheets=("$root"/work/CSVFiles/CSV_*.CSV)
if [ ${#sheets[@]} -ne ${#samples[@]} ]; then
  echo "check-package.sh: ${#samples[@]} samples but ${#sheets[@]} sheets" >&2
  exit 1
fi
QT_QPA_PLATFORM=offscreen "$root/usr/bin/fenmarq" --version

desktop-file-validate "$root"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml
for manual in "$root"/usr/share/man/man1/*.1.gz; do
  # As lintian reads manual pages: groff's warnings on standard error.
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$manual" 2>&1 >/dev/null)
  if [ -n "$warnings" ]; then
    printf '%s: %s\n' "${manual##*/}" "$warnings" >&2
    exit 1
  fi
done
lintian --allow-root --fail-on error,warning "$deb"
echo "check-package.sh: $deb is clean"
