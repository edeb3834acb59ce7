# Shared by the real-display tests, sourced inside the X server that
# xvfb-run started: a window manager, and where a window lies with its frame.

# Starts openbox and waits (at most 5 s) until it manages the screen.
start_window_manager() {
  openbox >/dev/null 2>&1 &
  for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    sleep 0.1
  done
  return 1
}

# Prints "left top right bottom" of window $1 with its frame: xwininfo gives
# the client area, the frame's extents are the window manager's. A window
# the manager has not framed yet has no extents: "unframed".
frame_of() {
  local info x y w h left right top bottom extents
  extents=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null)
  if ! [[ "$extents" =~ =\ *([0-9]+),\ *([0-9]+),\ *([0-9]+),\ *([0-9]+) ]]; then
    echo unframed
    return
  fi
  read -r left right top bottom <<<"${BASH_REMATCH[*]:1}"
  info=$(xwininfo -id "$1")
  x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
  y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
  w=$(sed -n 's/^ *Width: *//p' <<<"$info")
  h=$(sed -n 's/^ *Height: *//p' <<<"$info")
  echo "$((x - left)) $((y - top)) $((x + w + right)) $((y + h + bottom))"
}

# Prints the frame of window $1 once it is "$2" (the program fits it when
# the window manager has framed it), or as it is after 15 s ("unframed" if
# the manager never framed it). A machine busy with other tests can take
# seconds between the frame and the program's fitting of it.
frame_when() {
  local frame
  for _ in $(seq 150); do
    frame=$(frame_of "$1")
    [ "$frame" = "$2" ] && break
    sleep 0.1
  done
  echo "$frame"
}

# Prints the id of a visible window of process $pid whose name matches $1
# (a regular expression), other than window $3; waits $2 tries of 0.1 s
# (default 20 s). Dialogs that share a title are told apart by $3.
wait_program_window() {
  local id
  for _ in $(seq "${2:-200}"); do
    for id in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
      [ "$id" = "${3:-}" ] && continue
      [ "$(xdotool getwindowpid "$id" 2>/dev/null)" = "$pid" ] && { echo "$id"; return 0; }
    done
    sleep 0.1
  done
  return 1
}

# Prints the id of a visible window of the program started as $pid whose
# name matches $1, waiting $2 tries of 0.1 s (default 200: 20 s).
wait_window() {
  wait_program_window "$1" "${2:-200}" ""
}

# Answers message box $1 with its default button (Enter).
answer_box() {
  xdotool windowactivate --sync "$1" >/dev/null 2>&1
  xdotool key Return
  sleep 0.3
}

# Quits the program of main window $1 (process $pid) by 文件 → 退出 and
# waits (at most 5 s) for it to end; false when it is still running.
quit_by_menu() {
  xdotool windowactivate --sync "$1" >/dev/null 2>&1
  xdotool key --clearmodifiers alt+f
  sleep 0.3
  xdotool key x
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || return 0; sleep 0.1; done
  return 1
}
