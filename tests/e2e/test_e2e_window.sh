#!/usr/bin/env bash
# End-to-end under a real window manager (openbox): the exam window draws its own frame, and its
# title bar moves it (the caption staying active meanwhile; an instant click moves nothing), its
# buttons minimise and close it, Alt+Space opens its window menu; the gallery, a window that can be
# sized, is sized from its edge and maximised and restored from its caption, with a window manager
# and without one.
#   test_e2e_window.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build_dir=$1
source_dir=$2
program="$build_dir/exam/tallisk"
work=$(mktemp -d)
source "$(dirname "$0")/x_session.sh"
start_x_server
start_window_manager "$source_dir/tests/e2e/data/openbox-rc.xml"

start_program "Tallisk" "$program"
sleep 1

position() { xdotool getwindowgeometry --shell "$window" | grep -E '^(X|Y)=' | cut -d= -f2 | paste -sd' '; }
visible_windows() { xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | wc -l; }
# Title-bar places in window coordinates (the MacOS title bar, 23 pixels high, from x 1; its
# buttons are 17 pixels wide, 4 pixels from the top).
title_empty=(400 12)
close_button=(786 12)
minimise_button=(768 12)

# The window manager frames nothing: the window is where the program put it, its own frame drawn.
xprop -id "$window" _MOTIF_WM_HINTS | grep -q '_MOTIF_WM_HINTS' || fail "the window asks for a frame"

# The caption as drawn (the window's own pixels, wherever it is): its text turns grey when the
# window is inactive.
caption_shot() { import -window "$window" -crop 300x16+30+4 +repage "$1"; }
same_picture() { [[ $(compare -metric AE "$1" "$2" null: 2>&1) == 0 ]]; }
xdotool windowactivate --sync "$window" 2>/dev/null || true
sleep 0.3
caption_shot "$work/caption-before.png"

# Dragging the title bar moves the window by the drag; the window stays the active one meanwhile,
# though the window manager holds the keyboard.
read -r x0 y0 < <(position)
# Screen coordinates: the window moves under the pointer during the drag.
grab_x=$((x0 + title_empty[0])); grab_y=$((y0 + title_empty[1]))
xdotool mousemove "$grab_x" "$grab_y" mousedown 1
sleep 0.3
for step in 1 2 3 4 5 6 7 8 9 10; do
  xdotool mousemove $((grab_x + 10 * step)) $((grab_y + 6 * step))
  sleep 0.05
done
sleep 0.6 # longer than Qt waits before it reports a lost focus
caption_shot "$work/caption-during.png"
xdotool mouseup 1
same_picture "$work/caption-before.png" "$work/caption-during.png" ||
  fail "the caption changed during the drag (it shows the window inactive)"
sleep 0.5
read -r x1 y1 < <(position)
dx=$((x1 - x0)); dy=$((y1 - y0))
# The window follows the pointer; the window manager may lag the last few pixels of motion.
[[ $dx -ge 80 && $dx -le 110 && $dy -ge 45 && $dy -le 66 ]] ||
  fail "dragging the title bar by (100, 60) moved the window from ($x0, $y0) to ($x1, $y1)"

# An instant click on the caption (press and release in one go, as a tap sends them) starts no move:
# the window does not follow the pointer afterwards.
read -r x0 y0 < <(position)
xdotool mousemove $((x0 + title_empty[0])) $((y0 + title_empty[1])) click 1
sleep 0.3
for step in 1 2 3 4 5; do
  xdotool mousemove $((x0 + title_empty[0] + 20 * step)) $((y0 + title_empty[1] + 25 * step))
  sleep 0.05
done
sleep 0.5
read -r x1 y1 < <(position)
[[ $x1 -eq $x0 && $y1 -eq $y0 ]] || fail "after an instant click on the caption the window followed the pointer from ($x0, $y0) to ($x1, $y1)"

# Alt+Space opens the window menu (a pop-up window of the program); Escape closes it.
xdotool windowactivate --sync "$window" 2>/dev/null || true
sleep 0.3
before=$(visible_windows)
xdotool key alt+space
sleep 0.5
after=$(visible_windows)
[[ $after -gt $before ]] || fail "Alt+Space opened no window menu ($before visible windows, then $after)"
xdotool key Escape
sleep 0.3
[[ $(visible_windows) -eq $before ]] || fail "Escape did not close the window menu"

