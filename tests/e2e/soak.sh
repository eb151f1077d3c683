#!/usr/bin/env bash
# Two minutes of rendering (RUNEPLATE_SOAK_SECONDS to change it) without the
# program's memory growing. The resident size of runeplate.exe is sampled
# every two seconds. Once ten seconds have passed (and at least ten frames
# have been drawn: the first frames still fill caches), its level may not rise
# by more than 1 MiB. The level of a stretch of samples is their lowest value:
# the size swings by a megabyte or two from frame to frame as the driver takes
# and gives back buffers, while a leak lifts the lowest value too. The first
# thirty seconds after settling are compared with the last thirty. Prints
# every sample.
source "$(dirname "$0")/lib.sh"

duration=${RUNEPLATE_SOAK_SECONDS:-120}
interval=2
settle=10
settle_frames=10
window=30
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
settled_at=""
times=()
sizes=()
while :; do
  now=$(( $(date +%s) - begin ))
  rss=$(e2e_rss_kib)
  [ -n "$rss" ] || e2e_fail "runeplate.exe ended during the soak"
  times+=("$now")
  sizes+=("$rss")
  if [ -z "$settled_at" ] && [ "$now" -ge "$settle" ]; then
    shot=$(e2e_shot soak-settle) || exit 1
    if e2e_check "$shot" && [ $((E2E_FRAME - start_frame)) -ge "$settle_frames" ]; then
      settled_at=$now
    elif [ "$now" -ge $((duration / 2)) ]; then
      e2e_fail "fewer than $settle_frames exact frames after $now s: ${E2E_REPORT%%$'\n'*}"
    fi
  fi
  [ "$now" -ge "$duration" ] && break
  sleep "$interval"
done

echo "VmRSS of runeplate.exe (seconds: KiB):"
for i in "${!times[@]}"; do
  printf "%5s: %7s" "${times[$i]}" "${sizes[$i]}"
  if [ $((i % 6)) -eq 5 ]; then printf "\n"; else printf "  "; fi
done
printf "\n"

# lowest_between FROM TO: the lowest sample taken in seconds FROM..TO.
lowest_between() {
  local i low=""
  for i in "${!times[@]}"; do
    if [ "${times[$i]}" -ge "$1" ] && [ "${times[$i]}" -le "$2" ]; then
      if [ -z "$low" ] || [ "${sizes[$i]}" -lt "$low" ]; then low=${sizes[$i]}; fi
    fi
  done
  echo "$low"
}
last=${times[-1]}
early=$(lowest_between "$settled_at" $((settled_at + window)))
late=$(lowest_between $((last - window)) "$last")
peak=$(printf "%s\n" "${sizes[@]}" | sort -n | tail -n 1)
growth=$((late - early))

e2e_wait_frame 15 soak-end
frames=$((E2E_FRAME - start_frame))
rate=$(awk -v f="$frames" -v d="$duration" 'BEGIN { printf "%.1f", f / d }')
echo "soak: ${duration} s, frames ${start_frame}..${E2E_FRAME} (${frames} frames, ${rate} per second), counter at the end ${E2E_COUNTER}"
echo "soak: settled at ${settled_at} s; lowest VmRSS in ${settled_at}..$((settled_at + window)) s ${early} KiB, in $((last - window))..${last} s ${late} KiB; growth ${growth} KiB (allowed ${allowed_kib} KiB); highest sample ${peak} KiB"
[ "$growth" -le "$allowed_kib" ] || e2e_fail "the program's memory grew by ${growth} KiB"
e2e_key Escape
e2e_expect_exit 10 0
