#!/usr/bin/env bash
# Stops the protocol test peer started by peer-start.sh DIR, by its pid, and fails when it
# reported a malformed request (its exit status) or cannot be stopped.
set -uo pipefail
dir=$1
if [ ! -f "$dir/pid" ]; then
  echo "no peer pid in $dir" >&2
  exit 1
fi
pid=$(cat "$dir/pid")
kill -TERM "$pid" 2>/dev/null || true
for _ in $(seq 1 100); do
  [ -f "$dir/status" ] && break
  sleep 0.1
done
cat "$dir/stderr" >&2 2>/dev/null || true
if [ ! -f "$dir/status" ]; then
  echo "the peer (pid $pid) did not end" >&2
  exit 1
fi
status=$(cat "$dir/status")
if [ "$status" != 0 ]; then
  echo "the peer ended with status $status" >&2
  exit 1
fi
echo "the peer checked every request and ended cleanly"
