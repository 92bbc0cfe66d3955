#!/usr/bin/env bash
# Converts every day file under ARCHIVE to sheets with GNU parallel, in
# batches of 500 names that each fenmarq-cli reads from its standard input;
# the outputs go to CSVFiles, HEXFiles and CHKFiles under the current folder.
# Usage: parallel_convert.sh ARCHIVE [HOSTS]
#   HOSTS: a parallel --sshlogin list ("h1,h2,:"); every host must see ARCHIVE
#   and the current folder at the same paths (a shared file system) and have
#   fenmarq-cli on its PATH. Without HOSTS the jobs run here, one per core.
set -euo pipefail
archive=$1
hosts=(); [ $# -gt 1 ] && hosts=(--sshlogin "$2" --workdir "$PWD")
# One fenmarq-cli per core of each host (--jobs 1 each): parallel spreads the
# batches, each fenmarq-cli converts its batch on one thread.
find "$archive" -type f -name '[as][mf][dc]_*_*.*' -print |
  parallel "${hosts[@]}" --pipe -N 500 --halt soon,fail=1 \
    fenmarq-cli convert --make-dirs --jobs 1 --files-from - >/dev/null
