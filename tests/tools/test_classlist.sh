#!/usr/bin/env bash
# kav-classlist on real database files: a new file gets its tables and sample pupils and the
# window renders in every look; a file that is no database is refused with a clear message and
# left as it was.
set -euo pipefail
build_dir=$1
tool="$build_dir/tools/classlist/kav-classlist"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for look in MacOS WinXP DeepBlue Protein BlueGlass; do
  "$tool" --look "$look" "$work/class.db" --screenshot "$work/$look.png"
  [[ -s "$work/$look.png" ]] || { echo "no screenshot for $look"; exit 1; }
done

# The sample pupils were written once, not once per start.
count=$(python3 -c 'import sqlite3,sys; print(sqlite3.connect(sys.argv[1]).execute("select count(*) from pupils").fetchone()[0])' "$work/class.db")
[[ "$count" == 6 ]] || { echo "expected 6 sample pupils, found $count"; exit 1; }

printf 'this is not a database, just a text file\n' > "$work/notes.txt"
cp "$work/notes.txt" "$work/notes.orig"
if "$tool" "$work/notes.txt" --screenshot "$work/bad.png" 2> "$work/err.txt"; then
  echo "a text file was taken for a database"; exit 1
fi
grep -q "cannot use" "$work/err.txt" || { echo "no clear message:"; cat "$work/err.txt"; exit 1; }
cmp -s "$work/notes.txt" "$work/notes.orig" || { echo "the refused file was changed"; exit 1; }
echo "kav-classlist: all looks rendered, bad file refused"
