#include "projectfile/item_reader.h"

#include <algorithm>
#include <cstring>

namespace vidorun {

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

void ItemReader::append(std::string &item, char c) const
{
    if (item.size() < MaxItemBytes)
        item.push_back(c);
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

    if (c == '"') {
        advance();
        while ((c = peek()) >= 0 && c != '"') {
            append(item, char(c));
            advance();
        }
        if (c == '"')
            advance();
        // Whatever follows the closing quote up to the delimiter is dropped.
        while ((c = peek()) >= 0 && c != ',' && c != '\r' && c != '\n')
            advance();
        skipLineEndOrComma();
        return item;
    }

    while ((c = peek()) >= 0 && c != ',' && c != '\r' && c != '\n') {
        append(item, char(c));
        advance();
    }
    skipLineEndOrComma();
    while (!item.empty() && (item.back() == ' ' || item.back() == '\t'))
        item.pop_back();
    return item;
}

}  // namespace vidorun
