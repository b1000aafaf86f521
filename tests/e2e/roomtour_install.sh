#!/bin/sh
# End to end, as a person would: the desk tour from the disc installs the skin course
# into the folder it proposes (created on request) and then the skin set into a folder
# whose Japanese name has a 0x5C trail byte (表). Checked: the destination form's
# free-space figure is drive C's (statvfs), the unpacked files equal the archive's
# members as lhasa unpacks them, the two shortcuts and their desktop entries are valid,
# and each folder is opened with xdg-open (a stand-in on PATH that records it).
# Runs inside an X server (xvfb-run). Usage: roomtour_install.sh BUILD_DIR
set -eu
build=$1
. "$(dirname "$0")/lib.sh"
work=$(mktemp -d)
# The prefix goes on a quiet file system if there is one, so that drive C's free space
# does not move between the form's figure and the check.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then prefix_home=$(mktemp -d -p /dev/shm); else prefix_home=$work; fi
prog=""
trap 'kill $prog 2>/dev/null || true; rm -rf "$work"; [ "$prefix_home" = "$work" ] || rm -rf "$prefix_home"' EXIT
export VARNOOK_PREFIX="$prefix_home/prefix"
export XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config"
export LC_ALL=C.UTF-8

# The desktop's folder opener, recording what it is asked to open.
mkdir -p "$work/bin"
export VN_OPENED="$work/opened"
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >> "$VN_OPENED"\n' > "$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
export PATH="$work/bin:$PATH"

fail() { echo "FAIL: $*" >&2; exit 1; }
shot() { [ -n "${VN_E2E_SHOTS:-}" ] && import -window root "$VN_E2E_SHOTS/$1.png" || true; }

title="編集者持ち回り企画 カーサ霧丘の巻"
form_title="解凍先ﾌｫﾙﾀﾞｰの指定"
data="$build/disc/ROOMTOUR/Data"

# KB free to the user on a host folder's volume, as statvfs gives it.
free_kb() { set -- $(stat -f -c '%a %S' "$1"); echo $(($1 * $2 / 1024)); }

# The files of an archive as lhasa unpacks them, names turned from code page 932 into
# UTF-8, compared with an installed folder: the same names, the same bytes.
same_as_archive() {
  ref="$work/ref-$(basename "$1")"
  mkdir -p "$ref"
  lhasa xqw="$ref" "$1" || fail "lhasa could not unpack $1"
  expected=$(cd "$ref" && find . -type f | wc -l)
  [ "$expected" -gt 0 ] || fail "lhasa unpacked nothing from $1"
  got=$(cd "$2" && find . -type f | wc -l)
  [ "$got" -eq "$expected" ] || fail "$2 holds $got files, the archive $expected"
  (cd "$ref" && find . -type f) | while IFS= read -r member; do
    name=$(printf '%s' "$member" | iconv -f CP932 -t UTF-8) || { echo "$member (not code page 932)"; continue; }
    cmp -s "$ref/$member" "$2/$name" || echo "$name"
  done > "$work/mismatch"
  [ ! -s "$work/mismatch" ] || fail "in $2, not as in the archive: $(cat "$work/mismatch")"
}

# Answers the box of window $1 titled $2 with key $3 once it shows.
answer() {
  ans_owner=$1
  ans_title=$2
  wait_until '[ -n "$(other_window "$ans_owner" "$ans_title")" ]' || fail "no box titled $ans_title"
  ans_box=$(other_window "$ans_owner" "$ans_title")
  xdo windowfocus --sync "$ans_box"
  xdo key "$3"
  wait_until '! xdotool search --onlyvisible --name "$ans_title" 2>/dev/null | grep -qx "$ans_box"' ||
    fail "the box titled $ans_title stayed"
}

# Whether two paths name the same existing folder.
same_folder() { [ -d "$1" ] && [ -d "$2" ] && [ "$(cd "$1" && pwd -P)" = "$(cd "$2" && pwd -P)" ]; }

# Waits for the progress window (best effort: a small archive unpacks in a moment) and
# then for the completion box, which it answers.
complete_install() {
  n=0
  while [ $n -lt 50 ] && [ -z "$(visible "圧縮ﾌｧｲﾙの解凍")" ] && [ -z "$(other_window "$main" "$title")" ]; do
    sleep 0.05; n=$((n + 1))
  done
  [ -n "$(visible "圧縮ﾌｧｲﾙの解凍")" ] && shot "$1-progress"
  wait_until '[ -n "$(other_window "$main" "$title")" ]' || fail "no completion box"
  shot "$1-done"
  answer "$main" "$title" Return
}

