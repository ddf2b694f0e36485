#include "tools/report/PngFile.h"
#include "tools/files/FileAccess.h"

#include <csetjmp>
#include <cstdio>
#include <png.h>

namespace serivane::tools {

namespace {

// The rows in the order libpng writes them: red, green, blue.
std::vector<png_byte> rgbRows(int width, int height, const std::vector<std::uint32_t>& pixels) {
    std::vector<png_byte> rgb(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
                              3);
    for (std::size_t i = 0; i < pixels.size() && i * 3 < rgb.size(); ++i) {
        rgb[i * 3] = static_cast<png_byte>(pixels[i] >> 16);
        rgb[i * 3 + 1] = static_cast<png_byte>(pixels[i] >> 8);
        rgb[i * 3 + 2] = static_cast<png_byte>(pixels[i]);
    }
    return rgb;
}

bool encode(std::FILE* file, int width, int height, std::vector<png_byte>& rgb) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    std::vector<png_bytep> rows(static_cast<std::size_t>(height));
    for (std::size_t y = 0; y < rows.size(); ++y)
        rows[y] = rgb.data() + y * static_cast<std::size_t>(width) * 3;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

bool writePng(const std::string& path, int width, int height,
              const std::vector<std::uint32_t>& pixels, std::string& error) {
    if (width <= 0 || height <= 0 ||
        pixels.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        error = "no picture to write";
        return false;
    }
    std::vector<png_byte> rgb = rgbRows(width, height, pixels);
    std::FILE* file = openFile(path, "wb");
    if (!file) {
        error = "cannot write " + path;
        return false;
    }
    bool written = encode(file, width, height, rgb);
    if (std::fclose(file) != 0) written = false;
    if (!written) {
        removeFile(path);
        error = "cannot write " + path;
    }
    return written;
}

} // namespace serivane::tools
