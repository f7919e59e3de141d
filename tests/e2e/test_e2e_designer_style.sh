#!/usr/bin/env bash
# End-to-end: Qt Designer, a program that knows nothing of the library, started with
# "-style kavskin-winxp" under Xvfb takes the style from the build's plugin folder: it runs, its
# window shows the WinXP look's colours (the window colour DEEBEF, the selection colour EFD3C6
# of its lists), and it looks otherwise than when started with Fusion.
#   test_e2e_designer_style.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build_dir=$(realpath "$1")
designer=${KAV_DESIGNER:-/usr/lib/qt6/bin/designer}
[[ -x $designer ]] || { echo "FAIL: Qt Designer ($designer) is not installed (scripts/install-deps.sh --test)"; exit 1; }
[[ -f $build_dir/plugins/styles/libkavskinstyle.so ]] || { echo "FAIL: the style plugin is not built"; exit 1; }
work=$(mktemp -d)
source "$(dirname "$0")/x_session.sh"
start_x_server 1024x768

# Designer keeps its settings in the home folder: one of its own for the test.
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
export QT_PLUGIN_PATH=$build_dir/plugins
# A plugin built with the sanitizers needs their runtime in the program, which Designer is not
# built with: it is loaded first. Designer's own leaks are not this test's business.
if grep -q '^KAV_SANITIZE:BOOL=ON' "$build_dir/CMakeCache.txt"; then
  export LD_PRELOAD="$(gcc -print-file-name=libasan.so) $(gcc -print-file-name=libubsan.so)"
  export ASAN_OPTIONS=detect_leaks=0:halt_on_error=1
fi

# Counts the pixels of the screen in a colour (#rrggbb).
pixels_of() {
  convert "$1" -fill black +opaque "$2" -fill white -opaque "$2" -format '%[fx:round(mean*w*h)]' info:
}

shot() { # STYLE FILE: Designer in STYLE, its screen once it has drawn
  start_program "Qt Designer" "$designer" -style "$1"
  sleep 3
  kill -0 "$app_pid" 2>/dev/null || fail "Designer (-style $1) ended: $(cat "$work/app.log")"
  import -window root "$2"
  kill "$app_pid"
  wait "$app_pid" 2>/dev/null || true
  grep -q 'ERROR: AddressSanitizer\|runtime error:' "$work/app.log" && fail "a sanitizer report: $(cat "$work/app.log")"
  return 0
}

shot kavskin-winxp "$work/winxp.png"
# The style was found: Qt says so when it cannot load one.
grep -qi 'style.*not\|unknown style' "$work/app.log" && fail "the style did not load: $(cat "$work/app.log")"
shot fusion "$work/fusion.png"

window_colour=$(pixels_of "$work/winxp.png" '#efebde')
fusion_window=$(pixels_of "$work/fusion.png" '#efebde')
echo "WinXP window colour: $window_colour pixels with kavskin-winxp, $fusion_window with Fusion"
[[ $window_colour -gt 20000 ]] || fail "Designer does not show the WinXP window colour ($window_colour pixels)"
[[ $fusion_window -lt 100 ]] || fail "Fusion shows the WinXP colour too ($fusion_window pixels)"
differing=$(compare -metric AE "$work/winxp.png" "$work/fusion.png" null: 2>&1 || true)
echo "pixels that differ from Fusion: $differing"
[[ ${differing%% *} -gt 20000 ]] || fail "Designer looks as with Fusion ($differing pixels differ)"
echo "PASS"
