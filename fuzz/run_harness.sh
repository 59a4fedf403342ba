#!/usr/bin/env bash
# run_harness.sh HARNESS SEED_DIR SECONDS: fuzzes from the seeds for a bounded
# time, keeping new inputs in a scratch folder (the seeds stay as committed).
set -euo pipefail
harness=$1 seeds=$2 seconds=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$harness" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="${ORCALC_FUZZ_ARTIFACTS:-$work/}" "$work" "$seeds"
