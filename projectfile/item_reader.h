#pragma once

#include "base/utf8.h"

#include <cstddef>
#include <string>
#include <vector>

namespace vidorun {

// Where the item reader gets its bytes from: a file, or memory in tests.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Up to `size` bytes into `buffer`; 0 at the end (or on a read error).
    virtual std::size_t read(char *buffer, std::size_t size) = 0;
};

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::string bytes) : m_bytes(std::move(bytes)) {}
    std::size_t read(char *buffer, std::size_t size) override;

private:
    std::string m_bytes;
    std::size_t m_pos = 0;
};

// Reads a project file as a sequence of items, the way the file's own format
// is read back: items end at a comma or a line end (CR LF, CR or LF); blanks
// and tabs before an item are skipped, and so are those at the end of an
// unquoted item; an item that begins with a double quote runs to the next
// double quote, keeps any commas, and loses its quotes (anything after the
// closing quote, up to the next comma or line end, is dropped).
//
// The reader streams: it holds one buffer and one item, whatever the size of
// the file. An item longer than MaxItemBytes keeps its first MaxItemBytes.
class ItemReader {
public:
    static constexpr std::size_t MaxItemBytes = 4096;

    explicit ItemReader(ByteSource &source);

    // True when no byte is left; tested before each item.
    bool atEnd();
    // The next item (raw bytes). Call only when !atEnd().
    std::string next();

    // Whether every byte read so far is UTF-8 (meaningful at the end).
    bool utf8() const { return m_utf8.valid(); }

private:
    int peek();  // next byte, or -1 at the end
    void advance() { ++m_pos; }
    // Consumes bytes up to (not including) the first for which isStop() is
    // true, or to the end; appends them to `item` unless it is null. Runs
    // over the buffer a piece at a time rather than a byte at a time.
    template <typename IsStop>
    void consumeUntil(std::string *item, IsStop isStop);
    void skipLineEndOrComma();

    ByteSource &m_source;
    std::vector<char> m_buffer;
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    bool m_exhausted = false;
    Utf8Validator m_utf8;
};

}  // namespace vidorun
