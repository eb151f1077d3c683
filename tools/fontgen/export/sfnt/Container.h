// Container: tables put together as one OpenType file: the table directory
// sorted by tag, each table's checksum, the tables 4-byte aligned in the
// order they are given (callers give the order the format recommends, so a
// reader going front to back never seeks back), and head's
// checkSumAdjustment over the whole file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace runeplate::fontgen::sfnt {

constexpr uint32_t TrueTypeVersion = 0x00010000;
constexpr uint32_t CffVersion = 0x4F54544F;  // 'OTTO'

struct TSfntTable {
  std::string Tag;  // four characters
  std::vector<uint8_t> Bytes;
};

// The sum of a table's big-endian 32-bit words, zero-padded at its end.
uint32_t TableChecksum(const std::vector<uint8_t>& bytes, size_t offset, size_t length);

// The font file of `tables`. Throws std::invalid_argument for a tag that is
// not four characters or is given twice.
std::vector<uint8_t> SfntFile(uint32_t sfntVersion, const std::vector<TSfntTable>& tables);

}  // namespace runeplate::fontgen::sfnt
