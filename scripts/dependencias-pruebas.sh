#!/usr/bin/env bash
# What the tests need beyond scripts/dependencias.sh: the web page's test
# drives chromium with puppeteer-core and checks it with axe-core, both from
# the npm registry at the versions tests/web/package-lock.json records,
# installed into tests/web/node_modules. Only the tests need them: the
# program and the page do not. Safe to run again.
set -euo pipefail
web_tests="$(cd "$(dirname "$0")/../tests/web" && pwd)"
if [[ ! -f "$web_tests/node_modules/.package-lock.json" ]] \
    || [[ "$web_tests/package-lock.json" -nt "$web_tests/node_modules/.package-lock.json" ]]; then
    command -v npm >/dev/null || bash "$(dirname "$0")/instalar-faltantes.sh" npm
    npm ci --prefix "$web_tests" --no-audit --no-fund --loglevel=error
fi
