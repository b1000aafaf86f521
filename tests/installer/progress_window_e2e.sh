#!/bin/sh
# The progress window under a real X server while a large archive unpacks: the
# animation, the label and the bar must visibly move although the extraction runs on
# the window's own thread. Screenshots of the window are taken until it closes and their
# parts compared. Every wait is bounded by VN_E2E_PATIENCE seconds.
set -eu
build=$1
. "$(dirname "$0")/../e2e/lib.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VARNOOK_PREFIX="$work/prefix"

"$build/tests/jinstbar_demo" "${VN_DEMO_MB:-60}" > "$work/demo.out" 2>&1 &
demo=$!
win=$(window_named "圧縮ﾌｧｲﾙの解凍")

shots=0
while kill -0 "$demo" 2>/dev/null && [ $shots -lt 200 ]; do
  if timeout 5 xwd -silent -id "$win" -out "$work/shot$shots.xwd" 2>/dev/null; then
    shots=$((shots + 1))
  fi
done
wait_for_end "$demo"
[ -n "${VN_KEEP_SHOTS:-}" ] && cp "$work"/shot*.xwd "$VN_KEEP_SHOTS"/
wait "$demo" || { echo "the extraction failed: $(cat "$work/demo.out")" >&2; exit 1; }

# Distinct looks of one part of the window (x y w h) over the screenshots.
distinct() {
  for shot in "$work"/shot*.xwd; do
    if part=$(convert "xwd:$shot" -crop "$3x$4+$1+$2" +repage rgb:- 2>/dev/null | md5sum) && \
       convert "xwd:$shot" info: >/dev/null 2>&1; then
      echo "$part"
    fi
  done | sort -u | wc -l
}
animation=$(distinct 16 8 272 60)
label=$(distinct 16 80 420 12)
bar=$(distinct 16 96 418 12)
echo "screenshots: $shots; distinct animation frames: $animation, labels: $label, bars: $bar"
[ "$shots" -ge 3 ] || { echo "too few screenshots during the extraction" >&2; exit 1; }
[ "$animation" -ge 2 ] || { echo "the animation did not move" >&2; exit 1; }
[ "$label" -ge 2 ] || { echo "the label did not change" >&2; exit 1; }
[ "$bar" -ge 2 ] || { echo "the bar did not move" >&2; exit 1; }
[ -f "$VARNOOK_PREFIX/drive_c/VARNOOK/Large/set0/file0.txt" ] || { echo "nothing unpacked" >&2; exit 1; }
echo "ok"
