// The one failure of the font generator.
#pragma once

#include <stdexcept>

namespace runeplate::fontgen {

// Any failure of the generator: a hex file that cannot be read or is
// malformed, an output that cannot be written. The message is one line.
class TFontGenError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace runeplate::fontgen
