#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test (no display needed).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
# The presets are in CMakePresets.json; the build is in build/test.
cmake --preset test
cmake --build --preset test
ctest --preset test
