#!/bin/sh
# End to end with the real launcher and the real clip player, as a person
# would use them: the launcher's clip button starts the clip player; a click
# on its start button; screenshots one, three and eight seconds later show the
# pressed look, then moving video with captions, then later captions; closing
# the window ends the player and the launcher's menu comes back. Then the
# player started from another folder still finds its clip and ends with
# status 0 when closed; a copy of it without its clip shows the error box, no
# window, and ends with a non-zero status.
# Runs inside an X server. Usage: clipview_play.sh BUILD_DIR
# VN_E2E_SHOTS=DIR keeps the screenshots there.
set -eu
build=$1
. "$(dirname "$0")/lib.sh"
work=$(mktemp -d)
launcher=""
prog=""
capturer=""
trap 'rm -f "$work/capturing"; kill $launcher $prog $capturer 2>/dev/null || true; rm -rf "$work"' EXIT
export VARNOOK_PREFIX="$work/prefix"
export VARNOOK_AUDIO=silent
shots=${VN_E2E_SHOTS:-$work/shots}
mkdir -p "$shots"

park="^バーヌークパーク\$"
title="^R5 Skyrun\$"
face="rgb(192,192,192)" # the button face behind the captions

click_at() {
  xdo mousemove "$1" "$2"
  sleep 0.1
  xdo mousedown 1
  sleep 0.1
  xdo mouseup 1
}
# Milliseconds since the epoch.
now_ms() { echo $(($(date +%s%N) / 1000000)); }
# Sleeps until $2 ms after the moment $1.
sleep_until() {
  left=$(($1 + $2 - $(now_ms)))
  [ $left -gt 0 ] && sleep "$(echo "$left" | awk '{ printf "%.3f", $1 / 1000 }')" || true
}
# shot NAME: the clip player's window, cut from a picture of the screen.
shot() {
  import -window root "$work/screen.png"
  convert "$work/screen.png" -crop "182x180+$wx+$wy" +repage "$shots/$1.png"
}
# differing A B [GEOMETRY]: how many pixels differ between two shots (or a part of them).
differing() {
  if [ $# -gt 2 ]; then
    convert "$1" -crop "$3" +repage "$work/a.png"
    convert "$2" -crop "$3" +repage "$work/b.png"
    set -- "$work/a.png" "$work/b.png"
  fi
  compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1 || true
}
# ink SHOT: how many pixels of the caption lines are not the button face.
ink() {
  convert "$1" -crop 162x29+10+140 +repage "$work/captions.png"
  convert -size 162x29 "xc:$face" "$work/blank.png"
  differing "$work/captions.png" "$work/blank.png"
}

# ---- from the launcher
cd "$build/disc"
./launcher &
launcher=$!
menu=$(window_named "$park")
eval "$(xdo getwindowgeometry --shell "$menu")"
click_at $((X + 525)) $((Y + 205)) # the clip player's button, third of three
main=$(window_named "$title")
wait_until '[ -z "$(visible "$park")" ]'
eval "$(xdo getwindowgeometry --shell "$main")"
wx=$X; wy=$Y
[ "$WIDTH" -eq 182 ] && [ "$HEIGHT" -eq 180 ] || { echo "the window is ${WIDTH}x$HEIGHT"; exit 1; }
sleep 0.5
shot start

# The window is captured over and over from just before the press until
# after eight seconds; each capture is named after the moments it began and
# ended. (On a busy machine every tool takes a while to start, so the looks
# are picked from these rather than taken at set times.)
capturing="$work/capturing"
touch "$capturing"
(
  while [ -e "$capturing" ]; do
    began=$(now_ms)
    xwd -id "$main" -silent > "$work/capture.xwd" 2>/dev/null || continue
    mv "$work/capture.xwd" "$work/cap-$began-$(now_ms).xwd"
  done
) &
capturer=$!
xdo mousemove $((wx + 150)) $((wy + 150))
sleep 0.5
before=$(now_ms)
xdo mousedown 1
pressed=$(now_ms)
xdo mouseup 1
sleep_until "$before" 9000
rm -f "$capturing"
wait $capturer

# look NAME FROM TO: the first capture made wholly between FROM and TO ms
# after the press (counted from just before it), kept as NAME.png.
look() {
  for f in $(ls "$work" | grep '^cap-' | sort -t- -k2 -n); do
    b=${f#cap-}; e=${b#*-}; b=${b%%-*}; e=${e%.xwd}
    if [ "$b" -ge $((before + $2)) ] && [ "$e" -le $((before + $3)) ]; then
      convert "xwd:$work/$f" "$shots/$1.png"
      return 0
    fi
  done
  echo "no capture between $2 and $3 ms after the press" >&2
  return 1
}
# Before the clip starts (a second after the press): the pressed look.
look after-1s $((pressed - before)) 950
look after-3s 3000 3600
look after-3.4s 3400 4200
look after-8s 8000 8400
look after-8.4s 8400 9000 || cp "$shots/after-8s.png" "$shots/after-8.4s.png"

# One second on: the pressed look, the picture's right half, and no captions yet.
convert "$build/disc-parts/clipview/Image1.bmp" -crop 182x180+182+0 +repage "$work/pressed.png"
convert "$build/disc-parts/clipview/Image1.bmp" -crop 182x180+0+0 +repage "$work/unpressed.png"
[ "$(differing "$shots/start.png" "$work/unpressed.png")" -eq 0 ] || { echo "the start screen is not the picture's left half"; exit 1; }
[ "$(differing "$shots/after-1s.png" "$work/pressed.png")" -lt 200 ] || { echo "no pressed look after one second"; exit 1; }
# Three seconds on: the clip plays in the panel (moving), with captions.
video=160x120+11+11
[ "$(differing "$shots/after-1s.png" "$shots/after-3s.png" "$video")" -gt 5000 ] || { echo "no video after three seconds"; exit 1; }
[ "$(differing "$shots/after-3s.png" "$shots/after-3.4s.png" "$video")" -gt 1000 ] || { echo "the video does not move"; exit 1; }
# The captions run on a timer of their own, which may lag the script a little:
# each look allows for 0.4 s of it (the short blank steps between captions).
captioned() { if [ "$(ink "$1")" -gt 100 ]; then echo "$1"; elif [ "$(ink "$2")" -gt 100 ]; then echo "$2"; fi; }
early=$(captioned "$shots/after-3s.png" "$shots/after-3.4s.png")
[ -n "$early" ] || { echo "no captions after three seconds"; exit 1; }
# Eight seconds on: later captions, and the video has moved on.
later=$(captioned "$shots/after-8s.png" "$shots/after-8.4s.png")
[ -n "$later" ] || { echo "no captions after eight seconds"; exit 1; }
[ "$(differing "$early" "$later" 162x29+10+140)" -gt 100 ] || { echo "the captions did not move on"; exit 1; }
[ "$(differing "$shots/after-3s.png" "$shots/after-8s.png" "$video")" -gt 5000 ] || { echo "the video stood still"; exit 1; }

# Closing the window ends the player; the launcher's menu comes back.
"$build/tests/vn_close_window" "$main"
wait_until '[ -z "$(visible "$title")" ]'
wait_until '[ -n "$(visible "$park")" ]'
menu=$(visible "$park")
"$build/tests/vn_close_window" "$menu"
wait_for_end $launcher || { echo "the launcher did not end"; exit 1; }
launcher=""

# ---- started from elsewhere: the clip beside the program is found
mkdir "$work/elsewhere"
cd "$work/elsewhere"
"$build/disc/CLIPVIEW/clipview" some arguments are ignored &
prog=$!
main=$(window_named "$title")
sleep 0.5
"$build/tests/vn_close_window" "$main"
wait_for_end $prog || { echo "the clip player did not end"; exit 1; }
status=0
wait $prog || status=$?
prog=""
[ $status -eq 0 ] || { echo "the clip player ended with status $status"; exit 1; }

# ---- a copy without its clip: the error box, no window, a failed status
mkdir "$work/bare"
cp "$build/disc/CLIPVIEW/clipview" "$work/bare/"
cd "$work/bare"
./clipview &
prog=$!
box=$(window_named "$title")
eval "$(xdo getwindowgeometry --shell "$box")"
[ "$WIDTH" -ne 182 ] || [ "$HEIGHT" -ne 180 ] || { echo "the main window showed"; exit 1; }
import -window root "$shots/missing-clip.png"
xdo windowfocus --sync "$box" || true
xdo key Return
wait_for_end $prog || { echo "the clip player did not end after its error"; exit 1; }
status=0
wait $prog || status=$?
prog=""
[ $status -ne 0 ] || { echo "a missing clip ended with status 0"; exit 1; }
echo "clip player done"
