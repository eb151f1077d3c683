#include "Zip.h"

#include <zlib.h>

namespace runeplate::studio {

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(uint8_t(value));
  out.push_back(uint8_t(value >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

constexpr uint32_t LocalHeader = 0x04034B50, CentralHeader = 0x02014B50, EndOfCentral = 0x06054B50;
constexpr uint16_t VersionNeeded = 10;   // 1.0: stored entries
constexpr uint16_t Utf8Names = 1 << 11;  // general purpose bit 11
constexpr uint16_t DosDate1980 = (0 << 9) | (1 << 5) | 1;

// The fields local and central headers share, from "version needed" to the
// name's length.
void PutCommon(std::vector<uint8_t>& out, const TZipEntry& entry, uint32_t crc) {
  Put16(out, VersionNeeded);
  Put16(out, Utf8Names);
  Put16(out, 0);  // stored
  Put16(out, 0);  // time 00:00:00
  Put16(out, DosDate1980);
  Put32(out, crc);
  Put32(out, uint32_t(entry.Bytes.size()));
  Put32(out, uint32_t(entry.Bytes.size()));
  Put16(out, uint32_t(entry.Name.size()));
}

}  // namespace

std::vector<uint8_t> StoredZip(const std::vector<TZipEntry>& entries) {
  std::vector<uint8_t> out, central;
  for (const TZipEntry& entry : entries) {
    const uint32_t crc = uint32_t(crc32(crc32(0, nullptr, 0), entry.Bytes.data(), uInt(entry.Bytes.size())));
    const uint32_t offset = uint32_t(out.size());
    Put32(out, LocalHeader);
    PutCommon(out, entry, crc);
    Put16(out, 0);  // no extra field
    out.insert(out.end(), entry.Name.begin(), entry.Name.end());
    out.insert(out.end(), entry.Bytes.begin(), entry.Bytes.end());

    Put32(central, CentralHeader);
    Put16(central, VersionNeeded);  // made by: MS-DOS, 1.0
    PutCommon(central, entry, crc);
    Put16(central, 0);  // extra field
    Put16(central, 0);  // comment
    Put16(central, 0);  // disk
    Put16(central, 0);  // internal attributes
    Put32(central, 0);  // external attributes
    Put32(central, offset);
    central.insert(central.end(), entry.Name.begin(), entry.Name.end());
  }
  const uint32_t centralOffset = uint32_t(out.size());
  out.insert(out.end(), central.begin(), central.end());
  Put32(out, EndOfCentral);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, uint32_t(entries.size()));
  Put16(out, uint32_t(entries.size()));
  Put32(out, uint32_t(central.size()));
  Put32(out, centralOffset);
  Put16(out, 0);  // comment
  return out;
}

}  // namespace runeplate::studio
