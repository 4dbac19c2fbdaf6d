#!/usr/bin/env bash
# Builds an optimised print job and compares it with `cat` and `pr -l 66` on
# generated reports: a VAT book (totals cut and kept), a plain report and a
# ledger, in interleaved rounds. Sizes in MB; 10 and 100 by default, 1024 on
# request: scripts/bench.sh [--rounds N] [10 100 1024]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DPLIEGO_WINDOW=OFF -DBUILD_TESTING=OFF > /dev/null
cmake --build build/bench --target bench_print_job
echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), load $(cut -d' ' -f1-3 /proc/loadavg)"
build/bench/bench/bench_print_job "$@"
echo "Load after: $(cut -d' ' -f1-3 /proc/loadavg)"
