// The studio's main module writes no OpenType font: its writers, and Brotli
// and woff2 under WOFF2, are most of the module's size, so they live in
// runeplate-fonts.wasm, which the page loads only for such a download. This
// definition stands in for fontgen's, so the linker never takes the writers
// from the library; a .ttf/.otf/.woff2/.otb asked of this module is refused.
#include "fontgen/FontGenError.h"
#include "fontgen/export/OpenType.h"

namespace runeplate::fontgen {

void WriteOpenType(const std::string& path, const TExportFont&, TOpenTypeFlavour) {
  throw TFontGenError(path + ": OpenType fonts are written by runeplate-fonts.wasm, not this module");
}

}  // namespace runeplate::fontgen
