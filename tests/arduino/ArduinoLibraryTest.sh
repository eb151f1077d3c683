#!/usr/bin/env bash
# ArduinoLibraryTest.sh ZIP AVR_GXX
# The Arduino library as the IDE installs it: one top folder with
# library.properties, src/ and an example, the font's notice beside the font;
# and its src/ compiles the way the Arduino build compiles a library for the
# Uno (every .cpp of src/, C++11 with GNU extensions, src/ on the include
# path). Catches a core source left out of the zip, one that needs C++14, a
# header the library does not carry, or a notice missing.
set -u
zip=$1 cxx=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
(cd "$scratch" && cmake -E tar xf "$zip") || { echo "FAIL: cannot unzip $zip"; exit 1; }
top=$(basename "$zip" .zip)
lib=$scratch/$top
for f in library.properties LICENSE src/runeplate.h src/runeplate_round.h \
         src/runeplate_round.NOTICE examples/Hello/Hello.ino; do
  [ -f "$lib/$f" ] || { echo "FAIL: $top/$f missing"; exit 1; }
done
grep -q "^version=${top#runeplate-arduino-}$" "$lib/library.properties" ||
  { echo "FAIL: library.properties does not carry the zip's version"; exit 1; }
grep -q "Open Font License" "$lib/src/runeplate_round.NOTICE" || { echo "FAIL: the font's licence is missing"; exit 1; }
count=0
while IFS= read -r source; do
  "$cxx" -std=gnu++11 -fpermissive -fno-exceptions -fno-threadsafe-statics -mmcu=atmega328p -Os \
    -Wall -I"$lib/src" -c "$source" -o "$scratch/$count.o" ||
    { echo "FAIL: ${source#$lib/} does not compile for the Uno"; exit 1; }
  count=$((count + 1))
done < <(find "$lib/src" -name '*.cpp')
[ "$count" -ge 3 ] || { echo "FAIL: only $count sources in src/"; exit 1; }
echo "PASS: $top installs as an Arduino library and its $count sources compile for the Uno"
