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

namespace {

// Sets up `image` for writing a `width` x `height` picture of `channels`
// bytes a pixel held in `bytes` bytes; false with a message when they
// disagree or the size is out of range.
bool PrepareImage(int64_t width, int64_t height, size_t bytes, int channels, png_uint_32 format,
                  png_image& image, std::string& error) {
  if (!CheckPngSize(width, height, error)) return false;
  if (bytes != static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * channels) {
    error = "picture data does not match its size";
    return false;
  }
  image = png_image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = format;
  return true;
}

}  // namespace

bool WritePngFile(const std::string& path, const TRgbImage& picture, std::string& error) {
  // The size is checked before the RGB bytes are made.
  png_image image;
  if (!PrepareImage(picture.Width, picture.Height, picture.Pixels.size() * 3, 3, PNG_FORMAT_RGB, image, error)) {
    error = path + ": " + error;
    return false;
  }
  std::vector<uint8_t> rgb;
  rgb.reserve(picture.Pixels.size() * 3);
  for (uint32_t pixel : picture.Pixels)
    rgb.insert(rgb.end(), {uint8_t(pixel >> 16), uint8_t(pixel >> 8), uint8_t(pixel)});
  TAtomicFile file(path);
  if (!file.Open(error)) return false;
  if (!png_image_write_to_stdio(&image, file.Stream(), 0, rgb.data(), 0, nullptr)) {
    error = path + ": cannot write PNG: " + image.message;
    png_image_free(&image);
    return false;
  }
  return file.Commit(error);
}

bool EncodePngRgba(int64_t width, int64_t height, const std::vector<uint8_t>& rgba,
                   std::vector<uint8_t>& png, std::string& error) {
  png_image image;
  if (!PrepareImage(width, height, rgba.size(), 4, PNG_FORMAT_RGBA, image, error)) return false;
  png_alloc_size_t size = 0;
  // The first call measures, the second writes.
  if (png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr)) {
    png.resize(size);
    if (png_image_write_to_memory(&image, png.data(), &size, 0, rgba.data(), 0, nullptr)) {
      png.resize(size);
      return true;
    }
  }
  error = std::string("cannot make PNG: ") + image.message;
  png_image_free(&image);
  return false;
}

bool DecodePng(const std::vector<uint8_t>& bytes, int64_t maxPixels, TRgbImage& picture, std::string& error,
               uint32_t background) {
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
  const png_color under = {png_byte(background >> 16), png_byte(background >> 8), png_byte(background)};
  if (!png_image_finish_read(&image, &under, rgb.data(), 0, nullptr)) return fail("cannot read PNG: ");
  TRgbImage read(static_cast<int32_t>(width), static_cast<int32_t>(height));
  for (size_t k = 0; k < read.Pixels.size(); ++k)
    read.Pixels[k] = uint32_t{rgb[3 * k]} << 16 | uint32_t{rgb[3 * k + 1]} << 8 | rgb[3 * k + 2];
  picture = std::move(read);
  return true;
}

bool ReadPngFile(const std::string& path, int64_t maxPixels, TRgbImage& picture, std::string& error,
                 uint32_t background) {
  std::vector<uint8_t> bytes;
  if (!ReadFile(path, bytes, error)) return false;
  if (DecodePng(bytes, maxPixels, picture, error, background)) return true;
  error = path + ": " + error;
  return false;
}

}  // namespace runeplate
