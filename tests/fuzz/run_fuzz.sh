#!/usr/bin/env bash
# Runs one fuzz target of a sanitizer tree:
#   tests/fuzz/run_fuzz.sh NAME TREE [libFuzzer options...]
# NAME is gmm_read, speaker_read, tables, text_files or strings; TREE the
# tree built by tests/sanitizer_tree.cmake with KIND=address. The run starts
# from the seeds in tests/fuzz/corpus/NAME and keeps the inputs it finds in
# TREE/fuzz-corpus/NAME (the seeds are never written to); crashes and slow
# inputs are written to TREE/fuzz-findings/. Without options it fuzzes until
# stopped; -max_total_time=SECONDS or -runs=N end it sooner.
set -euo pipefail
# Every refused input rewrites the library's fixed /tmp/error.log. Where the
# system allows it (root, mount namespaces) the run gets a /tmp of its own,
# so that tests reading that file meanwhile are not disturbed; not when this
# script or the tree lies below /tmp, which the private /tmp would hide (the
# test command then relies on its lock on the error log instead).
below_tmp() { case $(realpath -m "$1") in /tmp/*) return 0 ;; *) return 1 ;; esac; }
if [ -z "${CK_FUZZ_OWN_TMP:-}" ] && [ "$(id -u)" = 0 ] &&
   ! below_tmp "$0" && ! below_tmp "${2:-.}" &&
   unshare --mount --propagation private true 2>/dev/null; then
  export CK_FUZZ_OWN_TMP=1
  exec unshare --mount --propagation private \
    sh -c 'mount -t tmpfs tmpfs /tmp 2>/dev/null; exec "$@"' sh "$0" "$@"
fi
name=$1
tree=$2
shift 2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
corpus="$tree/fuzz-corpus/$name"
findings="$tree/fuzz-findings"
mkdir -p "$corpus" "$findings"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
# An input that takes more than 10 s, or more than 2 GB, is a finding.
exec "$tree/tests/fuzz/fuzz_$name" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
  -artifact_prefix="$findings/$name-" -print_final_stats=1 "$@" "$corpus" "$here/corpus/$name"
