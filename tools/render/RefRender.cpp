#include "render/RefRender.h"

#include <png.h>

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

namespace runeplate {

TRgbImage::TRgbImage(int32_t width, int32_t height, uint32_t fill)
    : Width(width), Height(height),
      Pixels(static_cast<size_t>(width) * static_cast<size_t>(height), RgbOf(fill)) {}

// ---------------------------------------------------------------------------
// Font file
// ---------------------------------------------------------------------------

bool DecodeFontAtlas(const std::vector<uint8_t>& fileBytes, TFontImage& atlas, std::string& error) {
  if (fileBytes.size() < FontFilePixelBytes) {
    error = "font file has " + std::to_string(fileBytes.size()) + " bytes, fewer than the " +
            std::to_string(FontFilePixelBytes) + " bytes of pixel data";
    return false;
  }
  atlas = DecodeFontPixels(fileBytes.data() + (fileBytes.size() - FontFilePixelBytes));
  return true;
}

bool LoadFontAtlas(const std::string& path, TFontImage& atlas, std::string& error) {
  // Like the program, seek to the pixel data rather than read the whole file.
  std::error_code ignored;
  if (std::filesystem::is_directory(path, ignored)) {  // streams would open it and throw on reading
    error = "cannot read font file " + path + ": it is a directory";
    return false;
  }
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) {
    error = "cannot open font file " + path + ": " + std::strerror(errno);
    return false;
  }
  const std::streamoff size = in.tellg();
  if (size < 0) {
    error = "cannot find the size of font file " + path;
    return false;
  }
  std::vector<uint8_t> bytes(std::min<uint64_t>(static_cast<uint64_t>(size), FontFilePixelBytes));
  in.seekg(size - static_cast<std::streamoff>(bytes.size()));
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!in) {
    error = "cannot read font file " + path;
    return false;
  }
  if (!DecodeFontAtlas(bytes, atlas, error)) {
    error = path + ": " + error;
    return false;
  }
  return true;
}

// ---------------------------------------------------------------------------
// Glyph quads
// ---------------------------------------------------------------------------

namespace {

// Where the glyph callback draws. TGlyphCallback carries no context, so
// RenderText points this at its image and font for the length of one run and
// clears it afterwards; nothing else touches it.
struct TDrawTarget {
  TRgbImage* Image = nullptr;
  const TFontImage* Font = nullptr;
};
TDrawTarget CurrentTarget;

// Texture coordinates outside the texture wrap, as with the device's default
// addressing; the layout never asks for them, but a copy should not crash
// where the device would not.
int32_t WrapTexel(int32_t value, int32_t size) {
  const int32_t r = value % size;
  return r < 0 ? r + size : r;
}

void DrawGlyphIntoTarget(int32_t x, int32_t y, int32_t width, int32_t height, int32_t srcLeft,
                         int32_t srcTop, int32_t userValue) {
  TRgbImage& image = *CurrentTarget.Image;
  const TFontImage& font = *CurrentTarget.Font;
  const uint32_t rgb = RgbOf(static_cast<uint32_t>(userValue));
  // Pixel (x + i, y + j) takes texel (srcLeft + i, srcTop + j): the half-pixel
  // shift of the quad puts each texel centre on a pixel centre.
  for (int32_t j = 0; j < height; ++j) {
    const int64_t py = static_cast<int64_t>(y) + j;
    if (py < 0 || py >= image.Height) continue;
    const int32_t ty = WrapTexel(srcTop + j, FontImageHeight);
    for (int32_t i = 0; i < width; ++i) {
      const int64_t px = static_cast<int64_t>(x) + i;
      if (px < 0 || px >= image.Width) continue;
      if (font.IsInk(WrapTexel(srcLeft + i, FontImageWidth), ty)) {
        image.At(static_cast<int32_t>(px), static_cast<int32_t>(py)) = rgb;
      }
    }
  }
}

// Points CurrentTarget at one image for the life of the object.
class TTargetScope {
 public:
  TTargetScope(TRgbImage& image, const TFontImage& font) { CurrentTarget = {&image, &font}; }
  ~TTargetScope() { CurrentTarget = {}; }
  TTargetScope(const TTargetScope&) = delete;
  TTargetScope& operator=(const TTargetScope&) = delete;
};

}  // namespace

int32_t RenderText(TRgbImage& image, const TFontImage& font, int32_t x, int32_t y,
                   const char16_t* text, size_t length, uint32_t colour) {
  TTargetScope scope(image, font);
  return DrawTextRun(x, y, text, length, static_cast<int32_t>(colour), DrawGlyphIntoTarget);
}


