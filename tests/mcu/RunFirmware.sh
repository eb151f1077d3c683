#!/usr/bin/env bash
# RunFirmware.sh FIRMWARE NATIVE_EXAMPLE qemu|simavr EMULATOR [EMULATOR_ARGS...]
# Runs the framebuffer firmware in its emulator and compares the picture it
# hands back with the native example's, byte for byte: the Cortex-M3,
# Cortex-M0 and RISC-V firmware write framebuffer.pbm through semihosting
# (qemu-system-arm on the LM3S6965 and micro:bit boards, qemu-system-riscv32
# on virt), the ATmega328P sends its rows in hex through UART0 (simavr prints
# each line with colour codes and a '.' for the line feed). Catches the
# engine, the composer or the compact font behaving differently on the
# target (int width, flash reads, byte order), a start-up that skips the
# constructors of globals (the firmware ends with 3, or the AVR says so) and
# a firmware that hangs (every run has a timeout).
set -u
firmware=$1 native=$2 mode=$3
shift 3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$native" "$scratch/expected.pbm" || { echo "FAIL: the native example ended with $?"; exit 1; }
cd "$scratch" || exit 1
case $mode in
  qemu)
    timeout 60 "$@" -nographic -monitor none -serial none \
      -semihosting-config enable=on,target=native -kernel "$firmware" </dev/null >log.txt 2>&1
    status=$?
    [ "$status" -ne 3 ] || { echo "FAIL: the start-up did not run the constructors of globals"; exit 1; }
    [ "$status" -eq 0 ] || { cat log.txt; echo "FAIL: qemu ended with $status"; exit 1; }
    [ -f framebuffer.pbm ] || { echo "FAIL: the firmware wrote no picture"; exit 1; }
    ;;
  simavr)
    timeout 60 "$@" "$firmware" </dev/null >log.txt 2>&1
    status=$?
    [ "$status" -ne 124 ] || { echo "FAIL: simavr did not end within 60 s"; exit 1; }
    # The UART lines, without simavr's colour codes and line-feed dots.
    sed -e 's/\x1b\[[0-9;]*m//g' -e 's/^.*UART0: *//' -e 's/\.$//' log.txt | tr -d '\r' >uart.txt
    grep -qx constructed uart.txt ||
      { cat log.txt; echo "FAIL: the start-up did not run the constructors of globals"; exit 1; }
    rows=$(sed -n '/^P4 128 64$/,/^end$/p' uart.txt | grep -E '^[0-9A-F]{32}$')
    [ "$(wc -l <<<"$rows")" -eq 64 ] || { cat log.txt; echo "FAIL: expected 64 rows of hex"; exit 1; }
    { printf 'P4\n128 64\n'; printf '%s' "$rows" | tr -d '\n' | sed 's/../\\x&/g' | xargs -0 printf '%b'; } >framebuffer.pbm
    ;;
  *) echo "FAIL: unknown mode $mode"; exit 1 ;;
esac
cmp framebuffer.pbm expected.pbm || { echo "FAIL: the $mode picture differs from the native example's"; exit 1; }
echo "PASS: the $mode firmware draws the native example's picture byte for byte"
