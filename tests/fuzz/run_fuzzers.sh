#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, ASan, UBSan) in a build folder
# of their own and runs each for a bounded time. New inputs that reach new code
# are kept in <build>/corpus/<target>; an input that breaks a check is saved in
# <build>/artifacts/ and the script fails.
#
#   run_fuzzers.sh [--seconds N] [--build DIR] [--jobs N]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
seconds=5
build="$source_dir/build-fuzz"
jobs=$(nproc)
while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) seconds=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    --jobs) jobs=$2; shift 2 ;;
    *) echo "usage: $0 [--seconds N] [--build DIR] [--jobs N]" >&2; exit 2 ;;
  esac
done

flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S "$source_dir" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS="$flags" -DIDENTSTRIP_FUZZ=ON \
  -DIDENTSTRIP_BUILD_UI=OFF -DIDENTSTRIP_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "$jobs" --target line_file_fuzz conversion_fuzz >/dev/null

status=0
for target in line_file_fuzz conversion_fuzz; do
  corpus="$build/corpus/$target"
  artifacts="$build/artifacts"
  log="$build/$target.log"
  mkdir -p "$corpus" "$artifacts"
  # Longer inputs than the default 4096 bytes, so that lines run past the
  # record and across the refills of the line files' buffer.
  if ! "$build/tests/fuzz/$target" -max_total_time="$seconds" -max_len=32768 -timeout=10 \
      -rss_limit_mb=2048 -dict="$here/identstrip.dict" -artifact_prefix="$artifacts/$target-" \
      -print_final_stats=1 "$corpus" "$here/corpus" >"$log" 2>&1; then
    echo "$target: FAILED, see $log; the failing input is in $artifacts/" >&2
    tail -n 40 "$log" >&2
    status=1
    continue
  fi
  done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1 || true)
  echo "$target (${seconds}s): ${done_line:-no summary, see $log}"
done
exit $status
