#!/usr/bin/env bash
# End-to-end: takes a whole exam in the real tallisk with the keyboard alone (no mouse event is
# sent): a typed time limit, 40 questions over two pages, Enter from box to box and on to
# "下一页" and "我要交卷", Space on the buttons; then checks the marked sheet on a screenshot.
#   test_e2e_keyboard.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build_dir=$1
program="$build_dir/exam/tallisk"
work=$(mktemp -d)
source "$(dirname "$0")/x_session.sh"
start_x_server
display=$DISPLAY

start_program "Tallisk" "$program"
xdotool windowfocus --sync "$window"
sleep 1

key() { xdotool key --delay 60 "$@"; sleep 0.2; }
shot() { import -display "$display" -window "$window" "$1"; }
# Number of clearly red or blue pixels (by hue: text is anti-aliased), or of dark pixels, in a
# rectangle W H X Y of a screenshot.
count_colour() {
  local test
  case "$6" in
    red) test='(r-max(g,b))>0.25' ;;
    blue) test='(b-max(r,g))>0.25' ;;
    dark) test='max(r,g,b)<0.4' ;;
  esac
  /usr/bin/convert "$1" -crop "$2x$3+$4+$5" +repage -fx "$test" -format '%[fx:round(mean*w*h)]' info:
}
# Window positions: the exam panel starts at (158, 24), its pages at (165, 71).
panel_top=24
page_left=165; page_top=$((panel_top + 47))
row_xy() { # row on its page -> x y of its answer box (or, with an offset, its mark)
  local i=$(( ($1 - 1) % 20 )) k dx=0
  k=$((i % 10)); [[ $i -ge 10 ]] && dx=312
  echo $((page_left + dx)) $((page_top + 32 * k))
}
# Retries a check until the window has painted what it looks for.
until_ok() {
  local attempt
  for attempt in $(seq 20); do "$@" && return 0; sleep 0.5; done
  fail "$problem"
}

# The focus starts on the first choice; every choice is a Tab stop (four difficulties, five
# counts, three kinds), then the time box and "开始考试". Space checks a choice.
key Tab Tab Tab Tab Tab       # the second count: 40 questions
key space
key Tab Tab Tab Tab Tab Tab Tab # the time box
key ctrl+a
xdotool type --delay 60 "45"
key Tab                       # "开始考试"
key space
sleep 0.5

# Page 1: a "0" in every box (0 is never an answer), Enter after each. The focus is in the
# first box from the start; Enter in the 20th goes to "下一页".
for row in $(seq 1 20); do
  xdotool type --delay 40 "0"
  key Return
done
page1_typed() {
  shot "$work/page1.png"
  problem=""
  local row x y dark
  for row in $(seq 1 20); do
    read -r x y < <(row_xy "$row")
    dark=$(count_colour "$work/page1.png" 60 17 $((x + 180)) $((y + 60)) dark)
    [[ "$dark" -gt 10 ]] || { problem="page 1 box $row shows no typed digit ($dark dark pixels)"; return 1; }
  done
  red=$(count_colour "$work/page1.png" 70 22 $((158 + 64)) $((panel_top + 506)) red)
  [[ "$red" -gt 40 ]] || { problem="the clock does not run ($red red pixels)"; return 1; }
}
until_ok page1_typed

key space                     # "下一页": page 2, the focus in its first box
# Page 2: "0" in rows 21-39, nothing in row 40; Enter in the last box goes to "我要交卷".
for row in $(seq 21 40); do
  [[ $row -lt 40 ]] && xdotool type --delay 40 "0"
  key Return
done
key space                     # "我要交卷"

# Rows 21-39 "错误", row 40 "未完成", all red and none blue; "错误" has two characters against
# three, so fewer red pixels. The report line is written in red under the pages.
handed_in() {
  shot "$work/handed-in.png"
  [[ -n "${KAV_E2E_KEEP:-}" ]] && cp "$work/handed-in.png" "$KAV_E2E_KEEP"
  problem=""
  local row x y red blue
  for row in $(seq 21 40); do
    read -r x y < <(row_xy "$row")
    red=$(count_colour "$work/handed-in.png" 41 12 $((x + 256)) $((y + 64)) red)
    blue=$(count_colour "$work/handed-in.png" 41 12 $((x + 256)) $((y + 64)) blue)
    [[ "$red" -gt 5 ]] || { problem="row $row on page 2 carries no red mark ($red red pixels)"; return 1; }
    [[ "$blue" -eq 0 ]] || { problem="row $row has a blue mark"; return 1; }
    [[ $row -eq 21 ]] && red_wrong=$red
    [[ $row -eq 40 ]] && red_not_done=$red
  done
  [[ $((red_wrong * 100)) -lt $((red_not_done * 85)) ]] ||
    { problem="row 21 is not marked 错误 ($red_wrong against $red_not_done red pixels)"; return 1; }
  report_red=$(count_colour "$work/handed-in.png" 330 16 $((158 + 184)) $((panel_top + 512)) red)
  [[ "$report_red" -gt 100 ]] || { problem="no score report ($report_red red pixels)"; return 1; }
  clock_red=$(count_colour "$work/handed-in.png" 70 22 $((158 + 64)) $((panel_top + 506)) red)
  [[ "$clock_red" -eq 0 ]] || { problem="the clock still shows ($clock_red red pixels)"; return 1; }
}
until_ok handed_in

# Alt+F4 is the window manager's; without one, the program is ended by its process id.
kill "$app_pid" 2>/dev/null || true
wait "$app_pid" 2>/dev/null || true
app_pid=""
echo "e2e keyboard: passed"
