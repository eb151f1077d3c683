// Notice: what the NOTICE file beside an atlas says of it. Its header is a
// list of entries, "Key:" at the start of a line and the value after it,
// continued on lines that start with a space:
//
//   Source:   GNU Unifont, /usr/share/unifont/unifont.hex of Debian's
//             "unifont" package
//   Licence:  GPL-2.0-or-later
//
// Every output names its source and licence from them the same way (the C
// source atlas in a comment, the fonts for other programs in their names),
// and the fonts take their family and line from them.
#pragma once

#include <istream>
#include <string>
#include <vector>

namespace runeplate::fontgen {

// A NOTICE, read once.
class TNotice {
 public:
  // No notice: every entry is empty.
  TNotice() = default;
  // The notice `text` holds.
  explicit TNotice(std::istream& text);

  bool Present() const { return !Lines.empty(); }

  // The lines of the entries whose key is one of `keys` ("Source:"), each
  // with the indented lines that continue it, as they stand.
  std::vector<std::string> Entries(const std::vector<std::string>& keys) const;

  // The value of entry `key` ("Family:"): the text after the key and its
  // continuation lines, each trimmed, joined by one space; empty when the
  // entry is missing.
  std::string Value(const std::string& key) const;

 private:
  std::vector<std::string> Lines;
};

// The NOTICE file beside the file at `sourcePath`: the path, whether or not
// there is one.
std::string NoticePathOf(const std::string& sourcePath);

// What every output made from one source says of it: the source's file name,
// its NOTICE (the one beside it, if any) and the family name the source
// gives itself.
struct TProvenance {
  std::string SourceName;  // "a1bit.bmp"
  TNotice Notice;
  std::string SourceFamily;  // "" when the source names none

  // "Made by runeplate-fontgen from NAME.", then the NOTICE's Source and
  // Licence entries and where the full notice is, or, without them, that
  // the source's licence applies: the lines as they stand.
  std::vector<std::string> Statement() const;
  // The licence in one line: the NOTICE's, else "that of NAME".
  std::string Licence() const;
  // Names a font made from the source may not hold: the NOTICE's Reserved
  // entry, or, without a NOTICE, the source's own family name.
  std::vector<std::string> ReservedNames() const;
};

// The provenance of the source at `sourcePath`, with the family name the
// source gives itself ("" if none).
TProvenance ReadProvenance(const std::string& sourcePath, const std::string& sourceFamily);

}  // namespace runeplate::fontgen
