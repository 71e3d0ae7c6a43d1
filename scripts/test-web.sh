#!/usr/bin/env bash
# Builds the browser edition with Debian's em++ (the web preset, in build-web/) and runs its tests in Debian's
# Chromium, headless, driven by playwright-core (tests/web/, pinned in its package-lock.json, no browser download):
# the file contract and the unfinished-append repair, held by WebFiles over the origin-private file system, served
# on localhost; then the site's page as a student uses it (tests/web/program.test.mjs). Arguments go to the first
# tests (--gtest_filter=...). Fails when any test fails.
# Usage: test-web.sh [TEST ARGUMENT...]
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-packages.sh web web-tests
npm ci --prefix tests/web --no-audit --no-fund --loglevel=error
cmake --preset web >/dev/null
cmake --build --preset web -j"$(nproc)"
node tests/web/run-tests.mjs build-web/tests "$@"
node tests/web/program.test.mjs build-web/site
