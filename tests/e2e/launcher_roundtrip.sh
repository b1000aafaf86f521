#!/bin/sh
# End to end with the real launcher: its desk-tour button starts the tour,
# "back to the launcher" brings the menu back, the tour again, then "quit"
# ends the launcher too. Runs inside an X server. Usage: launcher_roundtrip.sh BUILD_DIR
set -eu
build=$1
. "$(dirname "$0")/lib.sh"
work=$(mktemp -d)
launcher=""
trap 'kill $launcher 2>/dev/null || true; pkill -P $$ 2>/dev/null || true; rm -rf "$work"' EXIT
export VARNOOK_PREFIX="$work/prefix"

cd "$build/disc"
./launcher &
launcher=$!

park="^バーヌークパーク\$"
tour="編集者持ち回り企画 カーサ霧丘の巻"

click_at() {
  xdo mousemove "$1" "$2"
  sleep 0.1
  xdo mousedown 1
  sleep 0.1
  xdo mouseup 1
  sleep 0.5
}
# Clicks at a point of a window.
click_in() {
  eval "$(xdo getwindowgeometry --shell "$1")"
  click_at $((X + $2)) $((Y + $3))
}

# The launcher's first button starts the desk tour; the menu goes away.
menu=$(window_named "$park")
click_in "$menu" 120 200
main=$(window_named "$tour")
wait_until '[ -z "$(visible "$park")" ]'

# Back to the launcher. The menu takes the next click at once, while the
# tour may still be ending (a sanitizer build checks its memory at exit).
click_in "$main" 160 402
answer_yes "$main" "$tour"
wait_until '[ -n "$(visible "$park")" ]'
wait_until '[ -z "$(visible "$tour")" ]'
kill -0 $launcher

# Again, and this time quit: the launcher ends as well.
menu=$(window_named "$park")
click_in "$menu" 120 200
main=$(window_named "$tour")
click_in "$main" 60 402
answer_yes "$main" "$tour"
wait_for_end $launcher || { echo "the launcher did not end"; exit 1; }
status=0
wait $launcher || status=$?
[ $status -eq 0 ] || { echo "the launcher ended with status $status"; exit 1; }
echo "round trip done"
