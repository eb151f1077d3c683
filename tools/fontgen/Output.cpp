#include "fontgen/Output.h"

#include <cctype>
#include <iterator>
#include <vector>

#include "common/Files.h"
#include "common/Png.h"
#include "font/CompactFont.h"
#include "font/HanFile.h"
#include "fontgen/FontGenError.h"
#include "fontgen/Picture.h"
#include "fontgen/export/Export.h"

namespace runeplate::fontgen {

namespace {

// The one list of output kinds: OutputKindOf, IsFontExport and the message
// all read it.
constexpr struct {
  const char* Extension;
  TOutputKind Kind;
  bool FontExport;  // a font for other programs
} OutputKinds[] = {
    {".bmp", TOutputKind::Bitmap, false},
    {".png", TOutputKind::Png, false},
    {".han", TOutputKind::HanFile, false},
    {".h", TOutputKind::CSource, false},
    {".bdf", TOutputKind::Bdf, true},
    {".ttf", TOutputKind::TrueType, true},
    {".otf", TOutputKind::OpenTypeCff, true},
    {".woff2", TOutputKind::Woff2, true},
    {".otb", TOutputKind::OpenTypeBitmap, true},
    {".fnt", TOutputKind::BmFont, true},
};

bool HasExtension(const std::string& path, const std::string& extension) {
  if (path.size() <= extension.size()) return false;
  std::string end = path.substr(path.size() - extension.size());
  for (char& c : end) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return end == extension;
}

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

}  // namespace

TOutputKind OutputKindOf(const std::string& path) {
  for (const auto& kind : OutputKinds)
    if (HasExtension(path, kind.Extension)) return kind.Kind;
  return TOutputKind::Unknown;
}

bool IsFontExport(TOutputKind kind) {
  for (const auto& known : OutputKinds)
    if (known.Kind == kind) return known.FontExport;
  return false;
}

std::string UnknownOutputKindMessage(const std::string& path) {
  std::string message = path + ": unknown output kind: name it ";
  const size_t count = std::size(OutputKinds);
  for (size_t k = 0; k < count; ++k)
    message += std::string(k == 0 ? "" : k + 1 == count ? " or " : ", ") + OutputKinds[k].Extension;
  return message;
}

std::string CSourceNotice(const TProvenance& provenance) {
  std::string text;
  for (const std::string& line : provenance.Statement()) text += line + "\n";
  return text;
}

void WriteOutput(const std::string& path, const TFontImage& atlas, const TCSourceOptions& cSource,
                 const TExportOptions& exportOptions) {
  const TOutputKind kind = OutputKindOf(path);
  if (IsFontExport(kind)) return WriteFontExport(path, kind, atlas, exportOptions);
  std::string error;
  bool written = false;
  switch (kind) {
    case TOutputKind::Bitmap: written = WriteFileAtomically(path, EncodeFontFile(atlas), error); break;
    case TOutputKind::HanFile: written = WriteFileAtomically(path, EncodeHanFile(atlas), error); break;
    case TOutputKind::CSource: {
      const std::string notice = CSourceNotice(cSource.Provenance);
      const std::string text = cSource.Compact ? EncodeCompactFontCArray(atlas, cSource.Name, notice)
                                               : EncodeFontCArray(atlas, cSource.Name, notice);
      written = WriteFileAtomically(path, Bytes(text), error);
      break;
    }
    case TOutputKind::Png: written = WritePngFile(path, AtlasPicture(atlas), error); break;
    default: throw TFontGenError(UnknownOutputKindMessage(path));
  }
  if (!written) throw TFontGenError(error);
}

}  // namespace runeplate::fontgen
