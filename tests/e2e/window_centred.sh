#!/bin/sh
# End to end: under a window manager that frames windows, the desk tour's
# window, frame included, sits in the middle of a 1024 x 768 screen, and its
# client area is 600 x 420. Runs inside an X server (xvfb-run).
# Usage: window_centred.sh BUILD_DIR
set -eu
build=$1
. "$(dirname "$0")/lib.sh"
work=$(mktemp -d)
prog=""
wm=""
trap 'kill $prog 2>/dev/null || true; kill $wm 2>/dev/null || true; rm -rf "$work"' EXIT
export VARNOOK_PREFIX="$work/prefix"

command -v openbox >/dev/null || { echo "openbox is needed for this check" >&2; exit 1; }
openbox --config-file /dev/null >/dev/null 2>&1 &
wm=$!
wait_until 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"'

cd "$build/disc/ROOMTOUR"
./roomtour &
prog=$!
main=$(window_named "編集者持ち回り企画 カーサ霧丘の巻")

# The frame extents arrive once the manager has framed the window; the
# program centres itself again then, so wait for the position to settle.
# (xwininfo, not xdotool: xdotool counts a reparented window's offset twice.)
extents() { xprop -id "$main" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= *//p' | tr -d ' '; }
geometry() {
  xwininfo -id "$main" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
    /^ *Width:/ {w=$NF} /^ *Height:/ {h=$NF} END {print "X=" x " Y=" y " WIDTH=" w " HEIGHT=" h}'
}
wait_until '[ -n "$(extents)" ]'
last=""
settled=0
deadline=$(($(date +%s) + patience))
while [ "$settled" -lt 5 ] && [ "$(date +%s)" -lt "$deadline" ]; do
  now=$(geometry)
  if [ "$now" = "$last" ]; then settled=$((settled + 1)); else settled=0; fi
  last=$now
  sleep 0.1
done

eval "$(geometry)"
IFS=, read -r left right top bottom <<EXTENTS
$(extents)
EXTENTS
echo "client ${WIDTH}x${HEIGHT} at $X,$Y; frame extents $left,$right,$top,$bottom"
[ "$WIDTH" -eq 600 ] && [ "$HEIGHT" -eq 420 ] || { echo "client area is not 600 x 420" >&2; exit 1; }
outer_left=$((X - left))
outer_top=$((Y - top))
outer_width=$((WIDTH + left + right))
outer_height=$((HEIGHT + top + bottom))
dx=$((2 * outer_left + outer_width - 1024))
dy=$((2 * outer_top + outer_height - 768))
# Twice the offset of the window's centre from the screen's: at most one
# pixel off either way, for odd sizes.
[ "$dx" -ge -1 ] && [ "$dx" -le 1 ] || { echo "not centred across: twice the offset is $dx" >&2; exit 1; }
[ "$dy" -ge -1 ] && [ "$dy" -le 1 ] || { echo "not centred down: twice the offset is $dy" >&2; exit 1; }

xdo windowclose "$main" >/dev/null 2>&1 || true
kill $prog 2>/dev/null || true
echo "window centred"
