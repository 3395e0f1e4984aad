# Shared pieces of the project's scripts (sourced, not run).
KY_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
KY_XVFB_PID=""

# Starts Xvfb on a free display when DISPLAY is unset; ky_stop_display ends it.
ky_start_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  local fd_file
  fd_file="$(mktemp)"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fd_file" >/dev/null 2>&1 &
  KY_XVFB_PID=$!
  local i
  for i in $(seq 1 100); do
    [ -s "$fd_file" ] && break
    sleep 0.1
  done
  export DISPLAY=":$(head -n1 "$fd_file")"
  rm -f "$fd_file"
}

ky_stop_display() {
  if [ -n "$KY_XVFB_PID" ]; then
    kill "$KY_XVFB_PID" 2>/dev/null || true
    wait "$KY_XVFB_PID" 2>/dev/null || true
    KY_XVFB_PID=""
  fi
}

# Configures and builds one preset; the log goes to build/<preset>.log.
ky_build() {
  local preset=$1 log="$KY_ROOT/build/$1.log"
  mkdir -p "$KY_ROOT/build"
  if ! { cmake --preset "$preset" && cmake --build --preset "$preset"; } >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "build of preset $preset failed; see $log" >&2
    return 1
  fi
}
