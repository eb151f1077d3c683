#include "common/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>

namespace runeplate {

namespace {

std::string Reason(int code) { return std::strerror(code); }

// The process's file mode creation mask. umask can only be read by setting
// it; the tools are single-threaded, so putting it straight back is safe.
mode_t CurrentUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

// Reads FD to its end into BYTES. NAME is the input as messages call it.
template <typename TBytes>
bool ReadToEnd(int fd, const std::string& name, TBytes& bytes, std::string& error) {
  char buffer[1 << 16];
  while (true) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got == 0) return true;
    if (got < 0) {
      if (errno == EINTR) continue;
      error = name + ": cannot read: " + Reason(errno);
      return false;
    }
    bytes.insert(bytes.end(), buffer, buffer + got);
  }
}

}  // namespace

bool ReadFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error) {
  bytes.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = path + ": cannot open: " + Reason(errno);
    return false;
  }
  struct stat info {};
  bool ok = true;
  if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    error = path + ": is a directory";
    ok = false;
  } else {
    if (S_ISREG(info.st_mode)) bytes.reserve(static_cast<size_t>(info.st_size));
    ok = ReadToEnd(fd, path, bytes, error);
  }
  ::close(fd);
  return ok;
}

bool ReadStandardInput(std::string& bytes, std::string& error) {
  bytes.clear();
  return ReadToEnd(STDIN_FILENO, "standard input", bytes, error);
}

bool WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes,
                         std::string& error) {
  TAtomicFile file(path);
  if (!file.Open(error)) return false;
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file.Stream()) != bytes.size()) {
    error = path + ": cannot write: " + Reason(errno);
    return false;
  }
  return file.Commit(error);
}

TAtomicFile::TAtomicFile(std::string path) : Path(std::move(path)), Target(Path) {}

TAtomicFile::~TAtomicFile() { Discard(); }

void TAtomicFile::Discard() {
  if (File != nullptr) std::fclose(File);
  File = nullptr;
  if (!Temporary.empty()) std::remove(Temporary.c_str());
  Temporary.clear();
}

bool TAtomicFile::Open(std::string& error) {
  struct stat info {};
  // A new file gets the mode open() would give it; a rewritten one keeps its
  // own, so that a private file does not become readable by everyone.
  mode_t mode = 0666 & ~CurrentUmask();
  if (::stat(Path.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) {
      error = Path + ": is a directory";
      return false;
    }
    if (!S_ISREG(info.st_mode)) {
      File = std::fopen(Path.c_str(), "wb");
      if (File == nullptr) error = Path + ": cannot open: " + Reason(errno);
      return File != nullptr;
    }
    mode = info.st_mode & 07777;
    // Replace what a link points at, not the link.
    char resolved[PATH_MAX];
    if (::realpath(Path.c_str(), resolved) != nullptr) Target = resolved;
  }
  std::string name = Target + ".XXXXXX";
  const int fd = ::mkstemp(name.data());
  if (fd < 0) {
    error = Path + ": cannot create: " + Reason(errno);
    return false;
  }
  Temporary = name;
  // mkstemp makes the file private.
  if (::fchmod(fd, mode) != 0 || (File = ::fdopen(fd, "wb")) == nullptr) {
    error = Path + ": cannot create: " + Reason(errno);
    ::close(fd);
    Discard();
    return false;
  }
  return true;
}

bool TAtomicFile::Finish(std::string& error) {
  if (File == nullptr) return true;
  const bool failed = std::fflush(File) != 0 || std::ferror(File) != 0;
  const int flushError = errno;
  const bool closeFailed = std::fclose(File) != 0;
  const int closeError = errno;
  File = nullptr;
  if (failed || closeFailed) {
    error = Path + ": cannot write: " + Reason(failed ? flushError : closeError);
    Discard();
    return false;
  }
  return true;
}

bool TAtomicFile::Replace(std::string& error) {
  if (Temporary.empty()) return true;
  if (std::rename(Temporary.c_str(), Target.c_str()) != 0) {
    error = Path + ": cannot replace: " + Reason(errno);
    Discard();
    return false;
  }
  Temporary.clear();
  return true;
}

bool WriteFilesTogether(const std::vector<std::pair<std::string, std::vector<uint8_t>>>& files,
                        std::string& error) {
  std::vector<std::unique_ptr<TAtomicFile>> outputs;
  for (const auto& [path, bytes] : files) {
    outputs.push_back(std::make_unique<TAtomicFile>(path));
    TAtomicFile& file = *outputs.back();
    if (!file.Open(error)) return false;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file.Stream()) != bytes.size()) {
      error = path + ": cannot write: " + Reason(errno);
      return false;
    }
    if (!file.Finish(error)) return false;
  }
  // Each file about to be replaced keeps a second name until all are in
  // place, to be put back should a later replacement fail.
  std::vector<std::string> targets, backups;
  bool ok = true;
  for (const auto& file : outputs) {
    const std::string target = file->Replaces();
    std::string backup;
    struct stat info {};
    if (!target.empty() && ::stat(target.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
      backup = target + ".XXXXXX";
      const int fd = ::mkstemp(backup.data());
      if (fd >= 0) ::close(fd);
      if (fd < 0 || std::remove(backup.c_str()) != 0 || ::link(target.c_str(), backup.c_str()) != 0) {
        error = target + ": cannot keep the earlier file: " + Reason(errno);
        ok = false;
        break;
      }
    }
    targets.push_back(target);
    backups.push_back(backup);
    if (!file->Replace(error)) {
      ok = false;
      break;
    }
  }
  for (size_t k = 0; k < targets.size(); ++k) {
    if (!ok && !targets[k].empty()) {
      if (!backups[k].empty()) std::rename(backups[k].c_str(), targets[k].c_str());
      else std::remove(targets[k].c_str());
    }
    if (!backups[k].empty()) std::remove(backups[k].c_str());
  }
  return ok;
}

bool FlushStandardOutput(std::string& error) {
  // A stream that failed earlier keeps its failure, but errno may have moved
  // on since: clear the state and flush once more to learn the reason again.
  bool failed = !std::cout;
  std::cout.clear();
  errno = 0;
  std::cout.flush();
  failed = failed || !std::cout;
  int reason = errno;
  if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
    failed = true;
    if (reason == 0) reason = errno;
  }
  if (!failed) return true;
  error = "standard output: cannot write";
  if (reason != 0) error += ": " + Reason(reason);
  return false;
}

}  // namespace runeplate
