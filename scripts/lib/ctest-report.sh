# What scripts/test makes of a CTest run: the counts from CTest's JUnit
# report, which CTest writes from its own results (its console text is for
# people and changes between versions), and progress lines from the console
# text while the run goes on. Source it from bash.

# junit_counts FILE: prints "PASSED FAILED SKIPPED" for a JUnit report of
# CTest. A test that did not run counts as failed unless it skipped itself
# (SKIP_RETURN_CODE or SKIP_REGULAR_EXPRESSION): CTest reports a missing
# program or a failed fixture as "skipped" too. Fails when FILE is missing,
# unreadable or holds no test at all.
junit_counts() {
  [ -r "$1" ] || return 1
  awk '
    function finish() {
      if (status == "") return
      if (status == "run") passed++
      else if (status == "disabled") disabled++
      else if (status == "notrun" && skip ~ /^SKIP_(RETURN_CODE|REGULAR_EXPRESSION)/) skipped++
      else failed++
      status = ""
    }
    /^[ \t]*<testcase / {
      finish()
      status = "?"
      if (match($0, / status="[^"]*"/)) status = substr($0, RSTART + 9, RLENGTH - 10)
      skip = ""
      cases++
    }
    /^[ \t]*<skipped message="/ {
      skip = $0
      sub(/^[ \t]*<skipped message="/, "", skip)
    }
    END {
      finish()
      if (cases == 0) exit 1
      printf "%d %d %d\n", passed, failed, skipped
    }' "$1"
}

# junit_passed_names FILE: the names of the tests that passed, one a line.
junit_passed_names() {
  sed -nE 's/^[[:space:]]*<testcase name="([^"]*)".* status="run".*/\1/p' "$1" |
    sed -e 's/&lt;/</g' -e 's/&gt;/>/g' -e 's/&quot;/"/g' -e "s/&apos;/'/g" -e 's/&amp;/\&/g'
}

# retried_names LOG JUNIT: the tests whose first attempt failed in the CTest
# console LOG but which passed in the end (with --repeat until-pass), one a
# line. Only the console text says that a test needed a second attempt.
retried_names() {
  comm -12 \
    <(sed -nE 's/^ *[0-9]+\/[0-9]+ +Test +#[0-9]+: (.+) \.{3,} *\*\*\*.*/\1/p' "$1" | sort -u) \
    <(junit_passed_names "$2" | sort -u)
}

# ctest_progress PRESET GROUPS [QUIET]: reads CTest's console output and
# prints, for people watching, each failed attempt as it happens followed by
# the test's output; when GROUPS is "groups", a line per finished test group
# (a GoogleTest suite, or an end-to-end scenario on its own, since one alone
# runs for minutes); and, whenever CTest has said nothing for QUIET seconds
# (default 60), which test is still running. Counts nothing that scripts/test
# reports.
ctest_progress() {
  local preset=$1 groups=$2 quiet=${3:-60}
  local line chunk="" buffer="" current="" since=$SECONDS passthrough=0
  local group="" gPassed=0 gFailed=0 gSkipped=0 gStart=$SECONDS
  # CTest pads every name with at least three dots; names of parameterised
  # GoogleTest cases hold spaces ("Set/Case.Name/0  # GetParam() = 0"). What
  # follows the dots may run over more than one line (a failed regular
  # expression is quoted whole), so only "***" tells a failed attempt from a
  # passed one.
  local result='^ *([0-9]+/[0-9]+ +)?Test +#[0-9]+: (.+) \.{3,} *(\*\*\*)?(.*)$'
  local start='^ *Start +[0-9]+: (.+)$'
  while :; do
    if IFS= read -r -t "$quiet" chunk; then
      line=$buffer$chunk
      buffer=""
    elif [ $? -gt 128 ]; then
      # Nothing for a while; keep what came of an unfinished line.
      buffer+=$chunk
      [ -z "$current" ] || echo "  $preset: $current still running ($((SECONDS - since)) s)"
      continue
    else
      line=$buffer$chunk
      [ -n "$line" ] || break
      buffer=""
      chunk=""
    fi
    if [[ $line =~ $start ]]; then
      passthrough=0
      current=${BASH_REMATCH[1]}
      since=$SECONDS
      progress_group "$current"
    elif [[ $line =~ $result ]]; then
      passthrough=0
      current=""
      progress_result "${BASH_REMATCH[1]}" "${BASH_REMATCH[2]}" "${BASH_REMATCH[3]}" "${BASH_REMATCH[4]}"
    elif [[ $line =~ ^[0-9]+%\ tests\ passed ]]; then
      # CTest's own summary follows; scripts/test counts from the JUnit report.
      passthrough=0
      progress_group ""
      groups=none
    elif [ "$passthrough" -eq 1 ] && [ -n "$line" ]; then
      echo "    $line"
    fi
  done
  progress_group ""
}

# The parts of ctest_progress, sharing its variables.
# progress_group NAME: NAME's test starts (or nothing more, with ""): the
# group before ends if NAME is not of it.
progress_group() {
  local key=${1%%.*}
  [[ $1 == e2e.* ]] && key=$1
  [ "$key" != "$group" ] || return 0
  if [ "$groups" = groups ] && [ -n "$group" ]; then
    local more=""
    [ "$gFailed" -eq 0 ] || more=", $gFailed failed"
    [ "$gSkipped" -eq 0 ] || more="$more, $gSkipped skipped"
    echo "  $preset: $group: $gPassed passed$more ($((SECONDS - gStart)) s)"
  fi
  group=$key gPassed=0 gFailed=0 gSkipped=0 gStart=$SECONDS
}

# progress_result FIRST NAME STARS STATUS: one attempt's result; FIRST is
# empty for a second attempt.
progress_result() {
  local first=$1 name=$2 status=$4
  [ -n "$3" ] || status=Passed
  # "Failed    0.02 sec", "Not Run   0.00 sec": the status alone.
  status=${status%%  *}
  progress_group "$name"
  case $status in
    Passed)
      gPassed=$((gPassed + 1))
      if [ -z "$first" ]; then
        echo "  $preset: $name passed on a second attempt"
        gFailed=$((gFailed - 1))
      fi
      ;;
    Skipped) gSkipped=$((gSkipped + 1)) ;;
    *)
      if [ -n "$first" ]; then
        gFailed=$((gFailed + 1))
        echo "  $preset: FAILED $name ($status)"
      else
        echo "  $preset: FAILED $name again ($status)"
      fi
      passthrough=1
      ;;
  esac
}

# build_progress PRESET: reads a build's output and says every half minute
# how far it has come, so a build of minutes is never silent.
build_progress() {
  local preset=$1 line percent="" last=$SECONDS
  while IFS= read -r line; do
    [[ $line =~ ^\[\ *([0-9]+)%\] ]] && percent=${BASH_REMATCH[1]}
    if [ -n "$percent" ] && [ $((SECONDS - last)) -ge 30 ]; then
      echo "  $preset: building, $percent% done"
      last=$SECONDS
    fi
  done
}
