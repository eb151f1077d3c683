#include "support/TempFile.h"

#include <windows.h>

#include <stdexcept>

namespace runeplate::test {

namespace {

std::string TempFolder() {
  char folder[MAX_PATH];
  const DWORD length = GetTempPathA(MAX_PATH, folder);
  // A fresh Wine prefix may not have made its temporary folder yet.
  CreateDirectoryA(folder, nullptr);
  return std::string(folder, length);
}

std::string UniqueName() {
  static int counter = 0;
  return TempFolder() + "runeplate-test-" + std::to_string(GetCurrentProcessId()) + "-" +
         std::to_string(++counter) + ".tmp";
}

}  // namespace

TTempFile::TTempFile(const std::vector<uint8_t>& contents, int64_t offset) : path_(UniqueName()) {
  const HANDLE file = CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create " + path_);
  LARGE_INTEGER position;
  position.QuadPart = offset;
  DWORD written = 0;
  const bool wrote =
      SetFilePointerEx(file, position, nullptr, FILE_BEGIN) &&
      (contents.empty() || WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()),
                                     &written, nullptr));
  CloseHandle(file);
  if (!wrote || written != contents.size()) {
    DeleteFileA(path_.c_str());
    throw std::runtime_error("cannot write " + path_);
  }
}

TTempFile::~TTempFile() { DeleteFileA(path_.c_str()); }

std::string MissingFilePath() { return UniqueName(); }

}  // namespace runeplate::test
