#include "projectfile/item_reader.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace vidorun {

namespace {

// The bytes that end an unquoted item, as a table: the reader looks up every
// byte of the file.
constexpr std::array<bool, 256> ItemEnds = [] {
    std::array<bool, 256> ends{};
    ends[','] = ends['\r'] = ends['\n'] = true;
    return ends;
}();

}  // namespace

std::size_t MemorySource::read(char *buffer, std::size_t size)
{
    const std::size_t n = std::min(size, m_bytes.size() - m_pos);
    std::memcpy(buffer, m_bytes.data() + m_pos, n);
    m_pos += n;
    return n;
}

ItemReader::ItemReader(ByteSource &source) : m_source(source), m_buffer(64 * 1024) {}

int ItemReader::peek()
{
    if (m_pos == m_end) {
        if (m_exhausted)
            return -1;
        m_end = m_source.read(m_buffer.data(), m_buffer.size());
        m_pos = 0;
        if (m_end == 0) {
            m_exhausted = true;
            return -1;
        }
        m_utf8.feed(m_buffer.data(), m_end);
    }
    return static_cast<unsigned char>(m_buffer[m_pos]);
}

bool ItemReader::atEnd()
{
    return peek() < 0;
}

template <typename IsStop>
void ItemReader::consumeUntil(std::string *item, IsStop isStop)
{
    while (peek() >= 0) {
        const char *begin = m_buffer.data() + m_pos;
        const char *end = m_buffer.data() + m_end;
        const char *stop = begin;
        while (stop != end && !isStop(*stop))
            ++stop;
        if (item && item->size() < MaxItemBytes)
            item->append(begin, std::min(std::size_t(stop - begin), MaxItemBytes - item->size()));
        m_pos += std::size_t(stop - begin);
        if (stop != end)
            return;
    }
}

// Consumes the delimiter that ends an item: a comma, or one line end.
void ItemReader::skipLineEndOrComma()
{
    const int c = peek();
    if (c == ',' || c == '\n') {
        advance();
    } else if (c == '\r') {
        advance();
        if (peek() == '\n')
            advance();
    }
}

std::string ItemReader::next()
{
    std::string item;
    int c = peek();
    while (c == ' ' || c == '\t') {
        advance();
        c = peek();
    }

    const auto endsItem = [](char b) { return ItemEnds[static_cast<unsigned char>(b)]; };
    if (c == '"') {
        advance();
        consumeUntil(&item, [](char b) { return b == '"'; });
        if (peek() == '"')
            advance();
        // Whatever follows the closing quote up to the delimiter is dropped.
        consumeUntil(nullptr, endsItem);
        skipLineEndOrComma();
        return item;
    }

    consumeUntil(&item, endsItem);
    skipLineEndOrComma();
    while (!item.empty() && (item.back() == ' ' || item.back() == '\t'))
        item.pop_back();
    return item;
}

}  // namespace vidorun
