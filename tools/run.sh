#!/usr/bin/env bash
# Installs what is missing, builds Vocabrium and starts it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/build.sh"
exec "${BUILD_DIR:-$root/build}/vocabrium" "$@"
