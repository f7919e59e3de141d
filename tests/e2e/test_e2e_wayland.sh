#!/usr/bin/env bash
# End-to-end on Wayland: a Wayland compositor (weston, drawing into a window of its own in Xvfb, so
# that xdotool's pointer reaches it) runs the gallery and the exam window with Qt's Wayland
# platform. A client cannot read or set its place there, so the test finds the window in the
# compositor's picture (everything but the black background). The gallery is moved and sized from
# its caption and from the keyboard, maximised and restored from its caption (it survives, and its
# size comes back) and closed from its window menu; the exam window is moved and closed; the MDI
# demonstration raises its pop-up notice, which shows in the window's corner and leaves the window
# active.
#   test_e2e_wayland.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build_dir=$1
work=$(mktemp -d)
source "$(dirname "$0")/x_session.sh"
start_x_server 1600x1200

# The compositor: its own runtime folder, a black desktop without a panel, no animations.
mkdir -m 0700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime" WAYLAND_DISPLAY=kav-e2e
cat >"$work/weston.ini" <<'INI'
[core]
idle-time=0
[shell]
background-color=0xff000000
panel-position=none
locking=false
animation=none
close-animation=none
focus-animation=none
INI
output_width=1500 output_height=1150
weston --config="$work/weston.ini" --backend=x11-backend.so --use-pixman --width=$output_width \
  --height=$output_height --socket="$WAYLAND_DISPLAY" >"$work/weston.log" 2>&1 &
x_session_pids+=($!)
for _ in $(seq 100); do grep -q "window id" "$work/weston.log" && [[ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ]] && break; sleep 0.1; done
compositor=$(grep -o "window id [0-9]*" "$work/weston.log" | awk '{print $3}')
[[ -n "$compositor" && -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ]] || fail "weston did not start: $(cat "$work/weston.log")"
# The X pointer starts inside the compositor's window, and the compositor follows it only from the
# moment it enters: until then it keeps its own pointer in the corner and hands presses there.
xdotool mousemove 1590 1190
sleep 0.3
xdotool mousemove --window "$compositor" $((output_width / 2)) $((output_height / 2))
sleep 0.3

# The client window's box in the compositor's output, "WIDTH HEIGHT X Y": the bounding box of what
# is not background. The compositor draws the pointer into its picture, so the pointer is put in the
# middle of a first measure (inside the window) and the box measured again.
measure() {
  sleep 0.2
  import -window "$compositor" "$work/output.png"
  convert "$work/output.png" -trim -format '%w %h %X %Y\n' info: | tr -d '+'
}
box() {
  local w h x y
  read -r w h x y < <(measure)
  [[ "$w $h $x $y" =~ ^[0-9]+\ [0-9]+\ [0-9]+\ [0-9]+$ ]] || { echo "0 0 0 0"; return; } # nothing shown yet
  xdotool mousemove --window "$compositor" $((x + w / 2)) $((y + h / 2))
  measure
}
wait_until() { # wait_until SECONDS COMMAND...: true once the command succeeds
  local tries=$(($1 * 5)); shift
  for _ in $(seq "$tries"); do "$@" && return 0; sleep 0.2; done
  return 1
}
shown() { read -r w h x y < <(box) && [[ $w -gt 200 && $h -gt 100 ]]; }
moved_by() { read -r w h x y < <(box) && [[ $((x - $3)) -ge $(($1 - 15)) && $((x - $3)) -le $(($1 + 5)) && $((y - $4)) -ge $(($2 - 15)) && $((y - $4)) -le $(($2 + 5)) ]]; }
size_is() { read -r w h x y < <(box) && [[ $w -eq $1 && $h -eq $2 ]]; }
# Within the window's border (a border as dark as the background does not count in the box).
fills_output() { read -r w h x y < <(box) && [[ $w -ge $((output_width - 2)) && $h -ge $((output_height - 2)) ]]; }
alive() { kill -0 "$app_pid" 2>/dev/null || fail "the program ended: $(cat "$work/app.log")"; }
# Pointer actions in output coordinates.
drag() { # drag X Y DX DY: point (and let the client see it there), press, move in ten steps, release
  # In two steps: the compositor takes its pointer from the X server's motion events, and the
  # last of a jump is not always the one it keeps.
  xdotool mousemove --window "$compositor" $(($1 - 20)) $(($2 + 3))
  sleep 0.2
  xdotool mousemove --window "$compositor" "$1" "$2"
  sleep 0.4
  xdotool mousedown 1
  sleep 0.2
  for step in 1 2 3 4 5 6 7 8 9 10; do
    xdotool mousemove --window "$compositor" $(($1 + $3 * step / 10)) $(($2 + $4 * step / 10))
    sleep 0.05
  done
  xdotool mouseup 1
}
# drag_by X_OFFSET Y_OFFSET DX DY WHAT: drag from a point of the caption (offsets from the window's
# top left) and expect the window to follow. Under load the compositor now and then keeps a motion
# event out of order and starts the move from a stale pointer; a drag that went astray is tried
# again from where the window now is, at most twice, and said so.
drag_by() {
  local attempt
  for attempt in 1 2 3; do
    read -r width height left top < <(box)
    drag $((left + $1)) $((top + $2)) "$3" "$4"
    wait_until 5 moved_by "$3" "$4" "$left" "$top" && return 0
    echo "note: drag $attempt of the $5 by ($3, $4) from ($left, $top) ended at ($(box)); trying again" >&2
    sleep 1
  done
  fail "dragging the caption of the $5 by ($3, $4) moved it from ($left, $top) to ($(box))"
}
double_click() { xdotool mousemove --window "$compositor" "$1" "$2" click --repeat 2 --delay 80 1; }
run_client() { # run_client LOG PROGRAM ARGS...
  local log=$1
  shift
  QT_QPA_PLATFORM=wayland "$@" >"$log" 2>&1 &
  app_pid=$!
  x_session_pids+=("$app_pid")
  wait_until 20 shown || fail "the window did not show on Wayland: $(cat "$log")"
  sleep 0.5
  read -r width height left top < <(box)
}
ended() { ! kill -0 "$app_pid" 2>/dev/null; }

