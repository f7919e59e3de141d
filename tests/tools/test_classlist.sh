#!/usr/bin/env bash
# kav-classlist on real database files: a new file gets its tables and sample pupils and the
# window renders in every look; a file another program holds locked still shows the window (which
# says so) and is left as it was; a file that is no database is refused with a clear message and
# left as it was.
set -euo pipefail
build_dir=$1
tool="$build_dir/tools/classlist/kav-classlist"
work=$(mktemp -d)
locker=
trap '[[ -n "$locker" ]] && kill "$locker" 2>/dev/null; rm -rf "$work"' EXIT

for look in MacOS WinXP DeepBlue Protein BlueGlass; do
  "$tool" --look "$look" "$work/class.db" --screenshot "$work/$look.png"
  [[ -s "$work/$look.png" ]] || { echo "no screenshot for $look"; exit 1; }
done

# The sample pupils were written once, not once per start.
count=$(python3 -c 'import sqlite3,sys; print(sqlite3.connect(sys.argv[1]).execute("select count(*) from pupils").fetchone()[0])' "$work/class.db")
[[ "$count" == 6 ]] || { echo "expected 6 sample pupils, found $count"; exit 1; }

# Another program holds the file locked (BEGIN EXCLUSIVE): the window opens all the same, with its
# message instead of the records, and nothing on stderr.
cp "$work/class.db" "$work/class.orig"
python3 -c '
import sqlite3, sys, time
db = sqlite3.connect(sys.argv[1], isolation_level=None)
db.execute("BEGIN EXCLUSIVE")
print("locked", flush=True)
time.sleep(60)' "$work/class.db" > "$work/locker.out" &
locker=$!
for _ in $(seq 100); do grep -qs locked "$work/locker.out" && break; sleep 0.1; done
grep -q locked "$work/locker.out" || { echo "the other program could not lock the file"; exit 1; }
"$tool" "$work/class.db" --screenshot "$work/locked.png" 2> "$work/locked-err.txt" \
  || { echo "a locked file ended the program:"; cat "$work/locked-err.txt"; exit 1; }
if grep -q "kav-classlist" "$work/locked-err.txt"; then
  echo "a locked file was told on stderr, not in the window:"; cat "$work/locked-err.txt"; exit 1
fi
[[ -s "$work/locked.png" ]] || { echo "no window for a locked file"; exit 1; }
cmp -s "$work/locked.png" "$work/MacOS.png" && { echo "the locked file's window shows no message"; exit 1; }
kill "$locker"; wait "$locker" 2>/dev/null || true; locker=
cmp -s "$work/class.db" "$work/class.orig" || { echo "the locked file was changed"; exit 1; }

printf 'this is not a database, just a text file\n' > "$work/notes.txt"
cp "$work/notes.txt" "$work/notes.orig"
if "$tool" "$work/notes.txt" --screenshot "$work/bad.png" 2> "$work/err.txt"; then
  echo "a text file was taken for a database"; exit 1
fi
grep -q "cannot use" "$work/err.txt" || { echo "no clear message:"; cat "$work/err.txt"; exit 1; }
cmp -s "$work/notes.txt" "$work/notes.orig" || { echo "the refused file was changed"; exit 1; }
echo "kav-classlist: all looks rendered, locked file shown with its message, bad file refused"
