#include "fontgen/Options.h"

#include "common/Numbers.h"
#include "common/Utf8.h"
#include "font/FontFile.h"

namespace runeplate::fontgen {

bool SetSourceSize(const std::string& value, TFreeTypeOptions& options, std::string& reason) {
  int size = 0;
  if (!ParseNumber(value, size) || size < 1 || size > 256) {
    reason = "wants pixels per em, 1 to 256, not '" + value + "'";
    return false;
  }
  options.Size = size;
  return true;
}

bool SetJamoNames(const std::string& value, TFreeTypeOptions& options, std::string& reason) {
  if (value == "none") {
    options.IgnoreNames = true;
    return true;
  }
  TJamoNames names;
  if (!ParseJamoNames(value, names, reason)) return false;
  options.Names = names;
  return true;
}

bool SetRepertoireName(const std::string& value, TExportOptions& options) {
  if (value != "all" && value != "ksx1001") return false;
  options.Repertoire = value == "all" ? TRepertoire::All : TRepertoire::KsX1001;
  return true;
}

bool SetCharactersOfText(const std::string& text, TExportOptions& options, std::string& reason) {
  std::u16string units;
  if (!DecodeUtf8(text, units, reason)) return false;
  options.Repertoire = TRepertoire::FromFile;
  options.FileCharacters = CharactersOfText(units);
  return true;
}

bool SetFamily(const std::string& value, TExportOptions& options, std::string& reason) {
  if (!IsFamilyName(value, reason)) return false;
  options.Family = value;
  return true;
}

bool SetAscent(const std::string& value, TExportOptions& options, std::string& reason) {
  int ascent = 0;
  if (!ParseNumber(value, ascent) || ascent < 1 || ascent > 16) {
    reason = "wants the pixels above the baseline, 1 to 16, not '" + value + "'";
    return false;
  }
  options.Ascent = ascent;
  return true;
}

bool SetCName(const std::string& value, TCSourceOptions& options, std::string& reason) {
  if (!IsCIdentifier(value)) {
    reason = "wants a C identifier that is no keyword of C or C++ and neither starts with '_' nor "
             "holds '__', not '" + value + "'";
    return false;
  }
  options.Name = value;
  return true;
}

void SetCompact(TCSourceOptions& options, bool named) {
  options.Compact = true;
  if (!named) options.Name = "runeplate_compact_font";
}

}  // namespace runeplate::fontgen
