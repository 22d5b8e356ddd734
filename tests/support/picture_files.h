#pragma once

// Picture files made by the tests themselves, without any picture library:
// an uncompressed Windows bitmap, which the picture loading of every front
// end reads, whatever the file is named; a PNG; and a JPEG's header made to
// announce another size.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

namespace vidorun::testing {

// A 24-bit bitmap of width × height pixels, all of one colour.
inline std::string bitmapPicture(int width, int height, std::uint8_t red = 0, std::uint8_t green = 96,
                                 std::uint8_t blue = 128)
{
    const std::uint32_t rowBytes = (std::uint32_t(width) * 3 + 3) & ~3u;
    const std::uint32_t pixelBytes = rowBytes * std::uint32_t(height);
    std::string file;
    const auto put = [&file](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            file += char((value >> (8 * i)) & 0xFF);
    };
    file += "BM";
    put(14 + 40 + pixelBytes, 4);  // file size
    put(0, 4);                     // reserved
    put(14 + 40, 4);               // where the pixels start
    put(40, 4);                    // BITMAPINFOHEADER
    put(std::uint32_t(width), 4);
    put(std::uint32_t(height), 4);  // bottom-up
    put(1, 2);                      // planes
    put(24, 2);                     // bits per pixel
    put(0, 4);                      // BI_RGB
    put(pixelBytes, 4);
    put(2835, 4);  // 72 dpi
    put(2835, 4);
    put(0, 4);
    put(0, 4);
    std::string row(rowBytes, '\0');
    for (int x = 0; x < width; ++x) {
        row[std::size_t(x) * 3] = char(blue);
        row[std::size_t(x) * 3 + 1] = char(green);
        row[std::size_t(x) * 3 + 2] = char(red);
    }
    for (int y = 0; y < height; ++y)
        file += row;
    return file;
}

namespace picture_files {

inline void putBigEndian(std::string &out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out += char((value >> shift) & 0xFF);
}

inline std::uint32_t crc32(std::string_view bytes)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= std::uint8_t(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

inline void putChunk(std::string &png, std::string_view type, std::string_view data)
{
    putBigEndian(png, std::uint32_t(data.size()));
    const std::string typed = std::string(type) + std::string(data);
    png += typed;
    putBigEndian(png, crc32(typed));
}

}  // namespace picture_files

// A PNG of width × height pixels, all of one colour; its pixels stored, not
// compressed.
inline std::string pngPicture(int width, int height, std::uint8_t red = 0, std::uint8_t green = 96,
                              std::uint8_t blue = 0)
{
    using namespace picture_files;
    std::string pixels;
    for (int y = 0; y < height; ++y) {
        pixels += '\0';  // no filter
        for (int x = 0; x < width; ++x) {
            pixels += char(red);
            pixels += char(green);
            pixels += char(blue);
        }
    }
    // A zlib stream of stored blocks.
    std::string zlib("\x78\x01", 2);
    for (std::size_t at = 0; at < pixels.size() || at == 0; at += 65535) {
        const std::size_t length = std::min<std::size_t>(65535, pixels.size() - at);
        zlib += char(at + length >= pixels.size() ? 1 : 0);
        zlib += char(length & 0xFF);
        zlib += char(length >> 8);
        zlib += char(~length & 0xFF);
        zlib += char((~length >> 8) & 0xFF);
        zlib += pixels.substr(at, length);
        if (pixels.empty())
            break;
    }
    std::uint32_t a = 1, b = 0;
    for (const char c : pixels) {
        a = (a + std::uint8_t(c)) % 65521;
        b = (b + a) % 65521;
    }
    putBigEndian(zlib, (b << 16) | a);

    std::string png("\x89PNG\r\n\x1A\n", 8);
    std::string header;
    putBigEndian(header, std::uint32_t(width));
    putBigEndian(header, std::uint32_t(height));
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter, no interlace
    putChunk(png, "IHDR", header);
    putChunk(png, "IDAT", zlib);
    putChunk(png, "IEND", "");
    return png;
}

// The same JPEG with a frame header that claims another size; empty when
// it has none.
inline std::string jpegAnnouncing(std::string jpeg, int width, int height)
{
    for (std::size_t i = 2; i + 9 < jpeg.size(); ++i) {
        const auto marker = std::uint8_t(jpeg[i + 1]);
        if (std::uint8_t(jpeg[i]) == 0xFF && marker >= 0xC0 && marker <= 0xC2) {
            // marker, length (2), precision (1), height (2), width (2)
            jpeg[i + 5] = char(height >> 8);
            jpeg[i + 6] = char(height & 0xFF);
            jpeg[i + 7] = char(width >> 8);
            jpeg[i + 8] = char(width & 0xFF);
            return jpeg;
        }
    }
    return {};
}

}  // namespace vidorun::testing
