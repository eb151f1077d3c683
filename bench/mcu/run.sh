#!/usr/bin/env bash
# bench/mcu/run.sh: the figures of the freestanding core on the four
# microcontroller targets. Builds the cortex-m3, cortex-m0, riscv32 and avr
# presets (if need be),
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
  text=$(awk '$1 == ".text" || $1 == ".init" || $1 == ".vectors" || $1 == ".ARM.exidx" || $1 == ".preinit_array" || $1 == ".init_array" {s += $2} END {print s + 0}' <<<"$sizes")
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

targets=(cortex-m3 cortex-m0 riscv32 avr)
declare -A tools=([cortex-m3]=arm-none-eabi [cortex-m0]=arm-none-eabi [riscv32]=riscv64-unknown-elf [avr]=avr)
declare -A code tables ram font flash static
for target in "${targets[@]}"; do
  build "$target"
  read -r "code[$target]" "tables[$target]" "ram[$target]" "font[$target]" "flash[$target]" "static[$target]" \
    <<<"$(figures "${tools[$target]}" "build/$target/examples/framebuffer/$target/framebuffer.elf")"
done
avr_elf=build/avr/examples/framebuffer/avr/framebuffer.elf

uart=$(timeout 60 simavr -m atmega328p -f 16000000 "$avr_elf" 2>&1 | sed -e 's/\x1b\[[0-9;]*m//g' -e 's/\.$//')
hangul=$(sed -n 's/.*cycles hangul \([0-9]*\).*/\1/p' <<<"$uart")
ascii=$(sed -n 's/.*cycles ascii \([0-9]*\).*/\1/p' <<<"$uart")

# row LABEL GOAL ARRAY: one figure of every target.
row() {
  local label=$1 goal=$2
  local -n values=$3
  printf '%-44s' "$label"
  for target in "${targets[@]}"; do printf ' %11s' "${values[$target]}"; done
  printf '   %s\n' "$goal"
}
declare -A names=([cortex-m3]=Cortex-M3 [cortex-m0]=Cortex-M0 [riscv32]=RV32IMC [avr]=ATmega328P)
declare -A hangul_cycles=([cortex-m3]=- [cortex-m0]=- [riscv32]=- [avr]=${hangul:-?})
declare -A ascii_cycles=([cortex-m3]=- [cortex-m0]=- [riscv32]=- [avr]=${ascii:-?})
row "figure (bytes unless said)" "goal (ATmega328P)" names
row "engine code (text, composer, C interface)" "" code
row "engine tables (in flash)" "" tables
row "engine static RAM" "under 64" ram
row "font (compact, all 11,172 syllables)" "" font
row "example's flash (all of it)" "under 19,456 (1 KB of the Uno's 20 KB spare)" flash
row "example's static RAM (1,024: frame buffer)" "under 1.2 KB (1,229)" static
row "cycles to draw one Hangul syllable" "at most 4,000" hangul_cycles
row "cycles to draw one ASCII character" "at most 1,500" ascii_cycles
echo "(The Cortex-M and RISC-V examples link their C library's stdio for semihosting, most of their"
echo "flash and RAM; the RISC-V figure for RAM leaves out picolibc's 2 KB stack section.)"
