#include "fontgen/export/sfnt/Naming.h"

#include <stdexcept>
#include <string>
#include <utility>

#include "common/Utf8.h"
#include "fontgen/export/sfnt/SfntBytes.h"

namespace runeplate::fontgen::sfnt {

namespace {

constexpr uint16_t PlatformWindows = 3, EncodingUnicodeBmp = 1, LanguageEnglishUs = 0x0409;
enum TNameId : uint16_t {
  Copyright = 0,
  Family = 1,
  Subfamily = 2,
  UniqueId = 3,
  FullName = 4,
  VersionString = 5,
  PostScript = 6,
  Description = 10,
  LicenceDescription = 13,
  LicenceUrl = 14,
};

}  // namespace

std::vector<uint8_t> NameTable(const TSfntNames& names) {
  // By name ID, as the table wants its records; empty entries are left out.
  const std::pair<TNameId, std::string> entries[] = {
      {Copyright, names.Copyright},
      {Family, names.Family},
      {Subfamily, "Regular"},
      {UniqueId, "Runeplate: " + names.Family + " " + names.Version},
      {FullName, names.Family},
      {VersionString, "Version " + names.Version},
      {PostScript, PostScriptName(names.Family)},
      {Description, names.Description},
      {LicenceDescription, names.Licence},
      {LicenceUrl, names.LicenceUrl},
  };
  TSfntBytes records, strings;
  uint16_t count = 0;
  for (const auto& [id, text] : entries) {
    if (text.empty()) continue;
    std::u16string units;
    std::string error;
    if (!DecodeUtf8(text, units, error)) throw std::invalid_argument("name " + std::to_string(id) + ": " + error);
    if (strings.Size() + units.size() * 2 > 0xFFFF) throw std::invalid_argument("the names are too long for a font");
    records.U16(PlatformWindows);
    records.U16(EncodingUnicodeBmp);
    records.U16(LanguageEnglishUs);
    records.U16(id);
    records.U16(uint32_t(units.size() * 2));
    records.U16(uint32_t(strings.Size()));
    for (char16_t unit : units) strings.U16(unit);
    ++count;
  }
  TSfntBytes name;
  name.U16(0);
  name.U16(count);
  name.U16(6 + 12u * count);
  name.Append(records);
  name.Append(strings);
  return name.Bytes;
}

std::vector<uint8_t> PostTable(const TSfntFont& font) {
  TSfntBytes post;
  post.U32(0x00030000);
  post.U32(0);  // italicAngle
  post.I16(-font.Descender / 2);
  post.I16(font.UnitsPerPixel);
  post.U32(1);  // isFixedPitch: every glyph a whole number of cells
  for (int i = 0; i < 4; ++i) post.U32(0);  // memory use: unknown
  return post.Bytes;
}

}  // namespace runeplate::fontgen::sfnt
