#include "common/Png.h"

#include <png.h>

#include "common/Files.h"

namespace runeplate {

static_assert(PngMaxSide == PNG_USER_WIDTH_MAX && PngMaxSide == PNG_USER_HEIGHT_MAX,
              "libpng refuses pictures above its user limits");

bool CheckPngSize(int64_t width, int64_t height, std::string& error) {
  const std::string size = "cannot write a " + std::to_string(width) + " x " + std::to_string(height) + " PNG: ";
  if (width < 1 || height < 1 || width > PngMaxSide || height > PngMaxSide) {
    error = size + "each side must be 1 to " + std::to_string(PngMaxSide) + " pixels";
    return false;
  }
  if (width * height > PngMaxPixels) {
    error = size + "more than " + std::to_string(PngMaxPixels) + " pixels";
    return false;
  }
  return true;
}

bool WritePngFile(const std::string& path, const TRgbImage& picture, std::string& error) {
  if (!CheckPngSize(picture.Width, picture.Height, error)) {
    error = path + ": " + error;
    return false;
  }
  std::vector<uint8_t> rgb;
  rgb.reserve(picture.Pixels.size() * 3);
  for (uint32_t pixel : picture.Pixels)
    rgb.insert(rgb.end(), {uint8_t(pixel >> 16), uint8_t(pixel >> 8), uint8_t(pixel)});
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(picture.Width);
  image.height = static_cast<png_uint_32>(picture.Height);
  image.format = PNG_FORMAT_RGB;

  TAtomicFile file(path);
  if (!file.Open(error)) return false;
  if (!png_image_write_to_stdio(&image, file.Stream(), 0, rgb.data(), 0, nullptr)) {
    error = path + ": cannot write PNG: " + image.message;
    png_image_free(&image);
    return false;
  }
  return file.Commit(error);
}

bool DecodePng(const std::vector<uint8_t>& bytes, int64_t maxPixels, TRgbImage& picture, std::string& error) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  auto fail = [&](const std::string& what) {
    error = what + image.message;
    png_image_free(&image);
    return false;
  };
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
    return fail("not a PNG file we can read: ");
  const int64_t width = image.width, height = image.height;
  if (width * height > maxPixels) {
    error = "a " + std::to_string(width) + " x " + std::to_string(height) + " PNG is too large here";
    png_image_free(&image);
    return false;
  }
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  const png_color white = {255, 255, 255};
  if (!png_image_finish_read(&image, &white, rgb.data(), 0, nullptr)) return fail("cannot read PNG: ");
  TRgbImage read(static_cast<int32_t>(width), static_cast<int32_t>(height));
  for (size_t k = 0; k < read.Pixels.size(); ++k)
    read.Pixels[k] = uint32_t{rgb[3 * k]} << 16 | uint32_t{rgb[3 * k + 1]} << 8 | rgb[3 * k + 2];
  picture = std::move(read);
  return true;
}

bool ReadPngFile(const std::string& path, int64_t maxPixels, TRgbImage& picture, std::string& error) {
  std::vector<uint8_t> bytes;
  if (!ReadFile(path, bytes, error)) return false;
  if (DecodePng(bytes, maxPixels, picture, error)) return true;
  error = path + ": " + error;
  return false;
}

}  // namespace runeplate
