#pragma once

// Picture files made by the tests themselves, without any picture library:
// an uncompressed Windows bitmap, which the picture loading of every front
// end reads, whatever the file is named.
#include <cstdint>
#include <string>

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

}  // namespace vidorun::testing
