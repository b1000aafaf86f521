#!/bin/sh
# End to end, as a person would, with the fortune viewer from the disc:
#   1. started by the real launcher: title -> the menu's "back to the menu"
#      -> Yes, and the launcher's menu is back; started again: title -> one
#      cover in each column -> view -> wait for the fortune screen's buttons
#      -> quit -> Yes; the launcher ends, cleanly, and the viewer ended by
#      itself (the launcher did not have to stop it);
#   2. started by hand with a listening window as its launcher: the same way
#      to the fortune, then quit -> Yes; exactly one message "1428 0 0"
#      arrives and the viewer ends with status 0.
# Runs inside an X server (xvfb-run). Usage: oracle_fortune.sh BUILD_DIR
# With VN_E2E_SHOTS set to a folder, a screenshot of every screen (and of the
# reveal half-way) is written there.
set -eu
build=$1
. "$(dirname "$0")/lib.sh"
work=$(mktemp -d)
launcher=""
prog=""
listener=""
trap 'kill $launcher $prog $listener 2>/dev/null || true; rm -rf "$work"' EXIT
export VARNOOK_PREFIX="$work/prefix"

park="^バーヌークパーク\$"
title="朝比奈灯先生の『星見の小窓』"

shot() { [ -n "${VN_E2E_SHOTS:-}" ] && import -window root "$VN_E2E_SHOTS/$1.png" || true; }

click_at() {
  xdo mousemove "$1" "$2"
  sleep 0.1
  xdo mousedown 1
  sleep 0.1
  xdo mouseup 1
  sleep 0.4
}
# Clicks at a point of a window's client area.
click_in() {
  eval "$(xdo getwindowgeometry --shell "$1")"
  click_at $((X + $2)) $((Y + $3))
}
# The plain band at the bottom of every fortune picture.
band="#0B1030"
# The colour of one pixel of a window, as ImageMagick names it (#RRGGBB).
pixel_of() {
  import -window "$1" -crop "1x1+$2+$3" -depth 8 txt:- 2>/dev/null | sed -n 's/.*\(#[0-9A-Fa-f]\{6\}\).*/\1/p' | head -n 1
}

# From the title to the fortune screen with its buttons: one cover in each
# column (the third of the first column: fortune 3), then the view button.
to_the_fortune() {
  main=$1
  shot "$2-title"
  click_in "$main" 300 200                       # leave the title
  shot "$2-menu"
  click_in "$main" 81 247                        # column 1, row 3: "秋の夕暮れに"
  click_in "$main" 207 115                       # column 2, row 1
  click_in "$main" 333 181                       # column 3, row 2
  click_in "$main" 459 313                       # column 4, row 4
  shot "$2-ready"
  click_in "$main" 565 190                       # the view button
  sleep 0.45
  shot "$2-reveal"
  # The bottom-right corner is the last to turn: once it shows the fortune's
  # plain band the reveal is over, and the buttons appear over the band.
  wait_until '[ "$(pixel_of "$main" 595 415)" = "$band" ] && [ "$(pixel_of "$main" 87 391)" != "$band" ]'
  shot "$2-fortune"
}

# 1. With the real launcher.
cd "$build/disc"
./launcher 2> "$work/launcher.log" &
launcher=$!
menu=$(window_named "$park")
click_in "$menu" 320 200                         # the fortune viewer's button
main=$(window_named "$title")
wait_until '[ -z "$(visible "$park")" ]'
sleep 0.5
click_in "$main" 300 200                         # leave the title
click_in "$main" 267 387                         # back to the launcher's menu
echo "round 1: back to the launcher's menu"
answer_yes "$main" "$park"
wait_until '[ -z "$(visible "$title")" ]'
menu=$(window_named "$park")                     # the launcher's menu is back
click_in "$menu" 320 200
main=$(window_named "$title")
wait_until '[ -z "$(visible "$park")" ]'
echo "round 2: the launcher's menu was back, the viewer started again"
oracle=$(pgrep -P $launcher | head -n 1)
[ -n "$oracle" ] || { echo "the launcher started no program"; exit 1; }
sleep 0.5
to_the_fortune "$main" launcher
echo "round 2: the fortune's buttons are there"
click_in "$main" 87 391                          # quit
answer_yes "$main" "$park"
wait_for_end $launcher || { echo "the launcher did not end"; exit 1; }
status=0
wait $launcher || status=$?
launcher=""
[ $status -eq 0 ] || { echo "the launcher ended with status $status"; cat "$work/launcher.log"; exit 1; }
wait_until '! kill -0 "$oracle" 2>/dev/null' || { echo "the fortune viewer did not end"; exit 1; }
if grep -q "Destroyed while process" "$work/launcher.log"; then
  echo "the launcher had to stop the fortune viewer"
  exit 1
fi

# 2. By hand, with a listening window as the launcher.
handle=$((20000 + $$ % 20000))
"$build/tests/vn_listen" "$handle" "$work/stop" > "$work/messages" &
listener=$!
wait_until 'grep -q ready "$work/messages" 2>/dev/null'
cd "$build/disc/ORACLE"
./oracle "$handle" &
prog=$!
main=$(window_named "$title")
sleep 0.5
to_the_fortune "$main" by-hand
echo "by hand: the fortune's buttons are there"
click_in "$main" 87 391                          # quit
answer_yes "$main" "$park"
wait_for_end $prog || { echo "the fortune viewer did not end"; exit 1; }
status=0
wait $prog || status=$?
prog=""
[ $status -eq 0 ] || { echo "the fortune viewer ended with status $status"; exit 1; }
touch "$work/stop"
wait $listener || true
listener=""
got=$(grep -v ready "$work/messages" || true)
echo "messages: $got"
[ "$got" = "1428 0 0" ]
