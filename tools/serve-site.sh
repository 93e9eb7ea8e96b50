#!/usr/bin/env bash
# Serves the dictionary site (build/site: the list page, the advert strip and
# the dictionaries) at http://127.0.0.1:8091/, for trying the site over HTTP
# (VOCABRIUM_SITE_URL=http://127.0.0.1:8091/); the program reads the same
# folder as a file: address by default.
# Builds the project first when the site or the server is missing.
#   PORT=8092 ADDRESS=0.0.0.0 tools/serve-site.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
if [ ! -x "$build/siteserver" ] || [ ! -f "$build/site/dictionaries.html" ]; then
    "$root/tools/build.sh"
fi
exec "$build/siteserver" "$build/site" "${PORT:-8091}" "${ADDRESS:-127.0.0.1}"
