#!/usr/bin/env bash
# bench/mcu/run.sh: the figures of the freestanding core on the two
# microcontroller targets. Builds the cortex-m3 and avr presets (if need be),
# then prints, for each target's framebuffer firmware, from its symbol table
# (readelf) and size: the code and constant tables of the engine (the
# runeplate namespace and the C interface), the font, the example's total
# flash and static RAM, and the engine's own static RAM; and, from the AVR
# firmware's run under simavr (Timer1 counts CPU cycles), the cycles to draw
# one Hangul syllable and one ASCII character into the frame buffer. Figures
# only, never pass or fail; the goals are printed beside them.
#
# Code the link-time optimiser inlined into the example's own functions is
# counted as the example's, so the engine's figure is a lower bound.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"

build() {
  cmake --preset "$1" >/dev/null && cmake --build --preset "$1" >/dev/null ||
    { echo "bench/mcu: building the $1 preset failed" >&2; exit 1; }
}

# figures PREFIX ELF: "engine-code engine-tables engine-ram font flash ram".
figures() {
  local tools=$1 elf=$2
  local sizes
  sizes=$("$tools-size" -A "$elf")
  local text data bss
  text=$(awk '$1 == ".text" || $1 == ".vectors" || $1 == ".ARM.exidx" || $1 == ".init_array" {s += $2} END {print s + 0}' <<<"$sizes")
  data=$(awk '$1 == ".data" {print $2}' <<<"$sizes")
  bss=$(awk '$1 == ".bss" {print $2}' <<<"$sizes")
  # Section numbers of the writable (RAM) sections.
  local ram_sections
  ram_sections=$("$tools-readelf" -SW "$elf" | awk '/^ *\[ *[0-9]+\]/ {gsub(/[][]/, " "); if ($2 == ".data" || $2 == ".bss") printf "%s ", $1}')
  "$tools-readelf" -sW "$elf" | "$tools-c++filt" | awk -v ram="$ram_sections" -v flash=$((text + ${data:-0})) \
    -v static_ram=$((${data:-0} + ${bss:-0})) '
    BEGIN { n = split(ram, r, " "); for (i = 1; i <= n; ++i) isram[r[i]] = 1 }
    ($4 == "FUNC" || $4 == "OBJECT") {
      name = $8; for (i = 9; i <= NF; ++i) name = name " " $i
      if (name ~ /^runeplate_round/) { font += $3; next }
      if (name !~ /^runeplate::/ && name !~ /^runeplate_/) next
      if (isram[$7]) engine_ram += $3
      else if ($4 == "FUNC") code += $3
      else tables += $3
    }
    END { printf "%d %d %d %d %d %d\n", code, tables, engine_ram, font, flash, static_ram }'
}

build cortex-m3
build avr
arm_elf=build/cortex-m3/examples/framebuffer/cortex-m3/framebuffer.elf
avr_elf=build/avr/examples/framebuffer/avr/framebuffer.elf
read -r arm_code arm_tables arm_ram arm_font arm_flash arm_static <<<"$(figures arm-none-eabi "$arm_elf")"
read -r avr_code avr_tables avr_ram avr_font avr_flash avr_static <<<"$(figures avr "$avr_elf")"

uart=$(timeout 60 simavr -m atmega328p -f 16000000 "$avr_elf" 2>&1 | sed -e 's/\x1b\[[0-9;]*m//g' -e 's/\.$//')
hangul=$(sed -n 's/.*cycles hangul \([0-9]*\).*/\1/p' <<<"$uart")
ascii=$(sed -n 's/.*cycles ascii \([0-9]*\).*/\1/p' <<<"$uart")

printf '%-44s %12s %12s   %s\n' "figure (bytes unless said)" "Cortex-M3" "ATmega328P" "goal (ATmega328P)"
printf '%-44s %12s %12s   %s\n' "engine code (text, composer, C interface)" "$arm_code" "$avr_code" ""
printf '%-44s %12s %12s   %s\n' "engine tables (in flash)" "$arm_tables" "$avr_tables" ""
printf '%-44s %12s %12s   %s\n' "engine static RAM" "$arm_ram" "$avr_ram" "under 64"
printf '%-44s %12s %12s   %s\n' "font (compact, all 11,172 syllables)" "$arm_font" "$avr_font" ""
printf '%-44s %12s %12s   %s\n' "example's flash (all of it)" "$arm_flash" "$avr_flash" "under 19,456 (1 KB of the Uno's 20 KB spare)"
printf '%-44s %12s %12s   %s\n' "example's static RAM (1,024: frame buffer)" "$arm_static" "$avr_static" "under 1.2 KB (1,229)"
printf '%-44s %12s %12s   %s\n' "cycles to draw one Hangul syllable" "-" "${hangul:-?}" "at most 4,000"
printf '%-44s %12s %12s   %s\n' "cycles to draw one ASCII character" "-" "${ascii:-?}" "at most 1,500"
echo "(The Cortex-M3 example links newlib's stdio for semihosting, most of its flash and RAM.)"
