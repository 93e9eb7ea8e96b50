#!/usr/bin/env bash
# Installs what is missing, builds Vocabrium and runs the whole test suite
# headless (Qt's offscreen platform; no display or sound card needed).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/build.sh"
cd "${BUILD_DIR:-$root/build}"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
