// Running a tool as a user would, and the scratch files around it: one
// helper for the tests of every tool.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace runeplate::testing {

struct TToolRun {
  int ExitCode = -1;  // -1 when the tool did not exit by itself
  std::string Out;
  std::string Err;

  // The first line of standard error, without its line end.
  std::string FirstErrLine() const { return Err.substr(0, Err.find('\n')); }
};

struct TRunOptions {
  std::string Input;      // standard input, unless InputFrom is given
  std::string InputFrom;  // a path standard input is read from (a folder, say)
  std::string OutputTo;   // a path standard output goes to (/dev/full, say)
  std::string Dir;        // the working folder; the test's own when empty
};

// Runs Tool with Args as they stand (no shell in between) and waits for it.
TToolRun RunTool(const std::string& tool, const std::vector<std::string>& args,
                 const TRunOptions& options = {});

// A path for a scratch file, unique to the running test and to this process
// (CTest runs the cases of a file as processes at the same time).
std::string ScratchPath(const std::string& suffix);

// A new, empty folder for the running test; RemoveFolder takes it away again.
std::string FreshFolder(const std::string& name);
void RemoveFolder(const std::string& dir);

// Names in folder Dir, sorted; empty when it cannot be read.
std::vector<std::string> FilesIn(const std::string& dir);

std::string ReadText(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);

// Text split at line ends (a final line end gives no empty line).
std::vector<std::string> Lines(const std::string& text);

}  // namespace runeplate::testing
