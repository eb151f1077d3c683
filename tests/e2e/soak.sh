#!/usr/bin/env bash
# Two minutes of rendering (RUNEPLATE_SOAK_SECONDS to change it) without the
# program's memory growing: the resident size of runeplate.exe, sampled every
# few seconds, may not rise more than 1 MiB above its value at ten seconds
# (or later, when the machine is so slow that fewer than ten frames have been
# drawn by then: the first frames still fill caches). Prints every sample.
source "$(dirname "$0")/lib.sh"

duration=${RUNEPLATE_SOAK_SECONDS:-120}
interval=5
settle=10
settle_frames=10
allowed_kib=1024

e2e_begin soak
e2e_start_screen
e2e_make_prefix
e2e_stage_app
e2e_start_program "$E2E_APP"
e2e_wait_window 30
e2e_wait_frame 30 soak-start
start_frame=$E2E_FRAME

begin=$(date +%s)
baseline=""
peak=0
echo "seconds  VmRSS(KiB)"
while :; do
  now=$(( $(date +%s) - begin ))
  rss=$(e2e_rss_kib)
  [ -n "$rss" ] || e2e_fail "runeplate.exe ended during the soak"
  printf "%7d  %10d\n" "$now" "$rss"
  if [ -z "$baseline" ] && [ "$now" -ge "$settle" ]; then
    shot=$(e2e_shot soak-settle) || exit 1
    if e2e_check "$shot" && [ $((E2E_FRAME - start_frame)) -ge "$settle_frames" ]; then
      baseline=$rss
      settle=$now
    elif [ "$now" -ge $((duration / 2)) ]; then
      e2e_fail "fewer than $settle_frames exact frames after $now s: ${E2E_REPORT%%$'\n'*}"
    fi
  fi
  if [ -n "$baseline" ] && [ "$rss" -gt "$peak" ]; then
    peak=$rss
  fi
  [ "$now" -ge "$duration" ] && break
  sleep "$interval"
done

e2e_wait_frame 15 soak-end
frames=$((E2E_FRAME - start_frame))
growth=$((peak - baseline))
rate=$(awk -v f="$frames" -v d="$duration" 'BEGIN { printf "%.1f", f / d }')
echo "soak: ${duration} s, frames ${start_frame}..${E2E_FRAME} (${frames} frames, ${rate} per second), counter at the end ${E2E_COUNTER}"
echo "soak: VmRSS at ${settle} s ${baseline} KiB, highest after ${peak} KiB, growth ${growth} KiB (allowed ${allowed_kib} KiB)"
[ "$growth" -le "$allowed_kib" ] || e2e_fail "the program's memory grew by ${growth} KiB"
e2e_key Escape
e2e_expect_exit 10 0
