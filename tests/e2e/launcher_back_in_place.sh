#!/bin/sh
# End to end under a window manager, which places every newly shown window
# itself: the launcher's menu, hidden while the desk tour runs, comes back
# where it was after "back to the launcher"; and when the tour's "quit" ends
# the launcher, the tour is let finish first. Runs inside an X server.
# Usage: launcher_back_in_place.sh BUILD_DIR
set -eu
build=$1
. "$(dirname "$0")/lib.sh"
work=$(mktemp -d)
launcher=""
wm=""
trap 'kill $launcher $wm 2>/dev/null || true; rm -rf "$work"' EXIT
export VARNOOK_PREFIX="$work/prefix"

openbox --sm-disable >/dev/null 2>&1 &
wm=$!
wait_until 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"' || { echo "no window manager"; exit 1; }

cd "$build/disc"
./launcher 2>"$work/launcher.err" &
launcher=$!

park="^バーヌークパーク\$"
tour="編集者持ち回り企画 カーサ霧丘の巻"

menu=$(window_named "$park")
# Wait until the window manager has placed it, then note where.
wait_until '[ "$(window_origin "$menu")" != "0 0" ]'
sleep 0.5
before=$(window_origin "$menu")

click_client "$menu" 120 200
main=$(window_named "$tour")
wait_until '[ -z "$(visible "$park")" ]'
sleep 0.5
click_client "$main" 160 402
answer_yes "$main" "$tour"
wait_until '[ -n "$(visible "$park")" ]'
menu=$(visible "$park")
sleep 0.5
after=$(window_origin "$menu")
[ "$after" = "$before" ] || { echo "the menu was at $before and came back at $after"; exit 1; }

# Quit from the tour: the launcher ends, and only after the tour has.
click_client "$menu" 120 200
main=$(window_named "$tour")
sleep 0.5
click_client "$main" 60 402
answer_yes "$main" "$tour"
wait_for_end $launcher || { echo "the launcher did not end"; exit 1; }
status=0
wait $launcher || status=$?
[ $status -eq 0 ] || { echo "the launcher ended with status $status"; exit 1; }
if grep -q "Destroyed while process" "$work/launcher.err"; then
  echo "the launcher ended before the tour:"; cat "$work/launcher.err"; exit 1
fi
echo "back in place at $after, and the tour ended before the launcher"
