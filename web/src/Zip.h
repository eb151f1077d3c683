// Zip: files packed into one ZIP archive for a single download, stored
// without compression (the pages it carries are PNGs, already deflated).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace runeplate::studio {

struct TZipEntry {
  std::string Name;
  std::vector<uint8_t> Bytes;
};

// The archive of `entries` in their order: each stored, dated 1980-01-01 so
// that the same files always give the same bytes. Names are taken as they
// are (UTF-8, flagged so); no entry may reach 4 GiB.
std::vector<uint8_t> StoredZip(const std::vector<TZipEntry>& entries);

}  // namespace runeplate::studio
