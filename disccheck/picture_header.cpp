#include "disccheck/picture_header.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace vidorun {

namespace {

// The file's bytes in order, read a piece at a time: a JPEG's header may
// follow megabytes of camera data, which are passed over, not kept.
class ByteStream {
public:
    explicit ByteStream(ReadableFile &file) : m_file(file) {}

    // The next `count` bytes; false when the file ends before them.
    bool take(std::size_t count, std::string &bytes)
    {
        bytes.clear();
        while (bytes.size() < count) {
            if (m_at == m_buffer.size() && !refill())
                return false;
            const std::size_t n = std::min(count - bytes.size(), m_buffer.size() - m_at);
            bytes.append(m_buffer.data() + m_at, n);
            m_at += n;
        }
        return true;
    }
    bool skip(std::size_t count)
    {
        while (count > 0) {
            if (m_at == m_buffer.size() && !refill())
                return false;
            const std::size_t n = std::min(count, m_buffer.size() - m_at);
            m_at += n;
            count -= n;
        }
        return true;
    }
    // The next byte, or -1 at the end.
    int next()
    {
        if (m_at == m_buffer.size() && !refill())
            return -1;
        return static_cast<unsigned char>(m_buffer[m_at++]);
    }

private:
    // However long a header runs on, the file is read no further than this.
    static constexpr std::int64_t MaxRead = 256 * 1024 * 1024;

    bool refill()
    {
        m_buffer.resize(64 * 1024);
        const std::int64_t n = m_read < MaxRead ? m_file.read(m_buffer.data(), std::int64_t(m_buffer.size())) : 0;
        m_buffer.resize(n > 0 ? std::size_t(n) : 0);
        m_read += n > 0 ? n : 0;
        m_at = 0;
        return n > 0;
    }

