#!/usr/bin/env bash
# Starts the protocol test peer detached: peer-start.sh PROGRAM DIR SCENARIO...
# DIR gets "ports" (scenario, port, message bytes per line), "pid", "stderr" and, once the
# peer has ended, "status" (its exit status). peer-stop.sh DIR stops it by that pid.
set -euo pipefail
program=$1 dir=$2
shift 2
mkdir -p "$dir"
if [ -f "$dir/pid" ] && [ ! -f "$dir/status" ]; then
  # A peer left over from an interrupted run: stop it by its own pid first.
  "$(dirname "$0")/peer-stop.sh" "$dir" >/dev/null 2>&1 || true
fi
rm -f "$dir/ports" "$dir/pid" "$dir/stderr" "$dir/status"
# The supervising shell records the exit status; nothing may hold the caller's pipes.
setsid bash -c '"$@" 2>"$0/stderr"; echo $? >"$0/status"' "$dir" \
  "$program" --ports-file "$dir/ports" --pid-file "$dir/pid" "$@" </dev/null >/dev/null 2>&1 &
for _ in $(seq 1 300); do
  if [ -f "$dir/ports" ]; then
    cat "$dir/ports"
    exit 0
  fi
  if [ -f "$dir/status" ]; then
    cat "$dir/stderr" >&2
    echo "the peer ended at once with status $(cat "$dir/status")" >&2
    exit 1
  fi
  sleep 0.1
done
echo "the peer did not get ready within 30 s" >&2
exit 1
