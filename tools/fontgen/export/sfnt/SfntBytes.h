// SfntBytes: the big-endian byte writing every OpenType table is made of.
// A table is built front to back into a TSfntBytes; a field whose value is
// known only later (an offset, a length) is written as zero and patched.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace runeplate::fontgen::sfnt {

class TSfntBytes {
 public:
  void U8(uint32_t value) { Bytes.push_back(uint8_t(value)); }
  void I8(int32_t value) { U8(uint32_t(value) & 0xFF); }
  void U16(uint32_t value) {
    U8(value >> 8);
    U8(value);
  }
  void I16(int32_t value) { U16(uint32_t(value) & 0xFFFF); }
  void U32(uint32_t value) {
    U16(value >> 16);
    U16(value);
  }
  void I32(int32_t value) { U32(uint32_t(value)); }
  // Seconds since 1904-01-01 00:00 UTC, as head keeps its dates.
  void LongDateTime(int64_t seconds) {
    U32(uint32_t(uint64_t(seconds) >> 32));
    U32(uint32_t(uint64_t(seconds)));
  }
  // A four-character table or script tag.
  void Tag(const char (&tag)[5]) {
    for (int i = 0; i < 4; ++i) U8(uint8_t(tag[i]));
  }
  void Append(const std::vector<uint8_t>& bytes) { Bytes.insert(Bytes.end(), bytes.begin(), bytes.end()); }
  void Append(const TSfntBytes& bytes) { Append(bytes.Bytes); }
  // Zeros up to the next multiple of four, as tables are laid out.
  void Pad4() {
    while (Bytes.size() % 4 != 0) U8(0);
  }

  // Overwrites the field written earlier at `at`.
  void PatchU16(size_t at, uint32_t value) {
    Bytes[at] = uint8_t(value >> 8);
    Bytes[at + 1] = uint8_t(value);
  }
  void PatchU32(size_t at, uint32_t value) {
    PatchU16(at, value >> 16);
    PatchU16(at + 2, value);
  }

  size_t Size() const { return Bytes.size(); }

  std::vector<uint8_t> Bytes;
};

}  // namespace runeplate::fontgen::sfnt
