#!/usr/bin/env bash
# End-to-end: a running exam is not lost by one key. In the real tallisk under a window manager,
# Shift+Tab from the first answer box reaches "退出考场"; Space there, and Alt+F4, ask first. Escape
# and a stray Enter keep the exam (the program runs on); "是" leaves, and
# the program ends normally.
#   test_e2e_leave.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build_dir=$1
source_dir=$2
program="$build_dir/exam/tallisk"
work=$(mktemp -d)
source "$(dirname "$0")/x_session.sh"
start_x_server
start_window_manager "$source_dir/tests/e2e/data/openbox-rc.xml"

start_program "Tallisk" "$program"
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
sleep 1

key() { xdotool key --delay 60 "$@"; sleep 0.3; }
# Top-level windows of the program on screen: the exam window, and the question while it is asked.
windows_shown() { xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | wc -l; }
until_windows() {
  local attempt
  for attempt in $(seq 20); do [[ $(windows_shown) -eq $1 ]] && return 0; sleep 0.3; done
  fail "$2 ($(windows_shown) windows shown, expected $1)"
}
still_running() { kill -0 "$app_pid" 2>/dev/null || fail "$1: the program ended"; }

# Thirteen Tab stops lead from the first choice to "开始考试" (four difficulties, five counts,
# three kinds, the time box); Space starts the exam and the focus lands in the first answer box.
key Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab
key space
sleep 0.5
xdotool type --delay 60 "7"
until_windows 1 "the exam window alone before leaving"

# Shift+Tab goes straight back to "退出考场"; Space asks, Escape keeps the exam.
key shift+Tab
key space
until_windows 2 "Space on 退出考场 asked no question"
key Escape
until_windows 1 "Escape did not close the question"
still_running "Escape on the question"

# Alt+F4 asks too; a stray Enter answers the default, 否.
key alt+F4
until_windows 2 "Alt+F4 asked no question"
key Return
until_windows 1 "Enter did not close the question"
still_running "Enter on the question"

# Alt+F4 and 是 leave: the program ends with status 0.
key alt+F4
until_windows 2 "Alt+F4 asked no question the second time"
key alt+y
status=0
for _ in $(seq 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.2; done
kill -0 "$app_pid" 2>/dev/null && fail "是 did not leave the program"
wait "$app_pid" || status=$?
app_pid=""
[[ $status -eq 0 ]] || fail "the program ended with status $status: $(cat "$work/app.log")"
echo "e2e leave: passed"
