#include "Preview.h"

namespace runeplate::fontgen {

void WritePreview(const std::string&, const TUnifontSource&, const THangulGlyphs&, const TAtlas&,
                  const std::vector<std::u16string>&) {
  throw TFontGenError("--preview is unavailable: built without libpng");
}

}  // namespace runeplate::fontgen
