#!/usr/bin/env bash
# End-to-end: starts the real tallisk in an X server, takes an exam with the mouse and keyboard
# and checks the marked sheet on a screenshot.
#   test_e2e_exam.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build_dir=$1
program="$build_dir/exam/tallisk"
work=$(mktemp -d)
source "$(dirname "$0")/x_session.sh"
start_x_server
display=$DISPLAY

start_program "Tallisk" "$program"
sleep 1

# Window positions of the controls: under the 23-pixel title bar, the settings panel starts at
# (2, 24) and the exam panel at (158, 24).
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.3; }
panel_top=24
begin_button=(74 $((panel_top + 461)))    # "开始考试"
exit_button=(74 $((panel_top + 493)))     # "退出考场"
hand_in_button=(718 $((panel_top + 526))) # "我要交卷"
page_left=165; page_top=$((panel_top + 47)) # top-left corner of the exam pages

shot() { import -display "$display" -window "$window" "$1"; }
# Number of clearly red or blue pixels (text is anti-aliased, so by hue, not by exact colour)
# in a rectangle W H X Y of a screenshot.
count_colour() {
  local test
  case "$6" in
    red) test='(r-max(g,b))>0.25' ;;
    blue) test='(b-max(r,g))>0.25' ;;
  esac
  /usr/bin/convert "$1" -crop "$2x$3+$4+$5" +repage -fx "$test" -format '%[fx:round(mean*w*h)]' info:
}

click "${begin_button[@]}"
# The focus is on the first answer box: the key filter keeps only the digits.
xdotool type --delay 50 "a-0."
sleep 0.3
click "${hand_in_button[@]}"

# Mark labels: row 1 "错误" (0 is never an answer), rows 2-20 "未完成", all red; none blue.
# Row 1's two characters show fewer red pixels than the three of "未完成", which tells the
# typed "0" reached the box. The screenshot is taken again until the marks are painted.
marks_ok() {
  shot "$work/handed-in.png"
  [[ -n "${KAV_E2E_KEEP:-}" ]] && cp "$work/handed-in.png" "$KAV_E2E_KEEP"
  problem=""
  local row i k dx x y red blue
  for row in $(seq 1 20); do
    i=$((row - 1)); k=$((i % 10)); dx=0; [[ $i -ge 10 ]] && dx=312
    x=$((page_left + 256 + dx)); y=$((page_top + 64 + 32 * k))
    red=$(count_colour "$work/handed-in.png" 41 12 "$x" "$y" red)
    blue=$(count_colour "$work/handed-in.png" 41 12 "$x" "$y" blue)
    [[ "$red" -gt 5 ]] || { problem="row $row carries no red mark ($red red pixels)"; return 1; }
    [[ "$blue" -eq 0 ]] || { problem="row $row has a blue mark"; return 1; }
    [[ $row -eq 1 ]] && red_wrong=$red
    [[ $row -eq 2 ]] && red_not_done=$red
  done
  [[ $((red_wrong * 100)) -lt $((red_not_done * 85)) ]] ||
    { problem="row 1 is not marked 错误 ($red_wrong against $red_not_done red pixels)"; return 1; }
  # The report line is written in red under the pages.
  report_red=$(count_colour "$work/handed-in.png" 330 16 $((158 + 184)) $((panel_top + 512)) red)
  [[ "$report_red" -gt 100 ]] || { problem="no score report ($report_red red pixels)"; return 1; }
}
for attempt in $(seq 20); do
  marks_ok && break
  sleep 0.5
done
[[ -z "$problem" ]] || fail "$problem"

# "退出考场" ends the program.
click "${exit_button[@]}"
for _ in $(seq 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app_pid" 2>/dev/null; then fail "the program did not end on 退出考场"; fi
wait "$app_pid" || fail "the program ended with an error: $(cat "$work/app.log")"
app_pid=""
echo "e2e exam: passed"
