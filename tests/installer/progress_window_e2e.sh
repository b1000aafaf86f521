#!/bin/sh
# The progress window under a real X server while a large archive unpacks: the
# animation, the label and the bar must visibly move although the extraction runs on
# the window's own thread. The middle of the screen, where the window appears, is
# recorded while it unpacks and the recorded frames compared. Every wait is bounded by
# VN_E2E_PATIENCE seconds.
set -eu
build=$1
. "$(dirname "$0")/../e2e/lib.sh"
megabytes=${VN_DEMO_MB:-40}

work=$(mktemp -d)
recorder=""
trap '[ -n "$recorder" ] && kill "$recorder" 2>/dev/null; rm -rf "$work"' EXIT
export VARNOOK_PREFIX="$work/prefix"
"$build/tests/jinstbar_demo" make "$megabytes"

# One recorder at 25 frames a second, started before the window: the extraction begins
# as soon as the window is on screen. The window is centred on the 1024 x 768 screen.
mkdir "$work/frames"
left=237 top=259 width=550 height=250
timeout "$patience" ffmpeg -nostdin -loglevel error -f x11grab -framerate 25 -video_size "${width}x${height}" \
    -i "$DISPLAY+$left,$top" "$work/frames/f%05d.png" &
recorder=$!
wait_until '[ -f "$work/frames/f00002.png" ]'

"$build/tests/jinstbar_demo" show "$megabytes" > "$work/demo.out" 2>&1 &
demo=$!
win=$(window_named "圧縮ﾌｧｲﾙの解凍") || { cat "$work/demo.out" >&2; exit 1; }
# Where the window is; it may be gone already when the extraction is quick, and then it
# was where a centred 450 x 128 window is.
X=287 Y=320
if geometry=$(xdotool getwindowgeometry --shell "$win" 2>/dev/null); then
  eval "$geometry"
fi
wait_for_end "$demo"
kill -INT "$recorder" 2>/dev/null || true
wait "$recorder" 2>/dev/null || true
recorder=""
wait "$demo" || { echo "the extraction failed: $(cat "$work/demo.out")" >&2; exit 1; }
x=$((X - left)) y=$((Y - top))
[ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + 450)) -le "$width" ] && [ $((y + 128)) -le "$height" ] ||
  { echo "the window is not where it was recorded: $X,$Y" >&2; exit 1; }

# Distinct looks of one part of the window (x y w h) over the frames that show the
# window (before and after it, that part of the screen is one colour).
distinct() {
  for frame in "$work"/frames/f*.png; do
    if [ "$(convert "$frame" -crop "450x128+$x+$y" -format %k info:)" -gt 1 ]; then
      convert "$frame" -crop "$3x$4+$((x + $1))+$((y + $2))" +repage rgb:- | md5sum
    fi
  done | sort -u | wc -l
}
animation=$(distinct 16 8 272 60)
label=$(distinct 16 80 420 12)
bar=$(distinct 16 96 418 12)
echo "distinct animation frames: $animation, labels: $label, bars: $bar"
[ "$animation" -ge 3 ] || { echo "the animation did not move" >&2; exit 1; }
[ "$label" -ge 3 ] || { echo "the label did not change" >&2; exit 1; }
[ "$bar" -ge 3 ] || { echo "the bar did not move" >&2; exit 1; }
[ -f "$VARNOOK_PREFIX/drive_c/VARNOOK/Large/set0/file0.txt" ] || { echo "nothing unpacked" >&2; exit 1; }
echo "ok"
