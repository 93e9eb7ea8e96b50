#!/usr/bin/env bash
# Installs what is missing, builds Vocabrium and runs the whole test suite
# headless (Qt's offscreen platform; no display or sound card needed).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/build.sh"
cd "${BUILD_DIR:-$root/build}"
# No second tries: the tests wait on signals and conditions, so a failure
# is a fault to find, not a slow moment.
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
