#!/usr/bin/env bash
# The browser edition's figures, measured in Debian's Chromium, headless, on this machine, each side by side with the
# least a page does for the same (bench/web/performance.mjs):
#   1. page load to the name prompt: the site against a bare page with the same dialog, style sheet and font;
#   2. one Enter Response: from the click to the page's handled count growing, against two bare write + flush calls
#      of the same sizes in a dedicated worker, the page's round trip to it included;
#   3. the size of the site, file by file.
# It builds the site (the web preset, build-web/site/) first and serves it with bench/web/ on 127.0.0.1. --runs N
# sets the runs per figure (PERF_RUNS, 15 by default). It fails only when a figure could not be taken.
# Usage: performance-web.sh [--runs N]
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-packages.sh web web-tests
npm ci --prefix tests/web --no-audit --no-fund --loglevel=error
cmake --preset web >/dev/null
cmake --build --preset web -j"$(nproc)" --target site
node bench/web/performance.mjs build-web/site bench/web "$@"
