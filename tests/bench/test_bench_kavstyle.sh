#!/usr/bin/env bash
# bench_kavstyle, run short (one turn): both switches and both repaints are measured, each painting
# the whole window of 600 widgets every round, and printed with both figures, the ratio and the
# goal. The figures of a sanitizer build mean nothing; the benchmark is measured from a Release
# build.
set -euo pipefail
build_dir=$1
out=$(QT_QPA_PLATFORM=offscreen "$build_dir/bench/kavstyle/bench_kavstyle" 1 2>/dev/null)
echo "$out"
for line in "switch + repaint, MacOS/WinXP / style sheets" "switch + repaint, DeepBlue/Protein / sheets" \
            "unchanged repaint / Fusion"; do
  grep -Eq "^$(printf '%s' "$line" | sed 's/[+]/[+]/g') +[0-9.]+ ms +[0-9.]+ ms +[0-9.]+x  <= [0-9.]+.* (met|MISSED)$" <<<"$out" \
    || { echo "no figures for \"$line\""; exit 1; }
done
painted=$(sed -n 's/^widgets painted per round: //p' <<<"$out")
[[ -n $painted ]] || { echo "no count of painted widgets"; exit 1; }
for count in $(grep -oE '[0-9]+' <<<"$painted"); do
  [[ $count -ge 600 ]] || { echo "a measurement painted $count widgets a round, not the whole window: $painted"; exit 1; }
done
