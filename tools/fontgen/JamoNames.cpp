#include "fontgen/JamoNames.h"

#include <stdexcept>
#include <vector>

#include "common/Numbers.h"
#include "text/UDrawText.h"

namespace runeplate::fontgen {

const char* const NeoJamoNames = "cho_{set}_{index:2},jung_{set}_{index:2},jong_{set}_{index:2}";

namespace {

bool ReadCount(const std::string& text, int& value) {
  unsigned digit = 0;
  if (!ParseNumber(text, digit) || digit > 9) return false;
  value = static_cast<int>(digit);
  return true;
}

// Expands Template for set Set and letter Index; false with a reason when a
// placeholder is malformed.
bool Expand(const std::string& pattern, int set, int index, std::string& name, std::string& error) {
  name.clear();
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '}') {
      error = "'}' without '{' in \"" + pattern + "\"";
      return false;
    }
    if (pattern[i] != '{') {
      name += pattern[i];
      continue;
    }
    const size_t close = pattern.find('}', i);
    if (close == std::string::npos) {
      error = "'{' without '}' in \"" + pattern + "\"";
      return false;
    }
    std::string field = pattern.substr(i + 1, close - i - 1);
    i = close;
    int width = 0, offset = 0;
    if (const size_t colon = field.find(':'); colon != std::string::npos) {
      if (!ReadCount(field.substr(colon + 1), width)) {
        error = "bad width in {" + field + "}: a digit 0 to 9";
        return false;
      }
      field.resize(colon);
    }
    if (const size_t plus = field.find('+'); plus != std::string::npos) {
      if (!ReadCount(field.substr(plus + 1), offset)) {
        error = "bad offset in {" + field + "}: a digit 0 to 9";
        return false;
      }
      field.resize(plus);
    }
    int value;
    if (field == "set") value = set;
    else if (field == "index") value = index;
    else {
      error = "unknown placeholder {" + field + "}: {set} or {index}";
      return false;
    }
    std::string digits = std::to_string(value + offset);
    if (digits.size() < static_cast<size_t>(width)) digits.insert(0, width - digits.size(), '0');
    name += digits;
  }
  if (name.empty()) {
    error = "empty glyph name template";
    return false;
  }
  return true;
}

}  // namespace

bool ParseJamoNames(const std::string& text, TJamoNames& names, std::string& error) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t comma; (comma = text.find(',', start)) != std::string::npos; start = comma + 1)
    parts.push_back(text.substr(start, comma - start));
  parts.push_back(text.substr(start));
  if (parts.size() != 3) {
    error = "jamo names need three templates INITIAL,MEDIAL,FINAL, found " + std::to_string(parts.size());
    return false;
  }
  TJamoNames parsed;
  std::string probe;
  for (int role = 0; role < 3; ++role) {
    if (!Expand(parts[role], 0, 0, probe, error)) return false;
    parsed.Templates[role] = parts[role];
  }
  names = parsed;
  return true;
}

std::string JamoGlyphName(const TJamoNames& names, int32_t glyph) {
  // {index} counts as Unicode counts jamo: initials and vowels from 0
  // (U+1100, U+1161), finals from 1 (U+11A8 is final 1).
  const TGlyphLetter letter = LetterOfGlyph(glyph);
  const int index = letter.Role == JamoFinal ? letter.Index : letter.Index - 1;
  std::string name, error;
  Expand(names.Templates[letter.Role], letter.Set, index, name, error);  // checked by ParseJamoNames
  return name;
}

const TJamoNames& NeoJamoScheme() {
  static const TJamoNames scheme = [] {
    TJamoNames names;
    std::string error;
    if (!ParseJamoNames(NeoJamoNames, names, error)) throw std::logic_error("NeoJamoNames: " + error);
    return names;
  }();
  return scheme;
}

}  // namespace runeplate::fontgen
