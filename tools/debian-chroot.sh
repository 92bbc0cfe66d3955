#!/usr/bin/env bash
# Builds and checks the Debian packages on another Debian release, in a
# fresh chroot of it, as a Debian developer would before an upload:
#   tools/debian-chroot.sh [SUITE]      (default: trixie)
# The chroot, build-chroot-SUITE/, is made by mmdebstrap from the mirror
# that apt uses here, with the build essentials only; apt-get build-dep
# then installs debian/control's Build-Depends, so a missing one fails the
# build. In the chroot:
#   - dpkg-buildpackage builds the packages and runs the whole suite (the
#     window offscreen, the Python module with pytest), as root, as
#     pbuilder does;
#   - lintian reports no error and no warning on them;
#   - autopkgtest runs debian/tests against them as installed;
#   - the installed fenmarq-cli writes the sample day files and converts
#     them, and every output (sheets, hex files, log, analysis tables) must be
#     byte for byte what this tree's own build (build/) writes.
# The chroot runs in a mount namespace of its own with /proc, /dev,
# /dev/pts and /dev/shm, so nothing stays mounted when it ends. Runs as root.
set -euo pipefail
cd "$(dirname "$0")/.."
suite=${1:-trixie}
root=$PWD/build-chroot-$suite
host_cli=$PWD/build/fenmarq-cli
[ -x "$host_cli" ] || {
  echo "debian-chroot.sh: no fenmarq-cli in build/; run tools/test.sh first" >&2
  exit 1
}
[ "$(id -u)" -eq 0 ] || {
  echo "debian-chroot.sh: runs as root (mmdebstrap, chroot)" >&2
  exit 1
}
command -v mmdebstrap >/dev/null ||
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends mmdebstrap >/dev/null

# The mirror of this machine's own sources.
mirror=$(apt-get indextargets --format '$(REPO_URI)' 'Identifier: Packages' | grep -m1 /debian/ ||
  echo http://deb.debian.org/debian/)

rm -rf "$root"
mmdebstrap --quiet --variant=buildd --include=ca-certificates \
  --aptopt='APT::Install-Recommends "false"' "$suite" "$root" "$mirror"

version=$(dpkg-parsechangelog -S Version)
source=build/fenmarq-$version
mkdir -p "$root/build"
git ls-files -z --cached --others --exclude-standard |
  while IFS= read -r -d '' file; do [ -e "$file" ] && printf '%s\0' "$file"; done |
  tar --null -T - -cf - | (mkdir -p "$root/$source" && tar -xf - -C "$root/$source")
"$host_cli" samples "$root/build/samples" >/dev/null

# The steps inside the chroot.
cat >"$root/build/steps.sh" <<'STEPS'
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive LC_ALL=C.UTF-8 PATH=/usr/sbin:/usr/bin:/sbin:/bin
cd /build
apt-get update -qq
apt-get build-dep -y -qq "/$1" >/dev/null
apt-get install -y -qq lintian autopkgtest autodep8 appstream >/dev/null
(cd "/$1" && dpkg-buildpackage -us -uc -J"$(nproc)")
changes=$(ls fenmarq_*.changes)
lintian --allow-root --pedantic -I --show-overrides --fail-on error,warning "$changes"
autopkgtest --quiet "$changes" -- null
apt-get install -y -qq ./*.deb >/dev/null
# The metadata's one complaint may be the missing homepage, which
# debian/fenmarq.lintian-overrides explains.
appstreamcli validate --pedantic --no-net /usr/share/metainfo/*.xml >appstream.txt || true
if grep -E '^\s*[EW]:' appstream.txt | grep -v url-homepage-missing; then
  echo "appstreamcli reports more than the missing homepage" >&2
  exit 1
fi
mkdir converted
cd converted
mkdir CSVFiles HEXFiles CHKFiles
fenmarq-cli convert ../samples/*_*_* >log.txt
for sample in ../samples/*_*_*; do fenmarq-cli table -o "${sample##*/}.csv" "$sample"; done
STEPS

# /proc, /dev and its pts and shm, private to this namespace.
unshare --mount --propagation private bash -c '
  set -e
  root=$1
  mount -t proc proc "$root/proc"
  mount --rbind /dev "$root/dev"
  chroot "$root" bash /build/steps.sh "$2"
' - "$root" "$source"

# The same samples converted by this tree's own build, from the same
# relative names, so that the logs compare too.
expected=$(mktemp -d)
trap 'rm -rf "$expected"' EXIT
ln -s "$root/build/samples" "$expected/samples"
mkdir -p "$expected/converted"/{CSVFiles,HEXFiles,CHKFiles}
(
  cd "$expected/converted"
  "$host_cli" convert ../samples/*_*_* >log.txt
  for sample in ../samples/*_*_*; do "$host_cli" table -o "${sample##*/}.csv" "$sample"; done
)
diff -r "$expected/converted" "$root/build/converted" ||
  { echo "debian-chroot.sh: the $suite build writes other bytes" >&2; exit 1; }
echo "debian-chroot.sh: $suite builds, tests, passes lintian and autopkgtest, and converts byte for byte"
