#!/usr/bin/env bash
# CTestReportTest.sh WORK: what scripts/test makes of a real CTest run with
# one test of every outcome, repeated until it passes as the Windows preset
# is. Catches a count that takes a test that never ran for a pass or a skip,
# a second attempt that goes unnamed, and progress lines that miscount
# attempts, break on the names of parameterised cases, give a group the
# time of another, or stay silent while a long test runs.
set -u
source "$(dirname "$0")/../../scripts/lib/ctest-report.sh"
work=$1
rm -rf "$work"
mkdir -p "$work/src"
cat >"$work/src/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.25)
project(outcomes NONE)
enable_testing()
add_test(NAME Pass.ok COMMAND true)
add_test(NAME Slow.sleep COMMAND sleep 3)
add_test(NAME "Param/Suite.Case/0  # GetParam() = 0" COMMAND true)
add_test(NAME Flaky.second COMMAND sh -c "[ -e flag ] || { touch flag; echo first attempt; exit 1; }")
add_test(NAME Fail.always COMMAND sh -c "echo broken; exit 3")
add_test(NAME Skip.self COMMAND sh -c "exit 77")
set_tests_properties(Skip.self PROPERTIES SKIP_RETURN_CODE 77)
add_test(NAME Fixture.setup COMMAND false)
add_test(NAME Fixture.user COMMAND true)
set_tests_properties(Fixture.setup PROPERTIES FIXTURES_SETUP fx)
set_tests_properties(Fixture.user PROPERTIES FIXTURES_REQUIRED fx)
add_test(NAME Missing.program COMMAND /nonexistent/program)
add_test(NAME e2e.one COMMAND true)
add_test(NAME e2e.two COMMAND true)
CMAKE
cmake -S "$work/src" -B "$work/build" >"$work/configure.log" 2>&1 || { cat "$work/configure.log"; exit 1; }
# Read as it comes, saying which test still runs after a second of silence.
(cd "$work/build" && ctest --repeat until-pass:2 --output-on-failure --output-junit "$work/junit.xml") 2>&1 |
  tee "$work/console.log" | ctest_progress t groups 1 >"$work/progress.log"

failures=0
expect() {
  local what=$1 actual=$2 expected=$3
  if [ "$actual" != "$expected" ]; then
    printf 'FAIL: %s\n  expected: %s\n  actual:   %s\n' "$what" "$expected" "$actual"
    failures=$((failures + 1))
  fi
}

expect "passed failed skipped" "$(junit_counts "$work/junit.xml")" "6 4 1"
expect "tests that passed only on a second attempt" "$(retried_names "$work/console.log" "$work/junit.xml")" "Flaky.second"
: >"$work/empty.xml"
junit_counts "$work/empty.xml" >/dev/null && expect "a report without tests" "counted" "refused"
junit_counts "$work/absent.xml" 2>/dev/null && expect "a missing report" "counted" "refused"

grep -qE '^  t: Pass: 1 passed \([01] s\)$' "$work/progress.log" || expect "time of a quick group" "(other)" "0 or 1 s"
grep -qE '^  t: Slow: 1 passed \([3-9] s\)$' "$work/progress.log" || expect "time of a slow group" "(other)" "3 s or more"
grep -q '^  t: Slow.sleep still running' "$work/progress.log" || expect "a long test" "unmentioned" "still running"
progress=$(sed -E 's/ \([0-9]+ s\)$//' "$work/progress.log")
while IFS= read -r line; do
  grep -qxF -- "$line" <<<"$progress" || expect "progress line" "(missing)" "$line"
done <<'LINES'
  t: Pass: 1 passed
  t: Param/Suite: 1 passed
  t: FAILED Flaky.second (Failed)
    first attempt
  t: Flaky.second passed on a second attempt
  t: Flaky: 1 passed
  t: FAILED Fail.always again (Failed)
  t: Fail: 0 passed, 1 failed
  t: Skip: 0 passed, 1 skipped
  t: FAILED Fixture.user (Not Run)
  t: Fixture: 0 passed, 2 failed
  t: Missing: 0 passed, 1 failed
  t: e2e.one: 1 passed
  t: e2e.two: 1 passed
LINES
# Nothing of CTest's own summary.
grep -q "tests passed" <<<"$progress" && expect "CTest's summary" "shown" "left out"

[ "$failures" -eq 0 ] || { echo "--- progress:"; echo "$progress"; exit 1; }
echo "ok"