# The minimise button iconifies the window.
xdotool mousemove --window "$window" "${minimise_button[@]}" click 1
iconic=""
for _ in $(seq 30); do
  xprop -id "$window" WM_STATE 2>/dev/null | grep -q 'Iconic' && { iconic=yes; break; }
  sleep 0.1
done
[[ -n "$iconic" ]] || fail "the minimise button did not iconify the window: $(xprop -id "$window" WM_STATE)"

# Back on screen, the close button ends the program.
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowmap --sync "$window"
sleep 0.5
xprop -id "$window" WM_STATE | grep -q 'Normal' || fail "the window did not come back"
xdotool mousemove --window "$window" "${close_button[@]}" click 1
for _ in $(seq 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app_pid" 2>/dev/null; then fail "the close button did not end the program"; fi
wait "$app_pid" || fail "the program ended with an error: $(cat "$work/app.log")"
echo "e2e window: exam window passed"

# A window that can be sized (the gallery, a skinned form too): dragging its right edge sizes it
# through the window manager.
gallery="$build_dir/tools/gallery/kav-gallery"
"$gallery" --look WinXP >"$work/gallery.log" 2>&1 &
gallery_pid=$!
x_session_pids+=("$gallery_pid")
window=$(timeout 30 xdotool search --sync --onlyvisible --name "kavskin gallery" | head -1)
[[ -n "$window" ]] || fail "the gallery window did not appear"
sleep 1
drag_right_edge_left "$window" 300
shrunk=$((width0 - WIDTH))
[[ $shrunk -ge 80 && $shrunk -le 110 ]] || fail "dragging the right edge by 100 pixels sized the gallery from $width0 to $WIDTH"
echo "e2e window: sizing passed"

# Maximise and restore from the caption (a double click): the window manager maximises the window
# (its state says so, it fills the screen), and restoring brings the old geometry back, twice over.
geometry() { xdotool getwindowgeometry --shell "$window" | grep -E '^(X|Y|WIDTH|HEIGHT)=' | cut -d= -f2 | paste -sd' '; }
maximised() { xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_MAXIMIZED_VERT; }
wait_until() { # wait_until SECONDS COMMAND...: true once the command succeeds
  local tries=$(($1 * 10)); shift
  for _ in $(seq "$tries"); do "$@" && return 0; sleep 0.1; done
  return 1
}
geometry_is() { [[ $(geometry) == "$1" ]]; }
not() { ! "$@"; }
toggle_maximised() { xdotool mousemove --window "$window" 300 12 click --repeat 2 --delay 80 1; }
screen=$(xdpyinfo | awk '/dimensions:/ {print $2}')
normal=$(geometry)
for round in 1 2; do
  toggle_maximised
  wait_until 5 maximised || fail "round $round: a double click on the caption did not maximise the gallery"
  wait_until 5 geometry_is "0 0 ${screen/x/ }" || fail "round $round: the maximised gallery is at $(geometry), not on the screen ($screen)"
  toggle_maximised
  wait_until 5 not maximised || fail "round $round: the second double click did not restore the gallery"
  wait_until 5 geometry_is "$normal" || fail "round $round: the restored gallery is at $(geometry), not $normal"
done
kill "$gallery_pid"
wait "$gallery_pid" 2>/dev/null || true # its window must be gone before the next one is looked for
echo "e2e window: maximise and restore passed"

# Without a window manager the gallery maximises and restores itself the same way.
stop_window_manager
"$gallery" --look WinXP >"$work/gallery2.log" 2>&1 &
gallery_pid=$!
x_session_pids+=("$gallery_pid")
window=$(timeout 30 xdotool search --sync --onlyvisible --pid "$gallery_pid" --name "kavskin gallery" | head -1)
[[ -n "$window" ]] || fail "the gallery window did not appear without a window manager"
sleep 1
normal=$(geometry)
toggle_maximised
wait_until 5 geometry_is "0 0 ${screen/x/ }" || fail "without a window manager the maximised gallery is at $(geometry), not on the screen ($screen)"
toggle_maximised
wait_until 5 geometry_is "$normal" || fail "without a window manager the restored gallery is at $(geometry), not $normal"
kill -0 "$gallery_pid" || fail "the gallery ended: $(cat "$work/gallery2.log")"
kill "$gallery_pid"
echo "e2e window: maximise and restore without a window manager passed"