// ---------------------------------------------------------------------------
// Frames
// ---------------------------------------------------------------------------

uint32_t AdvanceRandomSeed(uint32_t seed, uint64_t count) {
  // One step maps the state s to m s + c (mod 2^32); composing the map with
  // itself by repeated squaring jumps Count steps at once.
  uint32_t stepMul = RandomMultiplier;
  uint32_t stepAdd = RandomIncrement;
  for (; count != 0; count >>= 1) {
    if (count & 1) seed = seed * stepMul + stepAdd;
    stepAdd = stepAdd * stepMul + stepAdd;
    stepMul = stepMul * stepMul;
  }
  return seed;
}

TRgbImage RenderFrame(uint64_t frame, const TFontImage& font) {
  TRgbImage image(FrameWidth, FrameHeight, FrameClearColour);
  RandomSeed = AdvanceRandomSeed(0, frame * FrameLineCount);
  TTargetScope scope(image, font);
  DrawFrameLines(DrawGlyphIntoTarget);
  return image;
}

// ---------------------------------------------------------------------------
// UTF-8
// ---------------------------------------------------------------------------

bool Utf8ToUtf16(const std::string& utf8, std::u16string& utf16, std::string& error) {
  utf16.clear();
  const size_t n = utf8.size();
  size_t k = 0;
  while (k < n) {
    const size_t start = k;
    const uint8_t lead = static_cast<uint8_t>(utf8[k++]);
    uint32_t code;
    int continuation;
    uint32_t minimum;
    if (lead < 0x80) {
      utf16.push_back(static_cast<char16_t>(lead));
      continue;
    } else if ((lead & 0xE0) == 0xC0) {
      code = lead & 0x1F, continuation = 1, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      code = lead & 0x0F, continuation = 2, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      code = lead & 0x07, continuation = 3, minimum = 0x10000;
    } else {
      error = "invalid UTF-8 lead byte at offset " + std::to_string(start);
      return false;
    }
    for (int c = 0; c < continuation; ++c, ++k) {
      if (k >= n || (static_cast<uint8_t>(utf8[k]) & 0xC0) != 0x80) {
        error = "truncated UTF-8 sequence at offset " + std::to_string(start);
        return false;
      }
      code = (code << 6) | (static_cast<uint8_t>(utf8[k]) & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      error = "invalid UTF-8 sequence at offset " + std::to_string(start);
      return false;
    }
    if (code < 0x10000) {
      utf16.push_back(static_cast<char16_t>(code));
    } else {
      code -= 0x10000;
      utf16.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
      utf16.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    }
  }
  return true;
}

// ---------------------------------------------------------------------------
// PNG
// ---------------------------------------------------------------------------

namespace {

struct TFileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

bool WritePng(const TRgbImage& image, const std::string& path, std::string& error, int32_t scale) {
  if (scale < 1) {
    error = "scale must be at least 1";
    return false;
  }
  const int64_t width = static_cast<int64_t>(image.Width) * scale;
  const int64_t height = static_cast<int64_t>(image.Height) * scale;
  if (width < 1 || height < 1 || width > 0x7FFFFFFF / 3 || height > 0x7FFFFFFF) {
    error = "cannot write a " + std::to_string(width) + " x " + std::to_string(height) + " PNG";
    return false;
  }
  std::unique_ptr<std::FILE, TFileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) {
    error = "cannot create " + path + ": " + std::strerror(errno);
    return false;
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    error = "out of memory writing " + path;
    return false;
  }
  // Everything libpng may longjmp over is created before setjmp and released
  // on both paths below.
  std::vector<png_byte> row(static_cast<size_t>(width) * 3);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    error = "cannot write " + path;
    return false;
  }
  png_init_io(png, file.get());
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int32_t y = 0; y < image.Height; ++y) {
    for (int32_t x = 0; x < image.Width; ++x) {
      const uint32_t pixel = image.At(x, y);
      for (int32_t s = 0; s < scale; ++s) {
        png_byte* out = &row[(static_cast<size_t>(x) * scale + s) * 3];
        out[0] = static_cast<png_byte>(pixel >> 16);
        out[1] = static_cast<png_byte>(pixel >> 8);
        out[2] = static_cast<png_byte>(pixel);
      }
    }
    for (int32_t s = 0; s < scale; ++s) png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  const bool streamFailed = std::ferror(file.get()) != 0;
  if (std::fclose(file.release()) != 0 || streamFailed) {
    error = "cannot write " + path + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace runeplate
