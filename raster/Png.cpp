#include "raster/Png.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

namespace raster {
namespace {

// Larger images are refused rather than allocated.
constexpr std::uint64_t kMaxPixels = std::uint64_t{1} << 26;
constexpr std::size_t kSignatureSize = 8;

struct Input {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t position;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* input = static_cast<Input*>(png_get_io_ptr(png));
    if (length > input->size - input->position) png_error(png, "read past the end of the data");
    std::memcpy(out, input->data + input->position, length);
    input->position += length;
}

void IgnoreWarning(png_structp, png_const_charp) {}

[[noreturn]] void AbandonImage(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

// The decoder's state; libpng reports errors by a long jump back into ReadHeader or ReadRows,
// which therefore hold nothing that needs destroying.
class Decoder {
public:
    Decoder(const std::uint8_t* data, std::size_t size) : input_{data, size, 0} {
        png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, AbandonImage, IgnoreWarning);
        if (png_) info_ = png_create_info_struct(png_);
    }
    ~Decoder() { png_destroy_read_struct(&png_, &info_, nullptr); }
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    // Reads the header and sets up the transforms; false on any error.
    bool ReadHeader(png_uint_32& width, png_uint_32& height) {
        if (!png_ || !info_) return false;
        if (setjmp(png_jmpbuf(png_))) return false;
        png_set_read_fn(png_, &input_, ReadFromMemory);
        png_read_info(png_, info_);
        png_set_expand(png_);
        png_set_strip_16(png_);
        png_set_gray_to_rgb(png_);
        png_set_filler(png_, 0xFF, PNG_FILLER_AFTER);
        png_set_interlace_handling(png_);
        png_read_update_info(png_, info_);
        width = png_get_image_width(png_, info_);
        height = png_get_image_height(png_, info_);
        return png_get_rowbytes(png_, info_) == static_cast<png_size_t>(width) * 4;
    }

    // Reads every row as RGBA bytes into the given row addresses; false on any error.
    bool ReadRows(png_bytep* rows) {
        if (setjmp(png_jmpbuf(png_))) return false;
        png_read_image(png_, rows);
        return true;
    }

private:
    Input input_;
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

// RGBA bytes (straight alpha) to the raster's premultiplied native words, in place.
void PremultiplyRow(std::uint32_t* row, int width) {
    auto* bytes = reinterpret_cast<const std::uint8_t*>(row);
    for (int x = 0; x < width; ++x) {
        const std::uint32_t r = bytes[4 * x], g = bytes[4 * x + 1], b = bytes[4 * x + 2];
        const std::uint32_t a = bytes[4 * x + 3];
        auto scale = [a](std::uint32_t c) { return (c * a + 127) / 255; };
        row[x] = a << 24 | scale(r) << 16 | scale(g) << 8 | scale(b);
    }
}

// The image's size from its header, with the transforms set up; false for data that is not a
// PNG, a broken header, or an image of no size or too many pixels.
bool ReadImageHeader(Decoder& decoder, const std::uint8_t* data, std::size_t size,
                     png_uint_32& width, png_uint_32& height) {
    if (!data || size < kSignatureSize || png_sig_cmp(data, 0, kSignatureSize) != 0) return false;
    if (!decoder.ReadHeader(width, height)) return false;
    return width != 0 && height != 0 && std::uint64_t{width} * height <= kMaxPixels;
}

// Decodes the rows into pixels `stride` apart and premultiplies them; false on any error.
bool DecodeRows(Decoder& decoder, png_uint_32 width, png_uint_32 height, std::uint32_t* pixels,
                int stride) {
    std::vector<png_bytep> rows(height);
    for (png_uint_32 y = 0; y < height; ++y) {
        rows[y] = reinterpret_cast<png_bytep>(pixels + static_cast<std::size_t>(y) * stride);
    }
    if (!decoder.ReadRows(rows.data())) return false;
    for (png_uint_32 y = 0; y < height; ++y) {
        PremultiplyRow(reinterpret_cast<std::uint32_t*>(rows[y]), static_cast<int>(width));
    }
    return true;
}

} // namespace

std::unique_ptr<Raster> DecodePng(const std::uint8_t* data, std::size_t size) {
    png_uint_32 width = 0, height = 0;
    {
        Decoder decoder(data, size);
        if (!ReadImageHeader(decoder, data, size, width, height)) return nullptr;
    }
    // The raster keeps its own copy of the compressed bytes until it decodes them.
    auto decode = [bytes = std::vector<std::uint8_t>(data, data + size), width,
                   height](std::uint32_t* pixels, int stride) {
        Decoder decoder(bytes.data(), bytes.size());
        png_uint_32 w = 0, h = 0;
        if (ReadImageHeader(decoder, bytes.data(), bytes.size(), w, h) && w == width &&
            h == height && DecodeRows(decoder, width, height, pixels, stride)) {
            return;
        }
        // Rows read before the error hold unpremultiplied bytes; the image stays transparent.
        std::memset(pixels, 0, static_cast<std::size_t>(height) * stride * sizeof *pixels);
    };
    auto raster =
        Raster::Deferred(static_cast<int>(width), static_cast<int>(height), std::move(decode));
    if (raster->Width() != static_cast<int>(width)) return nullptr;
    return raster;
}

} // namespace raster
