#!/usr/bin/env bash
# "tallisk --sheet" as a teacher runs it, without a display: the PDF has the expected pages, its
# first page is not blank and reads as the sheet, the answer key is right, the same seed gives the
# same questions, and bad options are refused with exit code 2 and a message.
set -euo pipefail
build_dir=$1
tallisk="$build_dir/exam/tallisk"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for tool in pdfinfo pdftoppm pdftotext convert; do
  command -v "$tool" >/dev/null || { echo "missing $tool (scripts/install-deps.sh --test)"; exit 1; }
done
# No display and no platform chosen: the sheet mode must still work.
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

pages_of() { pdfinfo "$1" | awk '/^Pages:/ {print $2}'; }

"$tallisk" --sheet "$work/plain.pdf" --seed 1700000000 > "$work/out.txt"
grep -q "1 页" "$work/out.txt" || { echo "no report of the pages:"; cat "$work/out.txt"; exit 1; }
[[ $(pages_of "$work/plain.pdf") == 1 ]] || { echo "20 questions: expected 1 page"; exit 1; }

"$tallisk" --sheet="$work/key.pdf" --bound 1000 --count 100 --kind 3 --seed 1700000000 --answer-key > /dev/null
[[ $(pages_of "$work/key.pdf") == 4 ]] || { echo "100 questions with key: expected 4 pages, got $(pages_of "$work/key.pdf")"; exit 1; }

# The first page, rendered, has ink on it (a blank page has mean 1.0).
pdftoppm -r 40 -f 1 -l 1 -png "$work/key.pdf" "$work/page"
mean=$(convert "$work/page-1.png" -colorspace Gray -format '%[fx:mean]' info:)
awk -v m="$mean" 'BEGIN { exit !(m < 0.99) }' || { echo "first page looks blank (mean $mean)"; exit 1; }

# The text is the sheet's: name and date line, settings, numbered questions, page numbers.
pdftotext -layout -f 1 -l 1 "$work/key.pdf" "$work/page1.txt"
for expected in "姓名：_____" "日期：_____" "难度 1000 以下, 题数 100, 混和计算" "编号：1700000000" "1." "第 1 页，共 4 页"; do
  grep -qF -- "$expected" "$work/page1.txt" || { echo "page 1 lacks \"$expected\""; cat "$work/page1.txt"; exit 1; }
done

# Every answer on the key pages is right: each cell reads "N. a op b = [answer]".
pdftotext -layout -f 3 -l 4 "$work/key.pdf" "$work/key.txt"
python3 - "$work/key.txt" <<'PY'
import re, sys
text = open(sys.argv[1], encoding="utf-8").read()
cells = re.findall(r"(\d+)\.\s+(\d+)\s*([+\-x÷])\s*(\d+)\s*=\s*(\d+)", text)
ops = {"+": lambda a, b: a + b, "-": lambda a, b: a - b, "x": lambda a, b: a * b, "÷": lambda a, b: a // b}
numbers = sorted(int(c[0]) for c in cells)
assert numbers == list(range(1, 101)), f"key has questions {numbers[:5]}...{numbers[-5:]} ({len(numbers)})"
for n, a, op, b, answer in cells:
    a, b, answer = int(a), int(b), int(answer)
    assert ops[op](a, b) == answer, f"question {n}: {a} {op} {b} = {answer} is wrong"
    if op == "÷":
        assert a % b == 0, f"question {n}: {a} ÷ {b} is not exact"
PY

# The same seed gives the same questions.
"$tallisk" --sheet "$work/again.pdf" --bound 1000 --count 100 --kind 3 --seed 1700000000 > /dev/null
# (the page footers differ: one file has the key's pages as well)
pdftotext -layout -f 1 -l 2 "$work/key.pdf" - | grep -v "页，共" > "$work/first.txt"
pdftotext -layout "$work/again.pdf" - | grep -v "页，共" > "$work/second.txt"
cmp -s "$work/first.txt" "$work/second.txt" || { echo "same seed, different sheet"; diff "$work/first.txt" "$work/second.txt" | head; exit 1; }

# Bad options: exit code 2, a message naming the option, no file.
expect_refused() {
  local what=$1; shift
  set +e
  "$tallisk" "$@" > /dev/null 2> "$work/err.txt"
  local code=$?
  set -e
  [[ $code == 2 ]] || { echo "$*: exit code $code, expected 2"; exit 1; }
  grep -qF -- "$what" "$work/err.txt" || { echo "$*: message does not name $what:"; cat "$work/err.txt"; exit 1; }
}
expect_refused --count --sheet "$work/bad.pdf" --count 30
expect_refused --bound --sheet "$work/bad.pdf" --bound x
expect_refused --seed --sheet "$work/bad.pdf" --seed -5
expect_refused --cuont --sheet "$work/bad.pdf" --cuont 40
expect_refused .pdf --sheet "$work/bad.txt"
expect_refused --kind --kind 2
[[ ! -e "$work/bad.pdf" ]] || { echo "a refused command wrote a file"; exit 1; }

# A folder that does not exist: not written, exit code 1, and said so.
set +e
"$tallisk" --sheet "$work/no/such/folder/s.pdf" > /dev/null 2> "$work/err.txt"
code=$?
set -e
[[ $code == 1 ]] || { echo "unwritable file: exit code $code, expected 1"; exit 1; }
grep -q "无法写入" "$work/err.txt" || { echo "unwritable file: no message"; exit 1; }
echo "tallisk --sheet: pages, content, answer key, seed and options checked"
