// Options: the settings runeplate-fontgen's command line and the studio's
// page both give fontgen, checked and applied in one place so that the two
// accept the same values, say the same of a bad one and write the same
// files. Each takes the value as text, as a command line gives it, and on a
// bad value returns false with the reason ("wants ..., not 'VALUE'"), to be
// put after the option's name.
#pragma once

#include <string>

#include "fontgen/FreeTypeSource.h"
#include "fontgen/Output.h"
#include "fontgen/export/ExportFont.h"

namespace runeplate::fontgen {

// --size PX: pixels per em of an outline font, the strike of a bitmap font.
bool SetSourceSize(const std::string& value, TFreeTypeOptions& options, std::string& reason);

// --jamo-names SCHEME, or "none" to fit the jamo to the syllables.
bool SetJamoNames(const std::string& value, TFreeTypeOptions& options, std::string& reason);

// --chars all|ksx1001; false (and nothing set) for any other value.
bool SetRepertoireName(const std::string& value, TExportOptions& options);

// --chars FILE: the characters `text` (UTF-8) shows, as the engine composes it.
bool SetCharactersOfText(const std::string& text, TExportOptions& options, std::string& reason);

// --family NAME.
bool SetFamily(const std::string& value, TExportOptions& options, std::string& reason);

// --ascent PX, 1 to 16.
bool SetAscent(const std::string& value, TExportOptions& options, std::string& reason);

// --c-name NAME: a C identifier.
bool SetCName(const std::string& value, TCSourceOptions& options, std::string& reason);

// --compact: only the glyphs; without --c-name (`named` false) the array is
// runeplate_compact_font, not runeplate_font, the C interface's type beside
// which the header is included.
void SetCompact(TCSourceOptions& options, bool named);

}  // namespace runeplate::fontgen
