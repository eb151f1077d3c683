#include "fontgen/export/Export.h"

#include "common/Files.h"
#include "fontgen/FontGenError.h"
#include "fontgen/export/Bdf.h"
#include "fontgen/export/BmFont.h"
#include "fontgen/export/OpenType.h"

namespace runeplate::fontgen {

void WriteFontExport(const std::string& path, TOutputKind kind, const TFontImage& atlas,
                     const TExportOptions& options) {
  const TExportFont font = MakeExportFont(atlas, options);
  switch (kind) {
    case TOutputKind::Bdf: {
      const std::string text = EncodeBdf(font);
      std::string error;
      if (!WriteFileAtomically(path, std::vector<uint8_t>(text.begin(), text.end()), error))
        throw TFontGenError(error);
      return;
    }
    case TOutputKind::TrueType: return WriteOpenType(path, font, TOpenTypeFlavour::TrueType);
    case TOutputKind::OpenTypeCff: return WriteOpenType(path, font, TOpenTypeFlavour::Cff);
    case TOutputKind::Woff2: return WriteOpenType(path, font, TOpenTypeFlavour::Woff2);
    case TOutputKind::OpenTypeBitmap: return WriteOpenType(path, font, TOpenTypeFlavour::Bitmap);
    case TOutputKind::BmFont: return WriteBmFont(path, font);
    default: throw TFontGenError(path + ": not a font for other programs");
  }
}

}  // namespace runeplate::fontgen
