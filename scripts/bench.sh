#!/usr/bin/env bash
# Builds an optimised print job and compares it with `cat` and `pr -l 66` on
# generated reports: a VAT book (totals cut and kept), a plain report and a
# ledger, in interleaved rounds. Sizes in MB; 10 and 100 by default, 1024 on
# request: scripts/bench.sh [--rounds N] [10 100 1024]. Then the book as a
# PDF (750 to 3,000 pages), then the window's start-up against a minimal Qt
# window's.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset bench > /dev/null
cmake --build --preset bench
echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), load $(cut -d' ' -f1-3 /proc/loadavg)"
build/bench/bench/bench_print_job "$@"
build/bench/bench/bench_pdf

# The window's start-up, from a folder with the demo reports and profiles;
# on the display when there is one (xvfb-run scripts/bench.sh), else offscreen.
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp build/bench/bench/start_up_window demo/*.TXT demo/Pliegomatic.ini "$stage"/
[ -n "${DISPLAY:-}" ] || export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
build/bench/bench/bench_start_up "$stage/start_up_window" 21
echo "Load after: $(cut -d' ' -f1-3 /proc/loadavg)"
