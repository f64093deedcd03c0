#!/usr/bin/env bash
# Fuzzes for a bounded time, starting from the committed seeds; new finds go to WORK_CORPUS so
# the seeds stay as committed. Fails on the first crash or broken promise.
#   run_fuzzer.sh FUZZER SECONDS WORK_CORPUS
set -euo pipefail
fuzzer=$1
seconds=$2
work=$3
here=$(cd "$(dirname "$0")" && pwd)
# Crashes and their kin are written beside the work corpus, in the build tree.
mkdir -p "$work" "$work/../artefacts"
"$fuzzer" -artifact_prefix="$work/../artefacts/" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=4096 \
  -dict="$here/core.dict" -print_final_stats=1 "$work" "$here/corpus"
