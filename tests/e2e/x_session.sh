# Sourced by the end-to-end scripts: an X server of its own (and, if asked, a window manager) for
# one test, torn down on exit.
#   start_x_server [WxH]      sets DISPLAY to a fresh Xvfb (1024x768 unless WxH is given)
#   start_window_manager RC   starts openbox with the configuration file RC
#   stop_window_manager       ends it (the X server goes on without one)
#   start_program TITLE CMD.. starts CMD (output in $work/app.log), waits for its window titled
#                             TITLE; sets app_pid and window
#   fail MESSAGE              ends the test as failed
# The caller sets $work to a temporary folder first and may add PIDs to x_session_pids.
x_session_pids=()
x_session_cleanup() {
  local pid
  for pid in "${x_session_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap x_session_cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

start_x_server() {
  # Xvfb picks a free display itself and reports it, so parallel runs never share a server.
  exec 3>"$work/display"
  Xvfb -displayfd 3 -screen 0 "${1:-1024x768}x24" -nolisten tcp >"$work/xvfb.log" 2>&1 &
  x_session_pids+=($!)
  exec 3>&-
  for _ in $(seq 100); do [[ -s "$work/display" ]] && break; sleep 0.1; done
  [[ -s "$work/display" ]] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  DISPLAY=":$(head -1 "$work/display")"
  export DISPLAY
  xdpyinfo >/dev/null 2>&1 || fail "Xvfb on $DISPLAY does not answer"
  unset QT_QPA_PLATFORM
}

start_window_manager() {
  # openbox reads its configuration after changing its folder: give it an absolute path. A
  # window manager that could not take the display is started again (twice at most).
  local attempt
  for attempt in 1 2 3; do
    openbox --sm-disable --config-file "$(realpath "$1")" >"$work/openbox.log" 2>&1 &
    local pid=$!
    x_session_pids+=("$pid")
    wm_pid=$pid
    for _ in $(seq 100); do
      kill -0 "$pid" 2>/dev/null || break
      xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
      sleep 0.1
    done
    sleep 0.5
  done
  fail "openbox did not start: $(cat "$work/openbox.log")"
}

stop_window_manager() {
  kill "$wm_pid" 2>/dev/null || true
  for _ in $(seq 50); do kill -0 "$wm_pid" 2>/dev/null || return 0; sleep 0.1; done
  fail "openbox did not end"
}

start_program() {
  local title=$1
  shift
  "$@" >"$work/app.log" 2>&1 &
  app_pid=$!
  x_session_pids+=("$app_pid")
  window=$(timeout 30 xdotool search --sync --onlyvisible --name "$title" | head -1)
  [[ -n "$window" ]] || fail "the window \"$title\" did not appear: $(cat "$work/app.log")"
}

# drag_right_edge_left WINDOW Y_OFFSET: presses the window's right edge Y_OFFSET pixels below its
# top and drags it 100 pixels to the left in five steps, through whatever window manager runs.
# Leaves the width before in width0 and the window's geometry after in WIDTH, HEIGHT, X, Y.
drag_right_edge_left() {
  local edge_x edge_y step
  eval "$(xdotool getwindowgeometry --shell "$1")"
  width0=$WIDTH
  edge_x=$((X + WIDTH - 2)); edge_y=$((Y + $2))
  xdotool mousemove "$edge_x" "$edge_y"
  sleep 0.3
  xdotool mousedown 1
  sleep 0.3
  for step in 1 2 3 4 5; do
    xdotool mousemove $((edge_x - 20 * step)) "$edge_y"
    sleep 0.05
  done
  xdotool mouseup 1
  sleep 0.8
  eval "$(xdotool getwindowgeometry --shell "$1")"
}
