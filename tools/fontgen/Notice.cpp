#include "fontgen/Notice.h"

#include <filesystem>
#include <fstream>

namespace runeplate::fontgen {

namespace {

// The quoted names of a NOTICE entry: "A", "B" and "C".
std::vector<std::string> QuotedNames(const std::string& text) {
  std::vector<std::string> names;
  for (size_t open = text.find('"'); open != std::string::npos; open = text.find('"', open)) {
    const size_t close = text.find('"', open + 1);
    if (close == std::string::npos) break;
    names.push_back(text.substr(open + 1, close - open - 1));
    open = close + 1;
  }
  return names;
}

// A NOTICE's Licence entry without the words that point to the full text
// further down, which a one-line licence has no "below" for.
std::string WithoutPointer(std::string licence) {
  for (const char* pointer : {"; both below", ", below"}) {
    const std::string end = pointer;
    if (licence.size() >= end.size() && licence.compare(licence.size() - end.size(), end.size(), end) == 0)
      return licence.substr(0, licence.size() - end.size());
  }
  return licence;
}

}  // namespace

TNotice::TNotice(std::istream& text) {
  for (std::string line; std::getline(text, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    Lines.push_back(line);
  }
}

std::vector<std::string> TNotice::Entries(const std::vector<std::string>& keys) const {
  std::vector<std::string> lines;
  bool inEntry = false;
  for (const std::string& line : Lines) {
    const bool continues = !line.empty() && line[0] == ' ';
    if (!continues) {
      inEntry = false;
      for (const std::string& key : keys) inEntry = inEntry || line.rfind(key, 0) == 0;
    }
    if (inEntry && !line.empty()) lines.push_back(line);
  }
  return lines;
}

std::string TNotice::Value(const std::string& key) const {
  std::string value;
  for (std::string line : Entries({key})) {
    if (line.rfind(key, 0) == 0) line = line.substr(key.size());
    const size_t first = line.find_first_not_of(' ');
    const size_t last = line.find_last_not_of(' ');
    if (first == std::string::npos) continue;
    value += (value.empty() ? "" : " ") + line.substr(first, last - first + 1);
  }
  return value;
}

std::string NoticePathOf(const std::string& sourcePath) {
  return (std::filesystem::path(sourcePath).parent_path() / "NOTICE").string();
}

std::vector<std::string> TProvenance::Statement() const {
  std::vector<std::string> lines{"Made by runeplate-fontgen from " + SourceName + "."};
  const std::vector<std::string> entries = Notice.Entries({"Source:", "Licence:"});
  if (entries.empty()) {
    lines.push_back("Licence: that of " + SourceName + "; keep its notice with this file.");
    return lines;
  }
  lines.insert(lines.end(), entries.begin(), entries.end());
  lines.push_back("The full notice is the NOTICE file beside " + SourceName + "; keep it with this file.");
  return lines;
}

std::string TProvenance::Licence() const {
  const std::string licence = WithoutPointer(Notice.Value("Licence:"));
  return licence.empty() ? "that of " + SourceName : licence;
}

std::vector<std::string> TProvenance::ReservedNames() const {
  if (Notice.Present()) return QuotedNames(Notice.Value("Reserved:"));
  if (SourceFamily.empty()) return {};
  return {SourceFamily};
}

TProvenance ReadProvenance(const std::string& sourcePath, const std::string& sourceFamily) {
  TProvenance provenance;
  provenance.SourceName = std::filesystem::path(sourcePath).filename().string();
  std::ifstream notice(NoticePathOf(sourcePath));
  if (notice) provenance.Notice = TNotice(notice);
  provenance.SourceFamily = sourceFamily;
  return provenance;
}

}  // namespace runeplate::fontgen
