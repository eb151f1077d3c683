# Installs puppeteer-core, which the browser tests drive Chromium with, into
# build/cache/browser-tests from the npm registry. tests/browser's
# package-lock.json pins every package to the tarball npm published (sha512
# per package), and `npm ci` refuses any tarball that differs. Scripts are
# not run and no browser is downloaded: the tests use Debian's chromium.
# Sourced by scripts/setup; defines browser_tests_setup ROOT.

browser_tests_setup() {
  local root=$1
  local src="$root/tests/browser"
  local dir="$root/build/cache/browser-tests"
  if [ -f "$dir/node_modules/puppeteer-core/package.json" ] &&
     cmp -s "$src/package-lock.json" "$dir/package-lock.json"; then
    return 0
  fi
  echo "setup: installing puppeteer-core for the browser tests"
  rm -rf "$dir"
  mkdir -p "$dir"
  cp "$src/package.json" "$src/package-lock.json" "$dir/"
  local log
  log=$(mktemp)
  if ! (cd "$dir" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --ignore-scripts --no-audit --no-fund) \
      >"$log" 2>&1; then
    echo "setup: npm ci for the browser tests failed:" >&2
    tail -n 20 "$log" >&2
    rm -rf "$dir"
    return 1
  fi
  rm -f "$log"
}
