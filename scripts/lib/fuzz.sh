# The fuzz phase: every libFuzzer target of the fuzz preset (build/fuzz/fuzz)
# runs for a bounded time over its seed corpus (tests/fuzz/corpus/NAME, with
# tests/fuzz/dict/NAME.dict where there is one), two at a time on the
# machine's two cores. New inputs go to build/fuzz/corpus/NAME, so a later
# run starts where this one ended; a finding (crash, failed check, leak,
# timeout, memory blow-up) is saved under build/fuzz/findings/NAME/ (each
# run starts that folder afresh) and fails its target. Source it from bash.

# fuzz_run ROOT SECONDS LOGDIR: runs each target for SECONDS, logs in LOGDIR,
# prints a line per target (executions per second, edges covered, features)
# and leaves the counts in fuzz_passed and fuzz_failed. The seed is printed;
# RUNEPLATE_FUZZ_SEED repeats a run.
fuzz_run() {
  local root=$1 seconds=$2 logdir=$3
  local bindir="$root/build/fuzz/fuzz" seed=${RUNEPLATE_FUZZ_SEED:-$((RANDOM * 32768 + RANDOM + 1))}
  fuzz_passed=0
  fuzz_failed=0
  mkdir -p "$logdir"
  local names=() bin
  for bin in "$bindir"/*; do
    [ -f "$bin" ] && [ -x "$bin" ] && names+=("$(basename "$bin")")
  done
  if [ ${#names[@]} -eq 0 ]; then
    echo "fuzz: no targets in $bindir"
    fuzz_failed=1
    return 1
  fi
  echo "fuzz: ${#names[@]} targets, ${seconds}s each, two at a time, -seed=$seed"
  local name running=0
  for name in "${names[@]}"; do
    fuzz_one "$root" "$name" "$seconds" "$seed" "$logdir" &
    running=$((running + 1))
    if [ "$running" -ge 2 ]; then
      wait -n
      running=$((running - 1))
    fi
  done
  wait
  for name in "${names[@]}"; do
    if fuzz_report "$root" "$name" "$logdir"; then
      fuzz_passed=$((fuzz_passed + 1))
    else
      fuzz_failed=$((fuzz_failed + 1))
    fi
  done
  [ "$fuzz_failed" -eq 0 ]
}

# fuzz_one ROOT NAME SECONDS SEED LOGDIR: one target's run; its exit status
# goes to LOGDIR/NAME.status.
fuzz_one() {
  local root=$1 name=$2 seconds=$3 seed=$4 logdir=$5
  local work="$root/build/fuzz/corpus/$name" findings="$root/build/fuzz/findings/$name"
  local dict="$root/tests/fuzz/dict/$name.dict"
  # A finding belongs to the run that made it: once mended, its input lives
  # on in the corpus, not here.
  rm -rf "$findings"
  mkdir -p "$work" "$findings"
  local args=(-max_total_time="$seconds" -seed="$seed" -timeout=30 -rss_limit_mb=2048
              -print_final_stats=1 -artifact_prefix="$findings/")
  [ -f "$dict" ] && args+=(-dict="$dict")
  "$root/build/fuzz/fuzz/$name" "${args[@]}" "$work" "$root/tests/fuzz/corpus/$name" \
    >"$logdir/$name.log" 2>&1
  echo $? >"$logdir/$name.status"
}

# fuzz_report ROOT NAME LOGDIR: prints the line of one target; fails on a
# finding.
fuzz_report() {
  local root=$1 name=$2 logdir=$3
  local log="$logdir/$name.log" status
  status=$(cat "$logdir/$name.status" 2>/dev/null || echo "?")
  local findings
  findings=$(find "$root/build/fuzz/findings/$name" -type f 2>/dev/null | head -n 3)
  if [ "$status" != 0 ] || [ -n "$findings" ]; then
    echo "fuzz: $name: FINDING (exit $status); input in ${findings:-(none saved)}; log $log"
    grep -m 3 -E "ERROR|fuzz check failed|SUMMARY" "$log" | sed 's/^/fuzz:   /'
    echo "fuzz:   once mended, add the input to tests/fuzz/corpus/$name"
    return 1
  fi
  local done_line runs rate
  done_line=$(grep -E "^#[0-9]+[[:space:]]+DONE" "$log" | tail -n 1)
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  local cov ft
  cov=$(echo "$done_line" | sed -n 's/.* cov: \([0-9]*\).*/\1/p')
  ft=$(echo "$done_line" | sed -n 's/.* ft: \([0-9]*\).*/\1/p')
  echo "fuzz: $name: ${runs:-?} runs, ${rate:-?} exec/s, cov ${cov:-?} edges, ft ${ft:-?} features"
}
