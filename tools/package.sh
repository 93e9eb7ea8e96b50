#!/usr/bin/env bash
# Builds the Debian package of Vocabrium: build/vocabrium_<version>_<arch>.deb
# (or in $BUILD_DIR). Install it with
#   sudo apt-get install ./build/vocabrium_*.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/tools/build.sh"
rm -f "$build"/vocabrium_*.deb
(cd "$build" && cpack --config CPackConfig.cmake >/dev/null)
ls "$build"/vocabrium_*.deb
