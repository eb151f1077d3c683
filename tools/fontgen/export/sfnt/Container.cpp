#include "fontgen/export/sfnt/Container.h"

#include <algorithm>
#include <stdexcept>

#include "fontgen/export/sfnt/SfntBytes.h"

namespace runeplate::fontgen::sfnt {

namespace {

constexpr size_t HeaderSize = 12, RecordSize = 16;
constexpr size_t CheckSumAdjustmentOffset = 8;  // within head
constexpr uint32_t ChecksumMagic = 0xB1B0AFBA;

}  // namespace

uint32_t TableChecksum(const std::vector<uint8_t>& bytes, size_t offset, size_t length) {
  uint32_t sum = 0;
  for (size_t i = 0; i < length; i += 4) {
    uint32_t word = 0;
    for (size_t j = 0; j < 4; ++j) word = word << 8 | (i + j < length ? bytes[offset + i + j] : 0);
    sum += word;
  }
  return sum;
}

std::vector<uint8_t> SfntFile(uint32_t sfntVersion, const std::vector<TSfntTable>& tables) {
  std::vector<const TSfntTable*> byTag;
  for (const TSfntTable& table : tables) {
    if (table.Tag.size() != 4) throw std::invalid_argument("table tag \"" + table.Tag + "\" is not four characters");
    byTag.push_back(&table);
  }
  std::sort(byTag.begin(), byTag.end(), [](const TSfntTable* a, const TSfntTable* b) { return a->Tag < b->Tag; });
  for (size_t i = 1; i < byTag.size(); ++i)
    if (byTag[i]->Tag == byTag[i - 1]->Tag) throw std::invalid_argument("table " + byTag[i]->Tag + " given twice");

  const uint32_t count = uint32_t(tables.size());
  uint32_t power = 1, log2 = 0;
  while (power * 2 <= count) power *= 2, ++log2;
  TSfntBytes file;
  file.U32(sfntVersion);
  file.U16(count);
  file.U16(power * 16);
  file.U16(log2);
  file.U16(count * 16 - power * 16);
  file.Bytes.resize(HeaderSize + RecordSize * count);

  std::vector<size_t> offsets(tables.size());
  size_t headOffset = 0;
  bool hasHead = false;
  for (size_t t = 0; t < tables.size(); ++t) {
    offsets[t] = file.Size();
    if (tables[t].Tag == "head" && tables[t].Bytes.size() >= CheckSumAdjustmentOffset + 4)
      headOffset = offsets[t], hasHead = true;
    file.Append(tables[t].Bytes);
    file.Pad4();
  }
  // head's own checksum, like the file's, counts checkSumAdjustment as zero.
  if (hasHead) file.PatchU32(headOffset + CheckSumAdjustmentOffset, 0);
  for (size_t i = 0; i < byTag.size(); ++i) {
    const size_t t = size_t(byTag[i] - tables.data());
    const size_t at = HeaderSize + RecordSize * i;
    for (size_t c = 0; c < 4; ++c) file.Bytes[at + c] = uint8_t(byTag[i]->Tag[c]);
    file.PatchU32(at + 4, TableChecksum(file.Bytes, offsets[t], byTag[i]->Bytes.size()));
    file.PatchU32(at + 8, uint32_t(offsets[t]));
    file.PatchU32(at + 12, uint32_t(byTag[i]->Bytes.size()));
  }
  if (hasHead) file.PatchU32(headOffset + CheckSumAdjustmentOffset,
                             ChecksumMagic - TableChecksum(file.Bytes, 0, file.Size()));
  return file.Bytes;
}

}  // namespace runeplate::fontgen::sfnt
