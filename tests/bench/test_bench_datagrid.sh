#!/usr/bin/env bash
# bench_datagrid, run small (2,000 records, one round, a 1 MB picture): every operation is done on
# both sides without failing and printed with both figures, its ratio and the goal. The figures of
# a sanitizer build mean nothing; the benchmark is measured from a Release build.
set -euo pipefail
build_dir=$1
out=$("$build_dir/bench/datagrid/bench_datagrid" 2000 1 1)
echo "$out"
for operation in "open" "go to last" "scroll 200 pages" "edit + save at the last record" \
                 "refresh at the first record" "refresh at the last record" "edit + save, picture in the table"; do
  grep -Eq "^$(printf '%s' "$operation" | sed 's/[+]/[+]/g') +[0-9.]+ ms +[0-9.]+ ms +[0-9.]+x  <= 1.5x (met|MISSED)$" <<<"$out" \
    || { echo "no figures for \"$operation\""; exit 1; }
done
grep -q "^goal (each operation at most 1.5 x the plain model): " <<<"$out" || { echo "no goal line"; exit 1; }
