// Bindings: the studio's C++ (Studio.h) handed to JS with embind, as
// web/API.md describes it. Only moving values across lives here: bytes in
// and out, options read from JS objects, results built as JS objects.
#include <sys/stat.h>

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include "Studio.h"
#include "common/Utf8.h"

#ifndef RUNEPLATE_VERSION
#define RUNEPLATE_VERSION "0.0.0"
#endif

namespace runeplate::studio {

namespace {

using emscripten::val;

// The current font and the pictures whose memory the page is handed views of.
struct TState {
  TFontImage Atlas;
  std::string AtlasName = "a1bit.bmp";
  std::string Notice;
  TSyllableGrid Grid;
  TRgbaPicture Text, Frame;
};
TState& State() {
  static TState state;
  return state;
}

val Object() { return val::object(); }

val Failure(const std::string& error) {
  val result = Object();
  result.set("ok", false);
  result.set("error", error);
  return result;
}

val Success() {
  val result = Object();
  result.set("ok", true);
  return result;
}

bool Has(const val& options, const char* key) {
  if (options.isUndefined() || options.isNull()) return false;
  const val value = options[key];
  return !value.isUndefined() && !value.isNull();
}

template <class T>
T Option(const val& options, const char* key, T fallback) {
  return Has(options, key) ? options[key].as<T>() : fallback;
}

// A JS Uint8Array (or any array of bytes) copied into C++ in one move.
std::vector<uint8_t> BytesOf(const val& array) {
  std::vector<uint8_t> bytes(array["length"].as<size_t>());
  if (!bytes.empty()) val(emscripten::typed_memory_view(bytes.size(), bytes.data())).call<void>("set", array);
  return bytes;
}

// A copy the page may keep.
val JsBytes(const std::vector<uint8_t>& bytes) {
  return val::global("Uint8Array").new_(emscripten::typed_memory_view(bytes.size(), bytes.data()));
}

// A view into the module's memory, valid until the picture is drawn again.
val PictureView(const TRgbaPicture& picture) {
  val result = Object();
  result.set("width", picture.Width);
  result.set("height", picture.Height);
  result.set("pixels", val(emscripten::typed_memory_view(picture.Pixels.size(), picture.Pixels.data())));
  return result;
}

val RectObject(const TRect& rect) {
  val result = Object();
  result.set("x", rect.Left);
  result.set("y", rect.Top);
  result.set("width", rect.Right - rect.Left);
  result.set("height", rect.Bottom - rect.Top);
  return result;
}

val GlyphObject(const TGlyphInfo& info) {
  val result = Object();
  result.set("glyph", info.Glyph);
  result.set("role", info.Role);
  result.set("set", info.Set);
  result.set("letter", info.Letter);
  result.set("name", info.Name);
  if (!info.Rule.empty()) result.set("rule", info.Rule);
  return result;
}

template <class T>
val ArrayOf(const std::vector<T>& items) {
  val array = val::array();
  for (const T& item : items) array.call<void>("push", item);
  return array;
}

std::string NameOf(const val& value) {
  return value.isString() ? value.as<std::string>() : std::string();
}

val LoadFontJs(val bytes, val fileName, val options) {
  const std::string name = NameOf(fileName);
  const double length = bytes["length"].isNumber() ? bytes["length"].as<double>() : -1;
  if (length < 0) return Failure((name.empty() ? "the file" : name) + ": not a file's bytes");
  if (length > double(MaxFontFileBytes))
    return Failure((name.empty() ? "the file" : name) + ": " + std::to_string(int64_t(length / (1 << 20))) +
                   " MB is larger than any font; the studio takes files up to " +
                   std::to_string(MaxFontFileBytes >> 20) + " MB");
  TLoadOptions load;
  load.Size = Option<int>(options, "size", 0);
  load.JamoNames = Option<std::string>(options, "jamoNames", "");
  if (Has(options, "ascii")) {
    const val ascii = options["ascii"];
    if (ascii["length"].as<double>() > double(MaxFontFileBytes)) return Failure("the ASCII font is larger than any font");
    load.Ascii = BytesOf(ascii);
    load.AsciiName = Option<std::string>(options, "asciiName", "ascii");
  }
  const TLoadResult loaded = LoadFont(BytesOf(bytes), name, load);
  if (!loaded.Error.empty()) return Failure(loaded.Error);
  val result = Success();
  result.set("atlas", JsBytes(EncodeFontPixels(loaded.Atlas)));
  result.set("report", loaded.Report);
  result.set("warnings", ArrayOf(loaded.Warnings));
  val worst = val::array();
  for (const TWorstSyllable& w : loaded.Worst) {
    val item = Object();
    item.set("code", w.Code);
    item.set("pixels", w.Pixels);
    item.set("source", JsBytes(w.Source));
    item.set("composed", JsBytes(w.Composed));
    worst.call<void>("push", item);
  }
  result.set("worst", worst);
  return result;
}

val SetAtlasJs(val bytes, val fileName, val notice) {
  if (!bytes["length"].isNumber() || bytes["length"].as<double>() != FontFilePixelBytes)
    return Failure("an atlas is " + std::to_string(FontFilePixelBytes) + " bytes of pixels");
  const std::vector<uint8_t> block = BytesOf(bytes);
  TState& state = State();
  state.Atlas = DecodeFontPixels(block.data());
  state.AtlasName = NameOf(fileName).empty() ? "a1bit.bmp" : NameOf(fileName);
  state.Notice = NameOf(notice);
  return Success();
}

val GetAtlasJs() { return JsBytes(EncodeFontPixels(State().Atlas)); }

// What setAtlas wants besides the pixels, so the page can hand the font to
// runeplate-fonts.wasm as it is here, its name and notice in its files too.
val AtlasSourceJs() {
  val result = Object();
  result.set("fileName", State().AtlasName);
  result.set("notice", State().Notice);
  return result;
}

val DrawTextJs(std::string text, val options) {
  std::string error;
  if (!DrawText(State().Atlas, text, Option<int>(options, "wrap", 0), Option<uint32_t>(options, "ink", 0),
                Option<uint32_t>(options, "paper", 0xFFFFFF), State().Text, error))
    return Failure(error);
  return PictureView(State().Text);
}

val TextPngJs(std::string text, val options) {
  std::vector<uint8_t> png;
  std::string error;
  if (!DrawTextPng(State().Atlas, text, Option<int>(options, "wrap", 0), Option<uint32_t>(options, "ink", 0),
                   Option<uint32_t>(options, "paper", 0xFFFFFF), Option<int>(options, "scale", 1), png, error))
    return Failure(error);
  val result = Success();
  result.set("bytes", JsBytes(png));
  return result;
}

val MeasureTextJs(std::string text, int wrap) {
  TBlockOptions block;
  block.LetterCells = HasLetterCells(ViewOf(State().Atlas));
  block.WrapWidth = wrap;
  const TBlockSize size = MeasureBlockUtf8(text.data(), text.size(), block);
  val result = Object();
  result.set("width", size.Width);
  result.set("height", size.Height);
  return result;
}

val FrameLinesJs() {
  val lines = val::array();
  for (const TFrameLine& line : FrameLines()) {
    val item = Object();
    item.set("text", line.Text);
    item.set("colour", line.Colour);
    lines.call<void>("push", item);
  }
  return lines;
}

val DrawFrameJs(double frame) {
  DrawFrame(State().Atlas, frame < 0 ? 0 : uint64_t(frame), State().Frame);
  return PictureView(State().Frame);
}

val ExplainSyllableJs(uint32_t code) {
  const TSyllableExplanation explanation = ExplainSyllable(code);
  if (!explanation.Error.empty()) return Failure(explanation.Error);
  val result = Success();
  result.set("code", code);
  val letters = Object();
  letters.set("initial", explanation.Initial);
  letters.set("medial", explanation.Medial);
  letters.set("final", explanation.Final);
  result.set("letters", letters);
  val parts = val::array();
  for (const TGlyphInfo& part : explanation.Parts) parts.call<void>("push", GlyphObject(part));
  result.set("parts", parts);
  TCellBitmap cell;
  const TBlockOptions composed;
  ComposeCodePoint(ViewOf(State().Atlas), code, &composed, cell);
  std::vector<uint8_t> pixels(256);
  for (int32_t y = 0; y < 16; ++y)
    for (int32_t x = 0; x < 16; ++x) pixels[size_t(y * 16 + x)] = cell.IsInk(x, y);
  result.set("cell", JsBytes(pixels));
  return result;
}

val GridView(int32_t redrawn) {
  const TSyllableGrid& grid = State().Grid;
  val result = PictureView(grid.Picture());
  result.set("columns", grid.Columns());
  result.set("count", grid.Count());
  result.set("redrawn", redrawn);
  return result;
}

val DrawGridJs(val options) {
  TSyllableGrid& grid = State().Grid;
  grid.Reset(Option<std::string>(options, "repertoire", "all") == "ksx1001", Option<int>(options, "columns", 64),
             Option<uint32_t>(options, "ink", 0), Option<uint32_t>(options, "paper", 0xFFFFFF));
  grid.DrawAll(State().Atlas);
  return GridView(grid.Count());
}

val UpdateGridJs(int32_t glyph) { return GridView(State().Grid.DrawUsers(State().Atlas, glyph)); }

uint32_t GridCodeAtJs(int32_t x, int32_t y) { return State().Grid.CodeAt(x, y); }

val GridCellOfJs(uint32_t code) {
  int32_t x = -1, y = -1;
  if (!State().Grid.CellOf(code, x, y)) x = y = -1;
  val result = Object();
  result.set("x", x);
  result.set("y", y);
  return result;
}

val SyllablesUsingJs(int32_t glyph) { return ArrayOf(SyllablesUsing(glyph)); }

int GetPixelJs(int32_t x, int32_t y) {
  if (x < 0 || y < 0 || x >= FontImageWidth || y >= FontImageHeight) return 0;
  return State().Atlas.IsInk(x, y) ? 1 : 0;
}

val SetPixelJs(int32_t x, int32_t y, val ink) {
  if (x < 0 || y < 0 || x >= FontImageWidth || y >= FontImageHeight)
    return Failure("(" + std::to_string(x) + ", " + std::to_string(y) + ") is outside the 512 x 256 atlas");
  State().Atlas.SetInk(x, y, ink.as<bool>());
  return Success();
}

val CellJs(const std::string& kind, int32_t index) {
  TRect rect;
  if (!CellRect(kind, index, rect)) return val::null();
  return RectObject(rect);
}
val JamoCellJs(int32_t glyph) { return CellJs("jamo", glyph); }
val AsciiCellJs(int32_t code) { return CellJs("ascii", code); }
val LetterCellJs(int32_t k) { return CellJs("letter", k); }

val GlyphInfoJs(int32_t glyph) {
  if (glyph < 0 || glyph >= HangulGlyphCount) return val::null();
  return GlyphObject(GlyphInfo(glyph));
}

val CellAtJs(int32_t x, int32_t y) {
  const TCellRef ref = CellAt(x, y);
  val result = Object();
  result.set("kind", ref.Kind);
  result.set("index", ref.Index);
  return result;
}

val CellPictureJs(std::string kind, int32_t index) {
  TRect rect;
  if (!CellRect(kind, index, rect)) return val::null();
  std::vector<uint8_t> pixels;
  for (int32_t y = rect.Top; y < rect.Bottom; ++y)
    for (int32_t x = rect.Left; x < rect.Right; ++x) pixels.push_back(State().Atlas.IsInk(x, y));
  return JsBytes(pixels);
}

bool HasLetterCellsJs() { return HasLetterCells(ViewOf(State().Atlas)); }

val FormatsJs() {
  val formats = val::array();
  for (const TFormat& format : Formats()) {
    val item = Object();
    item.set("kind", std::string(format.Kind));
    item.set("extension", std::string(format.Extension));
    item.set("label", std::string(format.Label));
    item.set("available", format.Available);
    formats.call<void>("push", item);
  }
  return formats;
}

val WriteJs(std::string kind, val options) {
  TWriteOptions write;
  write.Stem = Option<std::string>(options, "stem", "a1bit");
  write.CName = Option<std::string>(options, "cName", "");
  write.Family = Option<std::string>(options, "family", "");
  write.Ascent = Option<int>(options, "ascent", 0);
  write.Chars = Option<std::string>(options, "chars", "all");
  if (Has(options, "charsText")) {
    write.Chars = "text";
    write.CharsText = options["charsText"].as<std::string>();
  }
  const TState& state = State();
  const TDownload download = WriteFormat(state.Atlas, state.AtlasName, state.Notice, kind, write);
  if (!download.Error.empty()) return Failure(download.Error);
  val result = Success();
  result.set("fileName", download.FileName);
  result.set("bytes", JsBytes(download.Bytes));
  return result;
}

}  // namespace

EMSCRIPTEN_BINDINGS(runeplate_studio) {
  using namespace emscripten;
  // Emscripten's file system starts with a umask that leaves new files
  // unreadable, and the tools' writers give new files the mode open() would.
  umask(022);
  function("loadFont", &LoadFontJs);
  function("setAtlas", &SetAtlasJs);
  function("getAtlas", &GetAtlasJs);
  function("atlasSource", &AtlasSourceJs);
  function("drawText", &DrawTextJs);
  function("textPng", &TextPngJs);
  function("measureText", &MeasureTextJs);
  function("frameLines", &FrameLinesJs);
  function("drawFrame", &DrawFrameJs);
  function("explainSyllable", &ExplainSyllableJs);
  function("drawGrid", &DrawGridJs);
  function("updateGrid", &UpdateGridJs);
  function("gridCodeAt", &GridCodeAtJs);
  function("gridCellOf", &GridCellOfJs);
  function("syllablesUsing", &SyllablesUsingJs);
  function("getPixel", &GetPixelJs);
  function("setPixel", &SetPixelJs);
  function("jamoCell", &JamoCellJs);
  function("asciiCell", &AsciiCellJs);
  function("letterCell", &LetterCellJs);
  function("glyphInfo", &GlyphInfoJs);
  function("cellAt", &CellAtJs);
  function("cellPicture", &CellPictureJs);
  function("hasLetterCells", &HasLetterCellsJs);
  function("formats", &FormatsJs);
  function("write", &WriteJs);
  constant("version", std::string(RUNEPLATE_VERSION));
}

}  // namespace runeplate::studio
