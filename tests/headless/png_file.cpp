#include "tests/headless/png_file.h"

#include <png.h>

namespace test_support {

Picture ReadPng(const std::string& path) {
    Picture picture;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        picture.error = image.message;
        return picture;
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) {
        picture.error = image.message;
        png_image_free(&image);
        return picture;
    }
    picture.width = int(image.width);
    picture.height = int(image.height);
    picture.pixels.reserve(rgb.size() / 3);
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3) {
        picture.pixels.push_back(std::uint32_t(rgb[i]) << 16 | std::uint32_t(rgb[i + 1]) << 8 | rgb[i + 2]);
    }
    return picture;
}

}  // namespace test_support
