# What scripts/test makes of a `node --test` run: the counts from the TAP
# report node's test runner writes (its summary lines "# pass N" and
# "# fail N"; a test file that cannot even load counts as a failed test
# there). Source it from bash.

# node_tap_counts FILE: prints "PASSED FAILED SKIPPED" for a TAP report of
# node's test runner (a cancelled test counts as failed). Fails when FILE is missing or holds no summary, or no test ran.
node_tap_counts() {
  [ -r "$1" ] || return 1
  awk '
    /^# pass [0-9]+$/ { pass = $3; seen++ }
    /^# fail [0-9]+$/ { fail = $3; seen++ }
    /^# cancelled [0-9]+$/ { cancelled = $3 }
    /^# skipped [0-9]+$/ { skipped = $3 }
    END {
      if (seen < 2 || pass + fail + cancelled + skipped == 0) exit 1
      printf "%d %d %d\n", pass, fail + cancelled, skipped
    }' "$1"
}

# node_tap_failures FILE: the names of the tests that failed, one a line.
node_tap_failures() {
  sed -nE 's/^ *not ok [0-9]+ - (.*)$/\1/p' "$1"
}
