// Notice: what the NOTICE file beside an atlas says of it. Its header is a
// list of entries, "Key:" at the start of a line and the value after it,
// continued on lines that start with a space:
//
//   Source:   GNU Unifont, /usr/share/unifont/unifont.hex of Debian's
//             "unifont" package
//   Licence:  GPL-2.0-or-later
//
// The C source atlas quotes some of them; the fonts written for other
// programs take their name, line and licence from them.
#pragma once

#include <istream>
#include <string>
#include <vector>

namespace runeplate::fontgen {

// The lines of the entries of `notice` whose key is one of `keys`
// ("Source:"), each with the indented lines that continue it, as they stand.
std::vector<std::string> NoticeEntries(std::istream& notice, const std::vector<std::string>& keys);

// The NOTICE file beside the file at `atlasPath`: the path, whether or not
// there is one.
std::string NoticePathOf(const std::string& atlasPath);

// The value of entry `key` ("Family:") of the NOTICE at `noticePath`: the
// text after the key and its continuation lines, each trimmed, joined by one
// space. Empty when the file or the entry is missing.
std::string NoticeValue(const std::string& noticePath, const std::string& key);

}  // namespace runeplate::fontgen
