#include "hosts/linux/png_writer.h"

#include <png.h>

#include <cstdint>
#include <vector>

namespace linux_host {

bool WritePng(const std::string& path, const standin::Surface& frame, std::string& error) {
    if (!frame.pixels || frame.width <= 0 || frame.height <= 0) {
        error = "empty frame";
        return false;
    }
    // libpng's simplified interface reports failures through the image rather than
    // through longjmp, which would skip C++ destructors.
    std::vector<std::uint8_t> rgb(std::size_t(frame.width) * std::size_t(frame.height) * 3);
    std::uint8_t* out = rgb.data();
    for (int y = 0; y < frame.height; ++y) {
        const std::uint32_t* row = frame.pixels + std::size_t(y) * std::size_t(frame.stride);
        for (int x = 0; x < frame.width; ++x) {
            const std::uint32_t pixel = row[x];
            *out++ = std::uint8_t(pixel >> 16);
            *out++ = std::uint8_t(pixel >> 8);
            *out++ = std::uint8_t(pixel);
        }
    }

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(frame.width);
    image.height = png_uint_32(frame.height);
    image.format = PNG_FORMAT_RGB;
    // Mostly black frames compress well at any level; a run that writes every frame
    // cares more about time than bytes.
    image.flags = PNG_IMAGE_FLAG_FAST;
    if (!png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr)) {
        error = image.message[0] ? image.message : "libpng could not write the file";
        png_image_free(&image);
        return false;
    }
    return true;
}

}  // namespace linux_host
