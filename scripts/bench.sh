#!/usr/bin/env bash
# Builds an optimised print engine and prints how fast it paginates a
# generated report (default 100 MB; pass another size in MB).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DPLIEGO_WINDOW=OFF -DBUILD_TESTING=OFF
cmake --build build/bench --target bench_print_job
build/bench/bench/bench_print_job "${1:-100}"