cd "$build/disc/ROOMTOUR"
./roomtour &
prog=$!
main=$(window_named "$title")
sleep 0.5
[ -x "$(command -v lhasa)" ] || fail "lhasa is needed (scripts/deps)"

# ---- the skin course, into the proposed folder
before=$(free_kb "$VARNOOK_PREFIX/drive_c")
click_client "$main" 430 130
form=$(window_named "$form_title") || fail "no destination form"
after=$(free_kb "$VARNOOK_PREFIX/drive_c")
sleep 0.3
shot course-form
# The figure on screen is drive C's: the label drawn with that figure is the same picture.
set -- $(window_origin "$form")
import -window root -crop "117x13+$(($1 + 216))+$(($2 + 56))" +repage "$work/figure-shown.png"
matched=no
for kb in $before $after; do
  QT_QPA_PLATFORM=offscreen "$build/tests/vn_figure_label" "${kb}KB" "$work/figure-$kb.png" 2>/dev/null
  diff=$(compare -metric AE "$work/figure-shown.png" "$work/figure-$kb.png" null: 2>&1 || true)
  [ "$diff" = "0" ] && matched=yes
done
[ $matched = yes ] || fail "the free-space figure shown is not drive C's (${before}KB / ${after}KB)"

xdo windowfocus --sync "$form"
xdo key Return                                   # Start: the folder does not exist yet
answer "$form" "フォルダ作成の確認" y              # create it
complete_install course
course="$VARNOOK_PREFIX/drive_c/VARNOOK/MakeSkin"
wait_until '[ -s "$VN_OPENED" ]' || fail "no folder was opened"
same_folder "$(sed -n 1p "$VN_OPENED")" "$course" || fail "opened $(cat "$VN_OPENED"), not $course"
same_as_archive "$data/MakeSkin.lzh" "$course"

programs="$VARNOOK_PREFIX/drive_c/WINDOWS/スタート メニュー/プログラム/Varnook"
for name in "WINAMP用スキンの作り方講座" "WINAMP用スキンの作り方講座 Read Me"; do
  [ -f "$programs/$name.lnk" ] || fail "no shortcut $name.lnk"
  lnkinfo -c windows-932 "$programs/$name.lnk" > "$work/lnk.txt" 2>&1 || fail "lnkinfo refuses $name.lnk"
  grep -q 'VARNOOK\\MakeSkin\\' "$work/lnk.txt" || fail "$name.lnk points elsewhere: $(cat "$work/lnk.txt")"
  entry="$XDG_DATA_HOME/applications/varnook/Varnook/$name.desktop"
  [ -f "$entry" ] || fail "no desktop entry for $name"
  desktop-file-validate "$entry" || fail "the desktop entry of $name is not valid"
done

# ---- the skin set, into C:\ソフト表示\OriginalSkin (ソ and 表 end in byte 0x5C)
click_client "$main" 430 300
form=$(window_named "$form_title") || fail "no destination form for the skin set"
xdo windowfocus --sync "$form"
sleep 0.3
# Characters outside the keymap are typed by remapping a key for each one; a
# program busy for a moment would read a later mapping, so go slowly.
xdo type --delay 150 'C:\ソフト表示\OriginalSkin'   # the proposed text is selected: typed over
sleep 0.3
shot skinset-form
xdo key Return
answer "$form" "フォルダ作成の確認" y
complete_install skinset
skins="$VARNOOK_PREFIX/drive_c/ソフト表示/OriginalSkin"
wait_until '[ "$(wc -l < "$VN_OPENED")" -ge 2 ]' || fail "the skin set's folder was not opened"
same_folder "$(sed -n 2p "$VN_OPENED")" "$skins" || fail "opened $(sed -n 2p "$VN_OPENED"), not $skins"
same_as_archive "$data/Skin.lzh" "$skins"
[ "$(ls "$programs" | wc -l)" -eq 2 ] || fail "the skin set made shortcuts"

# ---- quit
click_client "$main" 60 402
answer "$main" "$title" y
wait_for_end $prog || fail "the desk tour did not end"
status=0
wait $prog || status=$?
[ $status -eq 0 ] || fail "the desk tour ended with status $status"
echo "installed: $course, $skins"
