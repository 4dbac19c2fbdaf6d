#!/usr/bin/env bash
# Fuzzes with libFuzzer (clang from Debian's packages), under AddressSanitizer
# and UndefinedBehaviorSanitizer.
#
#   scripts/fuzz.sh [NAME|all] [SECONDS]
#
# NAME is a harness from the list below (default: all), SECONDS how long each
# one runs (default 60). A harness NAME is fuzz/fuzz_NAME.cpp, built as the
# target fuzz_NAME, with its seed corpus in fuzz/corpus/NAME/; to add one,
# add it to fuzz/CMakeLists.txt and to this list. What a run finds is kept in
# build/fuzz/corpus/NAME/ (reused by the next run); a failing input is saved
# in build/fuzz/artifacts/ and the script ends with an error.
set -euo pipefail
cd "$(dirname "$0")/.."

harnesses=(ini print_job print_record truetype_font)

name="${1:-all}"
seconds="${2:-60}"
if [ "$name" = all ]; then
  selected=("${harnesses[@]}")
elif [[ " ${harnesses[*]} " == *" $name "* ]]; then
  selected=("$name")
else
  echo "Arnes desconocido / unknown harness: $name (known: ${harnesses[*]})" >&2
  exit 2
fi

scripts/setup.sh
cmake --preset fuzz >/dev/null
for h in "${selected[@]}"; do
  cmake --build --preset fuzz --target "fuzz_$h"
done

export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p build/fuzz/artifacts
for h in "${selected[@]}"; do
  mkdir -p "build/fuzz/corpus/$h"
  echo "== fuzz_$h: $seconds s"
  "build/fuzz/fuzz/fuzz_$h" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
    -print_final_stats=1 -artifact_prefix=build/fuzz/artifacts/ \
    "build/fuzz/corpus/$h" "fuzz/corpus/$h"
done
echo "Fuzzing: OK"
