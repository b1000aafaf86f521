#!/bin/sh
# End to end, as a person would: start the desk tour from the disc with a
# launcher handle, click seat -> desk -> zoom -> menu -> quit, answer Yes, and
# expect exactly one "quit" message (1430 0 0) at the launcher's window.
# Runs inside an X server (xvfb-run). Usage: roomtour_tour.sh BUILD_DIR
set -eu
build=$1
work=$(mktemp -d)
trap 'kill $prog 2>/dev/null || true; kill $listener 2>/dev/null || true; rm -rf "$work"' EXIT
export VARNOOK_PREFIX="$work/prefix"
handle=$((20000 + $$ % 20000))

"$build/tests/vn_listen" "$handle" "$work/stop" > "$work/messages" &
listener=$!
while ! grep -q ready "$work/messages" 2>/dev/null; do sleep 0.05; done

cd "$build/disc/ROOMTOUR"
./roomtour "$handle" &
prog=$!

title="編集者持ち回り企画 カーサ霧丘の巻"
main=$(xdotool search --sync --onlyvisible --name "$title" | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$main")"
ox=$X; oy=$Y
sleep 0.5

click() {
  xdotool mousemove $((ox + $1)) $((oy + $2))
  sleep 0.1
  xdotool mousedown 1
  sleep 0.1
  xdotool mouseup 1
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
box=""
for _ in $(seq 1 50); do
  box=$(xdotool search --onlyvisible --name "$title" | grep -v "^$main\$" | head -n 1 || true)
  [ -n "$box" ] && break
  sleep 0.1
done
[ -n "$box" ] || { echo "no confirmation box"; exit 1; }
shot confirm
xdotool windowfocus --sync "$box"
xdotool key y

# The program ends by itself.
for _ in $(seq 1 100); do
  kill -0 $prog 2>/dev/null || break
  sleep 0.1
done
if kill -0 $prog 2>/dev/null; then echo "the desk tour did not end"; exit 1; fi
touch "$work/stop"
wait $listener || true

got=$(grep -v ready "$work/messages" || true)
echo "messages: $got"
[ "$got" = "1430 0 0" ]
