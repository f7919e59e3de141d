#!/usr/bin/env bash
# End-to-end under a real window manager (openbox): the MDI demonstration's parent with three
# skinned children. A child's title bar maximises it (its buttons move to the parent's menu bar),
# the restore button there restores it, its minimise button leaves a strip at the bottom of the
# area that a double click restores, an instant click on its caption moves nothing, and its own
# close button closes it. The program tells what happened to its children on stdout
# (KAV_MDIDEMO_TRACE).
#   test_e2e_mdi.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build_dir=$1
source_dir=$2
program="$build_dir/tools/mdidemo/kav-mdidemo"
work=$(mktemp -d)
source "$(dirname "$0")/x_session.sh"
start_x_server
start_window_manager "$source_dir/tests/e2e/data/openbox-rc.xml"

start_program "MDI demonstration" env KAV_MDIDEMO_TRACE=1 "$program"
sleep 1

# Window positions: the children are cascaded; the third one, in front, has its title bar at
# y 127 and its close button at x 776. While a child is maximised, the parent's menu bar (y 32)
# ends with its minimise, restore and close buttons.
child_title=(400 127)
child_close=(776 127)
child_minimise=(740 127)
menu_restore=(869 32)

wait_for() {
  for _ in $(seq 30); do tr '\n' ' ' <"$work/app.log" | grep -q "$1" && return 0; sleep 0.1; done
  fail "expected \"$1\"; the program said: $(tr '\n' '|' <"$work/app.log")"
}

xdotool mousemove --window "$window" "${child_title[@]}" click --repeat 2 --delay 80 1
wait_for "Child 3: maximised"
sleep 0.3
xdotool mousemove --window "$window" "${menu_restore[@]}" click 1
wait_for "Child 3: normal"
sleep 0.3

# Minimised, the child is a strip at the bottom-left of the area (its title bar); a double click
# on the strip's caption brings it back.
xdotool mousemove --window "$window" "${child_minimise[@]}" click 1
wait_for "Child 3: minimised"
sleep 0.3
eval "$(xdotool getwindowgeometry --shell "$window")"
import -window "$window" -crop "150x20+6+$((HEIGHT - 24))" +repage "$work/strip.png"
colours=$(convert "$work/strip.png" -format '%k' info:)
[[ $colours -gt 20 ]] || fail "nothing is drawn where the minimised child's strip belongs ($colours colours)"
xdotool mousemove --window "$window" 60 $((HEIGHT - 12)) click --repeat 2 --delay 80 1
wait_for "Child 3: normal.*Child 3: normal"
sleep 0.3

# An instant click on the child's caption starts no move: the child stays where it is when the
# pointer moves on.
xdotool mousemove --window "$window" "${child_title[@]}" click 1
sleep 0.3
import -window "$window" "$work/before.png"
for step in 1 2 3 4 5; do
  xdotool mousemove --window "$window" $((child_title[0] + 16 * step)) $((child_title[1] + 14 * step))
  sleep 0.05
done
sleep 0.3
xdotool mousemove --window "$window" "${child_title[@]}"
sleep 0.3
import -window "$window" "$work/after.png"
[[ $(compare -metric AE "$work/before.png" "$work/after.png" null: 2>&1) == 0 ]] ||
  fail "after an instant click on its caption the child moved with the pointer"

xdotool mousemove --window "$window" "${child_close[@]}" click 1
wait_for "Child 3: closed"
kill -0 "$app_pid" 2>/dev/null || fail "the program ended with its child: $(cat "$work/app.log")"
echo "e2e mdi: passed"
