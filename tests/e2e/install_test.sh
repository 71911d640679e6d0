#!/usr/bin/env bash
# Installs the build into a temporary prefix and plays the installed game as a desktop user
# would: started through the desktop entry's command from another folder, it finds its data,
# reaches the main menu, switches the display with Alt+Enter and keeps that choice, plays a
# level file from the command line, and writes nothing but into the user's own folders.
# Usage: install_test.sh BUILD_FOLDER. Needs an X display (the suite runs under xvfb-run).
set -euo pipefail
build=$(cd "$1" && pwd)
id=io.kestrin.Kestrin
scratch=$(mktemp -d)
game=""
trap '[ -n "$game" ] && kill -TERM $game 2>/dev/null; rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; [ -f "$scratch/out.txt" ] && cat "$scratch/out.txt" >&2; exit 1; }

prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
for file in bin/kestrin share/kestrin/Assets/Assets.tsm share/kestrin/Level1.tmx \
  share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
  share/icons/hicolor/{32x32,64x64,128x128,256x256}/apps/$id.png; do
  [ -f "$prefix/$file" ] || fail "$file was not installed"
done
desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop entry"
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null ||
    fail "metainfo"
fi

export PATH=$prefix/bin:$PATH XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data
mkdir "$scratch/elsewhere" && cd "$scratch/elsewhere"
command=$(sed -n 's/^Exec=//p' "$prefix/share/applications/$id.desktop")

status=0
kestrin --no-such-option 2>err.txt >/dev/null || status=$?
[ "$status" = 2 ] && [ "$(wc -l <err.txt)" = 1 ] || fail "unknown option: status $status"

# Starts the game, waits for its window, runs the given steps, then closes it as the desktop
# does at logout and checks it ended cleanly without a missing file.
play() {
  $command "$@" >"$scratch/out.txt" 2>&1 &
  game=$!
  until xdotool search --limit 1 --name '^Kestrin$' >/dev/null; do
    kill -0 $game 2>/dev/null || fail "the game ended before its window showed"
    sleep 0.5
  done
  sleep 3
  [ -z "${altEnter:-}" ] || xdotool key alt+Return
  sleep 1
  kill -TERM $game
  wait $game || fail "exit status $?"
  game=""
  ! grep -Eiq 'cannot|failed' "$scratch/out.txt" || fail "a file was missing"
  grep -q 'MainMenu Destroy' "$scratch/out.txt" || fail "no main menu"
}

cp "$prefix/share/kestrin/Level2.tmx" mine.tmx
touch "$scratch/before"
altEnter=1 play
grep -q 'fullscreen = false' "$XDG_CONFIG_HOME/kestrin/settings.ini" || fail "Alt+Enter not kept"
altEnter="" play --level mine.tmx
grep -q 'fullscreen = false' "$XDG_CONFIG_HOME/kestrin/settings.ini" || fail "settings lost"
written=$(find "$prefix" . -newer "$scratch/before" ! -name .)
[ -z "$written" ] || fail "written beside the program or in the working folder: $written"
echo "installed game: ok"
