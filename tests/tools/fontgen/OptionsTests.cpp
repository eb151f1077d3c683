// The settings the command line and the studio share: each bad value is
// refused with its reason and leaves the options as they were; each good
// one is applied as fontgen's writers expect it.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "fontgen/Options.h"

using namespace runeplate::fontgen;

// Catches a setter that accepts an out-of-range or malformed value, or that
// half-applies one before refusing it.
TEST(FontgenOptions, RefusesBadValuesWithTheValueInTheReasonAndChangesNothing) {
  struct TRow {
    const char* Value;
    std::function<bool(const std::string&, std::string&)> Set;
  };
  TFreeTypeOptions freeType;
  TExportOptions font;
  TCSourceOptions cSource;
  const std::vector<TRow> rows = {
      {"0", [&](const std::string& v, std::string& r) { return SetSourceSize(v, freeType, r); }},
      {"257", [&](const std::string& v, std::string& r) { return SetSourceSize(v, freeType, r); }},
      {"12px", [&](const std::string& v, std::string& r) { return SetSourceSize(v, freeType, r); }},
      {"17", [&](const std::string& v, std::string& r) { return SetAscent(v, font, r); }},
      {"-3", [&](const std::string& v, std::string& r) { return SetAscent(v, font, r); }},
      {"9lives", [&](const std::string& v, std::string& r) { return SetCName(v, cSource, r); }},
      {"int", [&](const std::string& v, std::string& r) { return SetCName(v, cSource, r); }},
  };
  for (const TRow& row : rows) {
    std::string reason;
    EXPECT_FALSE(row.Set(row.Value, reason)) << row.Value;
    EXPECT_NE(reason.find(std::string("'") + row.Value + "'"), std::string::npos) << reason;
  }
  std::string reason;
  EXPECT_FALSE(SetFamily("two\nlines", font, reason));
  EXPECT_FALSE(SetJamoNames("only,two", freeType, reason));
  EXPECT_FALSE(SetCharactersOfText("\xff", font, reason));
  EXPECT_FALSE(SetRepertoireName("latin", font));
  EXPECT_EQ(freeType.Size, 0);
  EXPECT_FALSE(freeType.Names.has_value());
  EXPECT_EQ(font.Ascent, 0);
  EXPECT_TRUE(font.Family.empty());
  EXPECT_EQ(font.Repertoire, TRepertoire::All);
  EXPECT_EQ(cSource.Name, TCSourceOptions{}.Name);
}

// Catches text taken code point by code point (conjoining jamo as three
// characters, not the syllable they spell), and a compact header named
// after the C interface's own type, or a given --c-name overridden.
TEST(FontgenOptions, TextIsTakenAsComposedAndTheCompactArrayKeepsAGivenName) {
  TExportOptions font;
  std::string reason;
  ASSERT_TRUE(SetCharactersOfText("\xe1\x84\x92\xe1\x85\xa1\xe1\x86\xab a", font, reason)) << reason;
  EXPECT_EQ(font.Repertoire, TRepertoire::FromFile);
  EXPECT_EQ(font.FileCharacters, (std::vector<uint32_t>{0xD55C, ' ', 'a'}));

  TCSourceOptions unnamed, named;
  SetCompact(unnamed, false);
  EXPECT_TRUE(unnamed.Compact);
  EXPECT_EQ(unnamed.Name, "runeplate_compact_font");
  ASSERT_TRUE(SetCName("my_font", named, reason));
  SetCompact(named, true);
  EXPECT_EQ(named.Name, "my_font");
}
