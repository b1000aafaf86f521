# Shared by the end-to-end scripts (sourced). Every wait is bounded: a window
# that never comes fails the script with a message instead of hanging it.
# The bound, VN_E2E_PATIENCE seconds (default 60), is generous because the
# programs may run in a sanitizer build that starts many times slower.
patience=${VN_E2E_PATIENCE:-60}

# xdotool, but never for longer than the bound.
xdo() { timeout "$patience" xdotool "$@"; }

# Polls a shell condition every 0.1 s until it holds or the bound passes.
wait_until() {
  deadline=$(($(date +%s) + patience))
  while :; do
    if eval "$1"; then return 0; fi
    [ "$(date +%s)" -lt "$deadline" ] || break
    sleep 0.1
  done
  echo "timed out after ${patience}s: $1" >&2
  return 1
}

# The first visible window whose title matches the pattern, or nothing.
visible() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }

# Waits for a visible window whose title matches the pattern and prints it.
window_named() {
  named_pattern=$1
  wait_until '[ -n "$(visible "$named_pattern")" ]' || { echo "no window named $named_pattern" >&2; return 1; }
  visible "$named_pattern"
}

# The first visible window with the title other than the main window: the
# main window's message box.
other_window() { xdotool search --onlyvisible --name "$2" 2>/dev/null | grep -v "^$1\$" | head -n 1; }

# Waits for the confirmation box of the main window $1 (title $2) and answers Yes.
answer_yes() {
  yes_main=$1
  yes_title=$2
  wait_until '[ -n "$(other_window "$yes_main" "$yes_title")" ]' || { echo "no confirmation box" >&2; return 1; }
  box=$(other_window "$yes_main" "$yes_title")
  xdo windowfocus --sync "$box"
  xdo key y
}

# Waits for a process to end.
wait_for_end() {
  end_pid=$1
  wait_until '! kill -0 "$end_pid" 2>/dev/null'
}

# The root coordinates of a window's client area, "X Y". Unlike xdotool's
# getwindowgeometry this is right under a window manager that adds a frame.
window_origin() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF } END { print x, y }'
}

# Clicks at a point of a window's client area, pressing and releasing as a person does.
click_client() {
  set -- $(window_origin "$1") "$2" "$3"
  xdo mousemove $(($1 + $3)) $(($2 + $4))
  sleep 0.1
  xdo mousedown 1
  sleep 0.1
  xdo mouseup 1
  sleep 0.5
}
