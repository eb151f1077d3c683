// Replays a fuzz target's corpus: every file of the folders (or the files)
// named on the command line goes once through LLVMFuzzerTestOneInput. Built
// with each target in the plain and sanitizer builds, so every seed and every
// input that once was a finding stays a regression test. A folder without
// files fails, so that a corpus that went missing is not a silent pass.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzTarget.h"

namespace fs = std::filesystem;

namespace {

// The files `path` names: itself, or a folder's regular files in name order.
std::vector<fs::path> InputsOf(const fs::path& path) {
  std::vector<fs::path> inputs;
  if (!fs::is_directory(path)) return {path};
  for (const fs::directory_entry& entry : fs::directory_iterator(path))
    if (entry.is_regular_file()) inputs.push_back(entry.path());
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: " << argv[0] << " CORPUS...\n";
    return 2;
  }
  for (int k = 1; k < argc; ++k) {
    const std::vector<fs::path> inputs = InputsOf(argv[k]);
    if (inputs.empty()) {
      std::cerr << argv[k] << ": no inputs\n";
      return 1;
    }
    for (const fs::path& input : inputs) {
      std::ifstream in(input, std::ios::binary);
      if (!in) {
        std::cerr << input.string() << ": cannot open\n";
        return 1;
      }
      const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      // Printed first, so that a crash shows which input caused it.
      std::cout << input.string() << " (" << bytes.size() << " bytes)" << std::endl;
      LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
  }
  return 0;
}