    ReadableFile &m_file;
    std::vector<char> m_buffer;
    std::size_t m_at = 0;
    std::int64_t m_read = 0;
};

unsigned byteAt(const std::string &bytes, std::size_t i)
{
    return static_cast<unsigned char>(bytes[i]);
}
std::uint32_t bigEndian(const std::string &bytes, std::size_t i, int size)
{
    std::uint32_t value = 0;
    for (int k = 0; k < size; ++k)
        value = value << 8 | byteAt(bytes, i + std::size_t(k));
    return value;
}
std::uint32_t littleEndian(const std::string &bytes, std::size_t i, int size)
{
    std::uint32_t value = 0;
    for (int k = size; k-- > 0;)
        value = value << 8 | byteAt(bytes, i + std::size_t(k));
    return value;
}

std::uint32_t crc32(const std::string &bytes)
{
    std::uint32_t crc = 0xFFFFFFFF;
    for (const char b : bytes) {
        crc ^= static_cast<unsigned char>(b);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

// A JPEG's tables as libjpeg checks them while it reads the header: the
// quantization (DQT) and Huffman (DHT) tables, the restart interval (DRI)
// and the arithmetic conditioning (DAC), each filling its segment exactly.
bool tablesFit(int marker, const std::string &segment)
{
    const auto at = [&segment](std::size_t i) { return i < segment.size() ? byteAt(segment, i) : 0u; };
    std::int64_t left = std::int64_t(segment.size());
    std::size_t i = 0;
    if (marker == 0xDB) {
        // Each table whole: its number, then 64 values of one byte, or of
        // two for a precision other than 0.
        while (left > 0) {
            const unsigned table = at(i);
            if ((table & 15) >= 4)
                return false;
            const std::int64_t size = 1 + ((table >> 4) ? 128 : 64);
            i += std::size_t(size);
            left -= size;
        }
    } else if (marker == 0xC4) {
        while (left > 16) {
            unsigned table = at(i);
            std::int64_t count = 0;
            for (std::size_t k = 1; k <= 16; ++k)
                count += at(i + k);
            left -= 17;
            i += 17;
            if (count > 256 || count > left)
                return false;
            i += std::size_t(count);
            left -= count;
            if (table & 0x10)
                table -= 0x10;
            if (table >= 4)
                return false;
        }
    } else if (marker == 0xDD) {
        return segment.size() == 2;
    } else if (marker == 0xCC) {
        for (; left > 0; left -= 2, i += 2) {
            const unsigned table = at(i), value = at(i + 1);
            if (table >= 32 || (table >= 16 ? value < 1 || value > 63 : (value & 15) > value >> 4))
                return false;
        }
    }
    return left == 0;
}

// The frame header (SOF) gives the size; the picture is there once the
// header of a scan (SOS) follows, naming the frame's components, as libjpeg
// reads a header: bytes between segments are passed over, a marker it does
// not know or a coding it does not decode (lossless, hierarchical) is no
// picture. libjpeg takes 8-bit samples, up to 10 components sampled 1 to 4
// times, and sides of up to 65500 pixels.
std::optional<PictureHeader> jpegHeader(ByteStream &stream)
{
    std::optional<PictureHeader> frame;
    std::string components;  // the frame's component identifiers
    std::string bytes;
    for (;;) {
        int c = stream.next();
        while (c >= 0 && c != 0xFF)
            c = stream.next();
        while (c == 0xFF)
            c = stream.next();
        if (c == 0)  // a zero after 0xFF is data, no marker
            continue;
        if (c < 0 || c == 0xD9 || c == 0xD8)  // the end, the image's end before any scan, a second start
            return std::nullopt;
        if (c == 0xDA)
            break;
        if (c == 0x01 || (c >= 0xD0 && c <= 0xD7))  // markers without a segment
            continue;
        const bool known = (c >= 0xC0 && c <= 0xCF) || c == 0xDB || c == 0xDC || c == 0xDD || (c >= 0xE0 && c <= 0xEF)
                           || c == 0xFE;
        const bool decoded = c == 0xC0 || c == 0xC1 || c == 0xC2 || c == 0xC9 || c == 0xCA || c == 0xC4 || c == 0xCC;
        if (!known || (c >= 0xC0 && c <= 0xCF && !decoded))
            return std::nullopt;
        if (!stream.take(2, bytes))
            return std::nullopt;
        const std::int64_t length = std::int64_t(bigEndian(bytes, 0, 2)) - 2;
        const bool skipped = c >= 0xE0 || c == 0xDC;  // application data, comments, DNL
        if (skipped) {
            if (length > 0 && !stream.skip(std::size_t(length)))
                return std::nullopt;
            continue;
        }
        if (length < 0 || !stream.take(std::size_t(length), bytes))
            return std::nullopt;
        if (c != 0xC0 && c != 0xC1 && c != 0xC2 && c != 0xC9 && c != 0xCA) {
            if (!tablesFit(c, bytes))
                return std::nullopt;
            continue;
        }
        if (frame || length < 6)
            return std::nullopt;
        const unsigned precision = byteAt(bytes, 0);
        const int height = int(bigEndian(bytes, 1, 2)), width = int(bigEndian(bytes, 3, 2));
        const unsigned count = byteAt(bytes, 5);
        if (precision != 8 || height == 0 || width == 0 || height > 65500 || width > 65500 || count == 0
            || count > 10 || std::size_t(length) != 6 + 3 * count)
            return std::nullopt;
        for (unsigned k = 0; k < count; ++k) {
            const unsigned sampling = byteAt(bytes, 7 + 3 * k);
            if (sampling >> 4 < 1 || sampling >> 4 > 4 || (sampling & 15) < 1 || (sampling & 15) > 4)
                return std::nullopt;
            components += bytes[6 + 3 * k];
        }
        frame = PictureHeader{"jpeg", width, height};
    }
    // The scan's header, as far as libjpeg needs it to be there.
    if (!frame || !stream.take(3, bytes))
        return std::nullopt;
    const unsigned count = byteAt(bytes, 2);
    if (count < 1 || count > 4 || bigEndian(bytes, 0, 2) != 6 + 2 * count)
        return std::nullopt;
    std::string used;
    for (unsigned k = 0; k < count; ++k) {
        if (!stream.take(k + 1 < count ? 2 : 1, bytes) || components.find(bytes[0]) == std::string::npos
            || used.find(bytes[0]) != std::string::npos)
            return std::nullopt;
        used += bytes[0];
    }
    return frame;
}

// The signature, then the IHDR chunk, whole and sound, as libpng reads it:
// sides of up to 1,000,000 pixels, a bit depth its colour type has; and the
// chunks after it up to the first image data, which libpng reads before it
// tells the size (a palette among them where the colours need one).
std::optional<PictureHeader> pngHeader(ByteStream &stream)
{
    std::string bytes;
    if (!stream.take(6, bytes) || bytes != std::string("NG\r\n\x1A\n", 6))
        return std::nullopt;
    if (!stream.take(25, bytes) || bigEndian(bytes, 0, 4) != 13 || bytes.compare(4, 4, "IHDR") != 0
        || crc32(bytes.substr(4, 17)) != bigEndian(bytes, 21, 4))
        return std::nullopt;
    const std::uint32_t width = bigEndian(bytes, 8, 4), height = bigEndian(bytes, 12, 4);
    const unsigned depth = byteAt(bytes, 16), colour = byteAt(bytes, 17);
    const bool depthFits = colour == 0   ? depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16
                           : colour == 3 ? depth == 1 || depth == 2 || depth == 4 || depth == 8
                           : colour == 2 || colour == 4 || colour == 6 ? depth == 8 || depth == 16
                                                                       : false;
    if (width == 0 || height == 0 || width > 1000000 || height > 1000000 || !depthFits || byteAt(bytes, 18) != 0
        || byteAt(bytes, 19) != 0 || byteAt(bytes, 20) > 1)
        return std::nullopt;
    const auto isLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    for (bool palette = false;;) {
        if (!stream.take(8, bytes))
            return std::nullopt;
        const std::uint32_t length = bigEndian(bytes, 0, 4);
        const std::string type = bytes.substr(4, 4);
        if (length > 0x7FFFFFFF || !std::all_of(type.begin(), type.end(), isLetter))
            return std::nullopt;
        if (type == "IDAT") {
            if (colour == 3 && !palette)
                return std::nullopt;
            return PictureHeader{"png", int(width), int(height)};
        }
        // A critical chunk other than the palette is one libpng refuses here.
        const bool critical = byteAt(type, 0) < 'a';
        if (critical && type != "PLTE")
            return std::nullopt;
        if (type != "PLTE") {
            if (!stream.skip(std::size_t(length) + 4))
                return std::nullopt;
            continue;
        }
        if (palette || !stream.take(std::size_t(length) + 4, bytes)
            || crc32(type + bytes.substr(0, length)) != bigEndian(bytes, length, 4)
            || (colour == 3 && (length % 3 != 0 || length == 0 || length > 3 * 256)))
            return std::nullopt;
        palette = true;
    }
}

// The logical screen, once a first image follows it.
std::optional<PictureHeader> gifHeader(ByteStream &stream)
{
    std::string bytes;
    if (!stream.take(11, bytes) || (bytes.compare(0, 4, "F87a") != 0 && bytes.compare(0, 4, "F89a") != 0))
        return std::nullopt;
    int width = int(littleEndian(bytes, 4, 2)), height = int(littleEndian(bytes, 6, 2));
    const unsigned flags = byteAt(bytes, 8);
    if ((flags & 0x80) && !stream.skip(3u << ((flags & 7) + 1)))
        return std::nullopt;
    for (;;) {
        const int block = stream.next();
        if (block == 0x2C) {
            if (!stream.take(9, bytes))
                return std::nullopt;
            // A screen of no size, or ten times as big as the image and more
            // than 2000 pixels, is as big as the first image reaches.
            const int left = int(littleEndian(bytes, 0, 2)), top = int(littleEndian(bytes, 2, 2));
            const int imageWidth = int(littleEndian(bytes, 4, 2)), imageHeight = int(littleEndian(bytes, 6, 2));
            if (width == 0 || width / 10 > std::max(imageWidth, 200))
                width = left + imageWidth;
            if (height == 0 || height / 10 > std::max(imageHeight, 200))
                height = top + imageHeight;
            if (width == 0 || height == 0)
                return std::nullopt;
            return PictureHeader{"gif", width, height};
        }
        if (block != 0x21 || stream.next() < 0)
            return std::nullopt;
        for (int size = stream.next(); size != 0; size = stream.next()) {
            if (size < 0 || !stream.skip(std::size_t(size)))
                return std::nullopt;
        }
    }
}

// The file header, then the bitmap's own as Qt's reader takes it: an old
// OS/2 one of 16-bit sides, or a Windows one (of version 3, 4 or 5) whose
// height is negative for a picture stored top row first; a bit depth and a
// compression that go together, and 16384 x 16384 pixels at most.
std::optional<PictureHeader> bmpHeader(ByteStream &stream)
{
    std::string bytes;
    if (!stream.take(16, bytes))
        return std::nullopt;
    const std::uint32_t size = littleEndian(bytes, 12, 4);
    std::int64_t width = 0, height = 0;
    unsigned planes = 0, bits = 0, compression = 0;
    if (size == 12) {
        if (!stream.take(8, bytes))
            return std::nullopt;
        width = std::int16_t(littleEndian(bytes, 0, 2));
        height = std::int16_t(littleEndian(bytes, 2, 2));
        planes = littleEndian(bytes, 4, 2);
        bits = littleEndian(bytes, 6, 2);
    } else if (size == 40 || size == 108 || size == 124) {
        if (!stream.take(size - 4, bytes))
            return std::nullopt;
        width = std::int32_t(littleEndian(bytes, 0, 4));
        height = std::int32_t(littleEndian(bytes, 4, 4));
        planes = littleEndian(bytes, 8, 2);
        bits = littleEndian(bytes, 10, 2);
        compression = littleEndian(bytes, 12, 4);
    } else {
        return std::nullopt;
    }
    const std::array<unsigned, 6> depths = {1, 4, 8, 16, 24, 32};
    const bool compressionFits = compression == 0 || (bits == 4 && compression == 2) || (bits == 8 && compression == 1)
                                 || ((bits == 16 || bits == 32) && compression == 3);
    height = height < 0 ? -height : height;
    if (std::find(depths.begin(), depths.end(), bits) == depths.end() || planes != 1 || !compressionFits
        || height == 2147483648LL || width <= 0 || height == 0 || width * height > 16384LL * 16384)
        return std::nullopt;
    return PictureHeader{"bmp", int(width), int(height)};
}

}  // namespace

std::optional<PictureHeader> readPictureHeader(ReadableFile &file)
{
    ByteStream stream(file);
    std::string start;
    if (!stream.take(2, start))
        return std::nullopt;
    if (start == "\xFF\xD8")
        return jpegHeader(stream);
    if (start == "\x89P")
        return pngHeader(stream);
    if (start == "GI")
        return gifHeader(stream);
    if (start == "BM")
        return bmpHeader(stream);
    return std::nullopt;
}

}  // namespace vidorun
