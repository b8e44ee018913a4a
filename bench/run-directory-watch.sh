#!/usr/bin/env bash
# A browse window showing a directory that another writer fills with
# 100 000 files, against the fill with no window. The directory is made
# under $BENCH_DIR (default: the system's temporary directory); a tmpfs
# keeps the disk's own behaviour after large deletes out of the figures.
set -euo pipefail
build=${1:?usage: run-directory-watch.sh RELEASE_BUILD_DIR [ENTRIES] [PAIRS]}
"$build/bench/bench_directory_watch" "${2:-100000}" "${3:-5}" "${BENCH_DIR:-${TMPDIR:-/tmp}}"
