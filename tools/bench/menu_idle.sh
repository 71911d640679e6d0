#!/bin/sh
# The game idling in its main menu under a virtual X server: the share of one core it
# uses and its resident memory. Needs xvfb-run (the test dependencies).
#   tools/bench/menu_idle.sh [path/to/kestrin] [WIDTHxHEIGHT] [seconds]
set -eu
game=${1:-build/kestrin}
screen=${2:-640x360}
seconds=${3:-10}
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
export LIBGL_ALWAYS_SOFTWARE=${LIBGL_ALWAYS_SOFTWARE:-1}

xvfb-run -a -s "-screen 0 ${screen}x24" sh -c '
  "$1" >/dev/null 2>&1 &
  pid=$!
  sleep 4
  ticks() { awk "{ print \$14 + \$15 }" "/proc/$pid/stat"; }
  hz=$(getconf CLK_TCK)
  before=$(ticks)
  sleep "$2"
  after=$(ticks)
  rss=$(awk "/^VmRSS/ { print \$2 }" "/proc/$pid/status")
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  echo "menu idle at $3: $(( (after - before) * 100 / (hz * $2) )) % of a core, resident $(( rss / 1024 )) MB"
' sh "$game" "$seconds" "$screen"
