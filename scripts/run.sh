#!/usr/bin/env bash
# Builds the demo (Release, in build/) and runs it from build/app, where its pictures are.
#   scripts/run.sh [SECONDS]
# With a usable display it opens the window there and runs until the window is closed or
# Escape or q is pressed. Without one it runs the demo on a private virtual display for
# SECONDS (default 8), prints its report lines, saves a screenshot of the window as
# build/screenshot.png and stops.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-8}"
if ! [[ "$seconds" =~ ^[0-9]+([.][0-9]+)?$ ]] || [[ "$seconds" =~ ^0+([.]0+)?$ ]]; then
  echo "run.sh: the run time must be a positive number of seconds, not '$seconds'" >&2
  exit 2
fi

display_usable() {
  [ -n "${DISPLAY:-}" ] && command -v xdpyinfo >/dev/null && xdpyinfo >/dev/null 2>&1
}

bash scripts/install-deps.sh build
display_usable || bash scripts/install-deps.sh display

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DFIGURES_WINDOW=ON >/dev/null
cmake --build build -j "$(nproc)"

if display_usable; then
  cd build/app
  exec ./figures
fi

echo "no usable display: running the demo on a virtual display for $seconds seconds"
work="$(mktemp -d)"
xvfb_pid=""
figures_pid=""
cleanup() {
  if [ -n "$figures_pid" ]; then
    kill "$figures_pid" 2>/dev/null || true
    wait "$figures_pid" 2>/dev/null || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Xvfb picks a free display number and writes it once it accepts clients.
Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp >"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 300); do
  [ -s "$work/display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.1
done
if ! [ -s "$work/display" ]; then
  echo "run.sh: the virtual display did not start:" >&2
  cat "$work/xvfb.log" >&2
  exit 1
fi
export DISPLAY=":$(head -n 1 "$work/display")"

cd build/app
./figures &
figures_pid=$!

# The window is titled with the program's argv[0].
window=""
for _ in $(seq 300); do
  window="$(xwininfo -name ./figures 2>/dev/null | awk '/Window id:/ {print $4}')" || true
  [ -n "$window" ] && break
  kill -0 "$figures_pid" 2>/dev/null || break
  sleep 0.1
done
if [ -z "$window" ]; then
  echo "run.sh: the demo did not open its window" >&2
  exit 1
fi

sleep "$seconds"
if ! kill -0 "$figures_pid" 2>/dev/null; then
  echo "run.sh: the demo ended early" >&2
  exit 1
fi
xwd -silent -id "$window" | xwdtopnm 2>/dev/null | pnmtopng >../screenshot.png
kill "$figures_pid"
wait "$figures_pid" 2>/dev/null || true
figures_pid=""
echo "screenshot of the window: build/screenshot.png"
