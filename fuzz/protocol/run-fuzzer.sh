#!/usr/bin/env bash
# Runs one protocol fuzzer for a bounded time from the seed corpus.
# Usage: run-fuzzer.sh <fuzzer> <seed generator> <work dir> <seconds> [libFuzzer options...]
# Fails on a crash, leak, sanitizer report or an input that takes over a second.
set -euo pipefail
fuzzer=$1 seedgen=$2 work=$3 seconds=$4
shift 4
name=$(basename "$fuzzer")
mkdir -p "$work/corpus" "$work/seeds" "$work/artifacts"
"$seedgen" "$name" "$work/seeds"
exec "$fuzzer" -max_total_time="$seconds" -timeout=1 -rss_limit_mb=2048 -max_len=16384 \
  -print_final_stats=1 -artifact_prefix="$work/artifacts/" "$@" "$work/corpus" "$work/seeds"
