#!/usr/bin/env bash
# bench_kavstyle, run short (one turn): at each count of widgets, both switches and both repaints
# are measured, each painting the whole window every round, and printed with both figures, the
# ratio and the goal. The figures of a sanitizer build mean nothing; the benchmark is measured from
# a Release build.
set -euo pipefail
build_dir=$1
out=$(QT_QPA_PLATFORM=offscreen "$build_dir/bench/kavstyle/bench_kavstyle" 1 2>/dev/null)
echo "$out"
counts=(200 600 1800)
for line in "switch + repaint, MacOS/WinXP / style sheets" "switch + repaint, DeepBlue/Protein / sheets" \
            "unchanged repaint / Fusion"; do
  found=$(grep -Ec "^$(printf '%s' "$line" | sed 's/[+]/[+]/g') +[0-9.]+ ms +[0-9.]+ ms +[0-9.]+x  <= [0-9.]+.* (met|MISSED)$" <<<"$out" || true)
  [[ $found -eq ${#counts[@]} ]] || { echo "\"$line\" has figures at $found counts, not ${#counts[@]}"; exit 1; }
done
headings=$(sed -n "s/^\([0-9]*\) of Qt's widgets.*/\1/p" <<<"$out" | tr '\n' ' ')
[[ $headings == "${counts[*]} " ]] || { echo "measured at counts \"$headings\", not ${counts[*]}"; exit 1; }
grep -Eq '^goals (met at every count|MISSED at some count)$' <<<"$out" || { echo "no summary of the goals"; exit 1; }
# Every measurement paints the whole window (its widgets, and a few parts of them) every round.
index=0
while read -r painted; do
  count=${counts[$index]}
  for figure in $(grep -oE '[0-9]+' <<<"$painted"); do
    [[ $figure -ge $count ]] || { echo "a measurement of $count widgets painted $figure a round: $painted"; exit 1; }
  done
  index=$((index + 1))
done < <(sed -n 's/^widgets painted per round: //p' <<<"$out")
[[ $index -eq ${#counts[@]} ]] || { echo "painted counts for $index measurements, not ${#counts[@]}"; exit 1; }
