#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, address and undefined-behaviour sanitizers) and
# runs each one for a bounded time on a copy of its seed corpus. Exits non-zero when a target
# crashes, leaks, hangs or fails to build.
#
# Target convention: fuzz/<name>/ builds the executable fuzz_<name>; its seeds are in
# fuzz/<name>/corpus/. FUZZ_SECONDS sets the time per target (default 60).
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
build="$repo/build-fuzz"
seconds="${FUZZ_SECONDS:-60}"

cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DKAV_FUZZ=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j 2

# A smaller quarantine than the default 256 MB keeps the resident size well below the fuzzer's
# limit over a whole run; freed memory is still poisoned until it leaves the quarantine.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:quarantine_size_mb=64"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export QT_QPA_PLATFORM=offscreen

status=0
for dir in "$repo"/fuzz/*/; do
  name="$(basename "$dir")"
  [[ -f "$dir/CMakeLists.txt" ]] || continue
  target="$build/fuzz/$name/fuzz_$name"
  if [[ ! -x "$target" ]]; then
    echo "fuzz: no executable $target" >&2
    status=1
    continue
  fi

  # Work on a copy so that the inputs the fuzzer adds never land in the repository.
  corpus="$build/corpus/$name"
  artifacts="$build/artifacts/$name"
  rm -rf "$corpus"
  mkdir -p "$corpus" "$artifacts"
  if [[ -d "$dir/corpus" ]]; then
    cp -r "$dir/corpus/." "$corpus/"
  fi

  echo "fuzz: running fuzz_$name for ${seconds}s"
  if "$target" "$corpus" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=1024 \
      -artifact_prefix="$artifacts/" -print_final_stats=1 >"$build/fuzz_$name.log" 2>&1; then
    echo "fuzz: fuzz_$name found nothing ($(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$build/fuzz_$name.log" | grep -o '[0-9]*$') runs)"
  else
    echo "fuzz: fuzz_$name FAILED, log follows; reproducers in $artifacts" >&2
    tail -n 60 "$build/fuzz_$name.log" >&2
    status=1
  fi
done
exit "$status"
