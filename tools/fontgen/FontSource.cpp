#include "fontgen/FontSource.h"

namespace runeplate::fontgen {

int TFontSource::SyllablesPresent() const {
  int count = 0;
  for (bool has : HasSyllable) count += has;
  return count;
}

}  // namespace runeplate::fontgen