# The gallery (MacOS look: a 23-pixel title bar, its close button 14 pixels from the right edge).
# Pointer actions aim at the lower rows of the caption: now and then the compositor hands the
# client a press up to 12 pixels above where the X pointer is.
run_client "$work/app.log" "$build_dir/tools/gallery/kav-gallery" --look MacOS
drag_by 300 18 100 60 gallery
read -r width height left top < <(box)
# Sizing from the keyboard (the window menu's Size; Move is off on Wayland): 10 steps of 10 pixels.
# The menu is given a second to open: on a busy machine a letter typed sooner goes to the window.
window_menu() { xdotool key alt+space; sleep 1; xdotool key "$1"; sleep 0.3; }
# The keyboard goes to the window the compositor last gave it to: a click on the caption first.
focus_by_caption() {
  read -r width height left top < <(box)
  xdotool mousemove --window "$compositor" $((left + 200)) $((top + 18))
  sleep 0.3
  xdotool click 1
  sleep 0.5
}
close_from_window_menu() { # close_from_window_menu WHAT: a Close that found no menu open is tried once more
  focus_by_caption
  window_menu c
  wait_until 10 ended && return 0
  echo "note: the window menu's Close did not end the $1; trying again" >&2
  xdotool key Escape
  sleep 0.5
  focus_by_caption
  window_menu c
  wait_until 10 ended || fail "the window menu's Close did not end the $1"
}
window_menu s
for _ in $(seq 10); do xdotool key Right; sleep 0.05; done
xdotool key Return
wait_until 5 size_is $((width + 100)) "$height" || fail "sizing from the keyboard by 100 pixels sized the gallery from ${width}x$height to $(box)"
read -r width height left top < <(box)
for round in 1 2; do
  double_click $((left + 300)) $((top + 18))
  wait_until 5 fills_output || fail "round $round: the maximised gallery is $(box), not ${output_width}x$output_height"
  alive
  double_click 300 18
  wait_until 5 size_is "$width" "$height" || fail "round $round: the restored gallery is $(box), not ${width}x$height"
  alive
  read -r width height left top < <(box)
done
close_from_window_menu gallery
wait "$app_pid" || fail "the gallery ended with an error: $(cat "$work/app.log")"
echo "e2e wayland: gallery passed"

# The exam window (a fixed size, no maximise button).
run_client "$work/exam.log" "$build_dir/exam/tallisk"
drag_by 400 18 80 50 "exam window"
close_from_window_menu "exam program"
wait "$app_pid" || fail "the exam program ended with an error: $(cat "$work/exam.log")"
echo "e2e wayland: exam window passed"

# The pop-up notice (Ctrl+R in the MDI demonstration): the compositor shows it in the corner of the
# window that raised it, and that window stays the active one (its caption keeps its colour).
run_client "$work/mdi.log" "$build_dir/tools/mdidemo/kav-mdidemo" --look MacOS
crop() { convert "$work/output.png" -crop "$1" +repage "$2"; }
same_picture() { [[ $(compare -metric AE "$1" "$2" null: 2>&1) == 0 ]]; }
caption="300x14+$((left + 30))+$((top + 4))"
corner="150x90+$((left + width - 190))+$((top + height - 100))"
box >/dev/null
crop "$caption" "$work/caption-before.png"
crop "$corner" "$work/corner-before.png"
xdotool key ctrl+r
notice_shown() { box >/dev/null && crop "$corner" "$work/corner-now.png" && ! same_picture "$work/corner-before.png" "$work/corner-now.png"; }
wait_until 3 notice_shown || fail "no notice showed in the window's corner"
crop "$caption" "$work/caption-now.png"
same_picture "$work/caption-before.png" "$work/caption-now.png" || fail "the notice took the activation from its window"
alive
xdotool key ctrl+q
wait_until 10 ended || fail "Ctrl+Q did not end the MDI demonstration"
wait "$app_pid" || fail "the MDI demonstration ended with an error: $(cat "$work/mdi.log")"
echo "e2e wayland: pop-up notice passed"
