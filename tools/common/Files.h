// Files: how every tool reads its inputs and writes its outputs.
//
// Messages are one line and start with the name of the file, as in
// "font.hex: is a directory" or "out.png: cannot create: Permission denied".
// An output is written whole or not at all: it goes to a temporary file
// beside its path, which takes the path's place only once complete, so no
// empty or half-written file is ever left behind.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace runeplate {

// Reads all of `path` into `bytes`, or returns false with a message in `error`.
bool ReadFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error);

// Reads standard input to its end into `bytes` ("standard input: ..." in
// messages).
bool ReadStandardInput(std::string& bytes, std::string& error);

// Writes `bytes` to `path` whole or not at all.
bool WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes,
                         std::string& error);

// Writes every file of `files` (path, bytes) whole, or none of them: all are
// written as temporaries first, and only when every one is complete do they
// take their paths' places. Should a replacement still fail, the files
// replaced before it get their earlier contents back (or go, where there
// were none), so a failure leaves every path as it was.
bool WriteFilesTogether(const std::vector<std::pair<std::string, std::vector<uint8_t>>>& files,
                        std::string& error);

// An output file being written. Open makes a temporary file beside `path`
// and Stream writes to it; Commit puts it in the place of `path`. A file that
// is never committed is removed, whatever went wrong. `path` itself is
// untouched until Commit. A file that `path` names already keeps its mode
// (permissions); a new one gets 0666 less the umask, as open() would give it.
// Where `path` is a device or a pipe (/dev/null, a FIFO) there is nothing to
// replace and Stream writes to it directly.
class TAtomicFile {
 public:
  explicit TAtomicFile(std::string path);
  ~TAtomicFile();
  TAtomicFile(const TAtomicFile&) = delete;
  TAtomicFile& operator=(const TAtomicFile&) = delete;

  bool Open(std::string& error);
  std::FILE* Stream() const { return File; }
  // Flushes, closes and renames; false with a message when any of it fails.
  bool Commit(std::string& error) { return Finish(error) && Replace(error); }
  // The two halves of Commit: Finish flushes and closes the temporary file,
  // Replace renames it into the place of `path`.
  bool Finish(std::string& error);
  bool Replace(std::string& error);
  // The file Replace puts in place ("" when writing straight into a device).
  const std::string& Replaces() const { return Temporary.empty() ? Temporary : Target; }

 private:
  void Discard();

  std::string Path;       // as given, for messages
  std::string Target;     // what the temporary file replaces (Path, links resolved)
  std::string Temporary;  // empty when writing straight into a device or pipe
  std::FILE* File = nullptr;
};

// Flushes standard output (C and C++ streams both). Returns false with
// "standard output: cannot write: REASON" when anything written to it was
// lost, as with a full disk or a closed pipe.
bool FlushStandardOutput(std::string& error);

}  // namespace runeplate
