#!/usr/bin/env bash
# End-to-end under a real window manager (openbox): kav-qtgallery, a QMainWindow in a skinned
# frame (one TkavForm on it). The window manager frames nothing; the dock's float button, inside
# the frame, floats the dock into a window of its own and docks it again; dragging the window's
# right edge sizes it, and the frame and the status bar follow the new size; a double click on the
# caption maximises and restores it.
#   test_e2e_mainwindow.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build_dir=$1
source_dir=$2
program="$build_dir/tools/qtgallery/kav-qtgallery"
[[ -x $program ]] || { echo "FAIL: $program is not built"; exit 1; }
work=$(mktemp -d)
source "$(dirname "$0")/x_session.sh"
start_x_server 1280x1024 # the gallery is 1000 x 860
start_window_manager "$source_dir/tests/e2e/data/openbox-rc.xml"

start_program "kavskin — Qt" "$program" --look WinXP
sleep 1
xprop -id "$window" _MOTIF_WM_HINTS | grep -q '_MOTIF_WM_HINTS' || fail "the main window asks for a frame"

wait_until() { # wait_until SECONDS COMMAND...: true once the command succeeds
  local tries=$(($1 * 10)); shift
  for _ in $(seq "$tries"); do "$@" && return 0; sleep 0.1; done
  return 1
}
dock_floats() { xdotool search --all --onlyvisible --pid "$app_pid" --name '^Looks$' >/dev/null 2>&1; }
not() { ! "$@"; }
colour_at() { # IMAGE X Y: the pixel's colour as #rrggbb
  convert "$1" -format "#%[hex:p{$2,$3}]" info: | tr 'A-F' 'a-f' | cut -c1-7
}

# The dock's float button, at the right of its title "Looks" (under the WinXP title bar, the menu
# bar and the tool bar); the floating dock keeps its title, and the button, where they were.
eval "$(xdotool getwindowgeometry --shell "$window")"
float_x=$((X + 76)); float_y=$((Y + 90))
not dock_floats || fail "the dock floats from the start"
xdotool mousemove "$float_x" "$float_y" click 1
wait_until 5 dock_floats || fail "the dock's float button (inside the skinned frame) did not float it"
xdotool mousemove "$float_x" "$float_y" click 1
wait_until 5 not dock_floats || fail "the floating dock's button did not dock it again"
echo "e2e main window: the dock floats and docks again"

# Dragging the right edge by 100 pixels sizes the window through the window manager.
sleep 0.5
drag_right_edge_left "$window" 400
shrunk=$((width0 - WIDTH))
[[ $shrunk -ge 80 && $shrunk -le 110 ]] || fail "dragging the right edge by 100 pixels sized the window from $width0 to $WIDTH"

# At the new size the frame is drawn along the window's edges and the status bar lies on the
# bottom border, over the form's background (the WinXP FormBackgroundColor).
import -window "$window" "$work/sized.png"
border=$(colour_at "$work/sized.png" 0 400)
right=$(colour_at "$work/sized.png" $((WIDTH - 1)) 400)
bottom=$(colour_at "$work/sized.png" 500 $((HEIGHT - 1)))
status=$(colour_at "$work/sized.png" $((WIDTH - 60)) $((HEIGHT - 12)))
[[ $right == "$border" ]] || fail "the right border at the new size is $right, not the border colour $border"
[[ $bottom == "$border" ]] || fail "the bottom border at the new size is $bottom, not the border colour $border"
[[ $status == "#efebde" ]] || fail "the status bar's corner at the new size is $status, not the window's background"
kill -0 "$app_pid" || fail "the gallery ended: $(cat "$work/app.log")"
echo "e2e main window: sizing passed"

# The title bar is the form's, not covered by the window's widgets: a double click on the caption
# maximises the window (the window manager says so and it fills the screen) and a second restores
# it; the status bar then lies on the screen's bottom edge, above the border.
geometry() { xdotool getwindowgeometry --shell "$window" | grep -E '^(X|Y|WIDTH|HEIGHT)=' | cut -d= -f2 | paste -sd' '; }
maximised() { xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_MAXIMIZED_VERT; }
geometry_is() { [[ $(geometry) == "$1" ]]; }
toggle_maximised() { xdotool mousemove --window "$window" 500 12 click --repeat 2 --delay 80 1; }
screen=$(xdpyinfo | awk '/dimensions:/ {print $2}')
normal=$(geometry)
toggle_maximised
wait_until 5 maximised || fail "a double click on the caption did not maximise the main window"
wait_until 5 geometry_is "0 0 ${screen/x/ }" || fail "the maximised main window is at $(geometry), not on the screen ($screen)"
sleep 0.5
import -window "$window" "$work/maximised.png"
read -r screen_width screen_height <<<"${screen/x/ }"
status=$(colour_at "$work/maximised.png" $((screen_width - 60)) $((screen_height - 12)))
[[ $status == "#efebde" ]] || fail "the maximised window's status bar corner is $status, not the window's background"
toggle_maximised
wait_until 5 "not" maximised || fail "the second double click did not restore the main window"
wait_until 5 geometry_is "$normal" || fail "the restored main window is at $(geometry), not $normal"
echo "e2e main window: maximise and restore passed"
kill "$app_pid"
wait "$app_pid" 2>/dev/null || true
grep -q 'ERROR: AddressSanitizer\|runtime error:' "$work/app.log" && fail "a sanitizer report: $(cat "$work/app.log")"
echo "PASS"
