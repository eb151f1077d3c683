// A file the test writes in the temporary folder and that is gone again when
// the test is.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace runeplate::test {

class TTempFile {
 public:
  // Writes Contents from byte Offset on; the bytes before Offset are a hole,
  // so a file of several gibibytes costs no disk space. Throws
  // std::runtime_error when the file cannot be written, which fails the test.
  explicit TTempFile(const std::vector<uint8_t>& contents, int64_t offset = 0);
  ~TTempFile();
  TTempFile(const TTempFile&) = delete;
  TTempFile& operator=(const TTempFile&) = delete;

  const char* Path() const { return path_.c_str(); }

 private:
  std::string path_;
};

// A name in the temporary folder that no file has.
std::string MissingFilePath();

}  // namespace runeplate::test
