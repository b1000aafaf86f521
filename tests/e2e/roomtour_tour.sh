#!/bin/sh
# End to end, as a person would: start the desk tour from the disc with a
# launcher handle, click seat -> desk -> zoom -> menu -> quit, answer Yes, and
# expect exactly one "quit" message (1430 0 0) at the launcher's window.
# Runs inside an X server (xvfb-run). Usage: roomtour_tour.sh BUILD_DIR
set -eu
build=$1
. "$(dirname "$0")/lib.sh"
work=$(mktemp -d)
prog=""
listener=""
trap 'kill $prog 2>/dev/null || true; kill $listener 2>/dev/null || true; rm -rf "$work"' EXIT
export VARNOOK_PREFIX="$work/prefix"
handle=$((20000 + $$ % 20000))

"$build/tests/vn_listen" "$handle" "$work/stop" > "$work/messages" &
listener=$!
wait_until 'grep -q ready "$work/messages" 2>/dev/null'

cd "$build/disc/ROOMTOUR"
./roomtour "$handle" &
prog=$!

title="編集者持ち回り企画 カーサ霧丘の巻"
main=$(window_named "$title")
eval "$(xdo getwindowgeometry --shell "$main")"
ox=$X; oy=$Y
sleep 0.5

click() {
  xdo mousemove $((ox + $1)) $((oy + $2))
  sleep 0.1
  xdo mousedown 1
  sleep 0.1
  xdo mouseup 1
  sleep 0.6
}
shot() { [ -n "${VN_E2E_SHOTS:-}" ] && import -window root "$VN_E2E_SHOTS/$1.png" || true; }

shot menu
click 137 214   # the seating chart
shot chart
click 346 209   # seat S3_4: desk 14
shot desk
click 431 405   # to the zoom view
shot zoom
click 86 405    # back to the menu
click 60 402    # quit

# The confirmation: a second window with the same title. Answer Yes.
answer_yes "$main" "$title"

# The program ends by itself, and cleanly (a sanitizer build reports what it
# found at exit through the exit status).
wait_for_end $prog || { echo "the desk tour did not end"; exit 1; }
status=0
wait $prog || status=$?
[ $status -eq 0 ] || { echo "the desk tour ended with status $status"; exit 1; }
touch "$work/stop"
wait $listener || true

got=$(grep -v ready "$work/messages" || true)
echo "messages: $got"
[ "$got" = "1430 0 0" ]
