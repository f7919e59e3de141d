#!/usr/bin/env bash
# End-to-end: Qt Designer, a program that knows nothing of the library, started as the README
# writes it ("QT_PLUGIN_PATH=$PWD/build/plugins /usr/lib/qt6/bin/designer -style kavskin-winxp")
# under Xvfb and a window manager (openbox) takes the style from the build's plugin folder: it
# runs, its windows show the WinXP look's window colour and its push buttons are drawn from the
# WinXP button picture (their border is the picture's), which Fusion never draws; it goes on
# running when its "New Form" dialog is closed.
#   test_e2e_designer_style.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build_dir=$(realpath "$1")
source_dir=$(realpath "$2")
designer=${KAV_DESIGNER:-/usr/lib/qt6/bin/designer}
[[ -x $designer ]] || { echo "FAIL: Qt Designer ($designer) is not installed (scripts/install-deps.sh --test)"; exit 1; }
[[ -f $build_dir/plugins/styles/libkavskinstyle.so ]] || { echo "FAIL: the style plugin is not built"; exit 1; }
work=$(mktemp -d)
source "$(dirname "$0")/x_session.sh"
start_x_server 1024x768
start_window_manager "$source_dir/tests/e2e/data/openbox-rc.xml"

# Designer keeps its settings in the home folder: one of its own for the test.
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset QT_STYLE_OVERRIDE
# A plugin built with the sanitizers needs their runtime in the program, which Designer is not
# built with: it is loaded first (for Designer alone). Designer's own leaks are not this test's
# business.
preload=
if grep -q '^KAV_SANITIZE:BOOL=ON' "$build_dir/CMakeCache.txt"; then
  preload="$(gcc -print-file-name=libasan.so) $(gcc -print-file-name=libubsan.so)"
  export ASAN_OPTIONS=detect_leaks=0:halt_on_error=1
fi

# The known picture: the WinXP push button's border colour, from the look's own picture (its
# left edge, halfway down).
button_border="#$(convert "$source_dir/resources/looks/WINXP_BUTTON.bmp" -format '%[hex:p{0,10}]' info:)"
window_colour='#efebde' # the WinXP look's FormBackgroundColor

# Counts the pixels of an image in a colour (#rrggbb).
pixels_of() {
  convert "$1" -fill black +opaque "$2" -fill white -opaque "$2" -format '%[fx:round(mean*w*h)]' info:
}

designer_pid=
start_designer() { # STYLE: Designer in STYLE, up to its "New Form" dialog
  QT_PLUGIN_PATH=$build_dir/plugins LD_PRELOAD=$preload "$designer" -style "$1" >"$work/app.log" 2>&1 &
  designer_pid=$!
  x_session_pids+=("$designer_pid")
  # xdotool gives up on a search when a window it looks at goes meanwhile, as Designer's do while
  # it starts: the search is repeated.
  local tries
  for tries in $(seq 300); do
    xdotool search --onlyvisible --name "New Form" >/dev/null 2>&1 && break
    [[ $tries -lt 300 ]] || fail "Designer (-style $1) shows no \"New Form\" dialog: $(cat "$work/app.log")"
    sleep 0.1
  done
  sleep 2 # until it has drawn
  kill -0 "$designer_pid" 2>/dev/null || fail "Designer (-style $1) ended: $(cat "$work/app.log")"
}
shot_dialog() { # FILE: the "New Form" dialog's pixels. Designer may have made its window anew
  # while it started, so the window is looked up when it is taken.
  local attempt
  for attempt in 1 2 3; do
    dialog=$(xdotool search --onlyvisible --name "New Form" 2>/dev/null | tail -1)
    [[ -n $dialog ]] && import -window "$dialog" "$1" 2>"$work/import.log" && return 0
    sleep 0.5
  done
  fail "no picture of the \"New Form\" dialog: $(cat "$work/import.log")"
}
stop_designer() {
  kill "$designer_pid"
  wait "$designer_pid" 2>/dev/null || true
  grep -q 'ERROR: AddressSanitizer\|runtime error:' "$work/app.log" && fail "a sanitizer report: $(cat "$work/app.log")"
  return 0
}

start_designer kavskin-winxp
# The style was found: Qt says so when it cannot load one.
grep -qi 'style.*not\|unknown style' "$work/app.log" && fail "the style did not load: $(cat "$work/app.log")"
import -window root "$work/winxp.png"
shot_dialog "$work/winxp-dialog.png"
# Closing the dialog leaves Designer running, still in the look.
xdotool windowactivate --sync "$dialog" key Escape
for _ in $(seq 50); do xdotool search --onlyvisible --name "New Form" >/dev/null 2>&1 || break; sleep 0.1; done
xdotool search --onlyvisible --name "New Form" >/dev/null 2>&1 && fail "Escape did not close the \"New Form\" dialog"
sleep 1
kill -0 "$designer_pid" 2>/dev/null || fail "Designer ended when its dialog closed: $(cat "$work/app.log")"
import -window root "$work/winxp-after.png"
stop_designer

start_designer fusion
import -window root "$work/fusion.png"
shot_dialog "$work/fusion-dialog.png"
stop_designer

window=$(pixels_of "$work/winxp.png" "$window_colour")
window_after=$(pixels_of "$work/winxp-after.png" "$window_colour")
fusion_window=$(pixels_of "$work/fusion.png" "$window_colour")
echo "WinXP window colour: $window pixels with kavskin-winxp ($window_after without the dialog), $fusion_window with Fusion"
[[ $window -gt 20000 ]] || fail "Designer does not show the WinXP window colour ($window pixels)"
[[ $window_after -gt 20000 ]] || fail "without its dialog Designer lost the WinXP window colour ($window_after pixels)"
[[ $fusion_window -lt 100 ]] || fail "Fusion shows the WinXP colour too ($fusion_window pixels)"

# The dialog's four push buttons (Create, Open..., Recent, Close) have the picture's border.
border=$(pixels_of "$work/winxp-dialog.png" "$button_border")
fusion_border=$(pixels_of "$work/fusion-dialog.png" "$button_border")
echo "WinXP button border $button_border: $border pixels in the dialog with kavskin-winxp, $fusion_border with Fusion"
[[ $border -gt 400 ]] || fail "the dialog's buttons are not drawn from the WinXP button picture ($border pixels)"
[[ $fusion_border -lt 20 ]] || fail "Fusion draws the WinXP button border too ($fusion_border pixels)"

differing=$(compare -metric AE "$work/winxp.png" "$work/fusion.png" null: 2>&1 || true)
echo "pixels that differ from Fusion: $differing"
[[ ${differing%% *} -gt 20000 ]] || fail "Designer looks as with Fusion ($differing pixels differ)"
echo "PASS"
