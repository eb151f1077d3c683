// Process: starting another program with an argument vector and waiting for
// it. No shell stands in between, so a quote, a space or a "$(...)" in an
// argument (a path, a font name) reaches the program as it is.
#pragma once

#include <string>
#include <vector>

namespace runeplate {

// Where a program's standard streams go, and where it starts. An empty path
// leaves the stream as the caller has it; an empty `Dir` the current folder.
struct TProgramIo {
  std::string InputFrom;  // read as standard input
  std::string OutputTo;   // standard output, made or emptied
  std::string ErrorsTo;   // standard error, made or emptied; may equal OutputTo
  std::string Dir;        // the folder the program starts in
};

// Runs `argv`[0] (looked up in PATH when it holds no slash) with `argv` as
// its arguments and waits for it. Returns its exit code; 126 when a stream
// or the folder could not be set up, 127 when the program could not be
// started, -1 when it did not exit by itself (a signal ended it). `argv` must
// not be empty.
int RunProgram(const std::vector<std::string>& argv, const TProgramIo& io = {});

}  // namespace runeplate
