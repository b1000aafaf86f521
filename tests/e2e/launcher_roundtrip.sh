#!/bin/sh
# End to end with the real launcher: its desk-tour button starts the tour,
# "back to the launcher" brings the menu back, the tour again, then "quit"
# ends the launcher too. Runs inside an X server. Usage: launcher_roundtrip.sh BUILD_DIR
set -eu
build=$1
work=$(mktemp -d)
trap 'kill $launcher 2>/dev/null || true; pkill -P $$ 2>/dev/null || true; rm -rf "$work"' EXIT
export VARNOOK_PREFIX="$work/prefix"

cd "$build/disc"
./launcher &
launcher=$!

park="バーヌークパーク"
tour="編集者持ち回り企画 カーサ霧丘の巻"
menu=$(xdotool search --sync --onlyvisible --name "^$park\$" | head -n 1)

click_at() {
  xdotool mousemove "$1" "$2"
  sleep 0.1
  xdotool mousedown 1
  sleep 0.1
  xdotool mouseup 1
  sleep 0.5
}
# Clicks at a point of a window.
click_in() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  click_at $((X + $2)) $((Y + $3))
}
visible() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
wait_until() { for _ in $(seq 1 100); do if eval "$1"; then return 0; fi; sleep 0.1; done; echo "timed out: $1"; return 1; }
answer_yes() {
  main=$1
  box=""
  for _ in $(seq 1 50); do
    box=$(xdotool search --onlyvisible --name "$tour" | grep -v "^$main\$" | head -n 1 || true)
    [ -n "$box" ] && break
    sleep 0.1
  done
  [ -n "$box" ] || { echo "no confirmation box"; return 1; }
  xdotool windowfocus --sync "$box"
  xdotool key y
}

# The launcher's first button starts the desk tour; the menu goes away.
click_in "$menu" 120 200
main=$(xdotool search --sync --onlyvisible --name "$tour" | head -n 1)
wait_until '[ -z "$(visible "^$park\$")" ]'

# Back to the launcher.
click_in "$main" 160 402
answer_yes "$main"
wait_until '[ -n "$(visible "^$park\$")" ]'
wait_until '[ -z "$(visible "$tour")" ]'
kill -0 $launcher

# Again, and this time quit: the launcher ends as well.
menu=$(visible "^$park\$")
click_in "$menu" 120 200
main=$(xdotool search --sync --onlyvisible --name "$tour" | head -n 1)
click_in "$main" 60 402
answer_yes "$main"
for _ in $(seq 1 100); do kill -0 $launcher 2>/dev/null || break; sleep 0.1; done
if kill -0 $launcher 2>/dev/null; then echo "the launcher did not end"; exit 1; fi
echo "round trip done"
