#include "fontgen/Notice.h"

#include <filesystem>
#include <fstream>

namespace runeplate::fontgen {

std::vector<std::string> NoticeEntries(std::istream& notice, const std::vector<std::string>& keys) {
  std::vector<std::string> lines;
  bool inEntry = false;
  for (std::string line; std::getline(notice, line);) {
    const bool continues = !line.empty() && line[0] == ' ';
    if (!continues) {
      inEntry = false;
      for (const std::string& key : keys) inEntry = inEntry || line.rfind(key, 0) == 0;
    }
    if (inEntry && !line.empty()) lines.push_back(line);
  }
  return lines;
}

std::string NoticePathOf(const std::string& atlasPath) {
  return (std::filesystem::path(atlasPath).parent_path() / "NOTICE").string();
}

std::string NoticeValue(const std::string& noticePath, const std::string& key) {
  std::ifstream notice(noticePath);
  if (!notice) return "";
  std::string value;
  for (std::string line : NoticeEntries(notice, {key})) {
    if (line.rfind(key, 0) == 0) line = line.substr(key.size());
    const size_t first = line.find_first_not_of(' ');
    const size_t last = line.find_last_not_of(" \r");
    if (first == std::string::npos) continue;
    value += (value.empty() ? "" : " ") + line.substr(first, last - first + 1);
  }
  return value;
}

}  // namespace runeplate::fontgen
