#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <optional>
#include <string>

namespace vidorun {

// Checks, a piece at a time, whether a byte stream is well-formed UTF-8.
class Utf8Validator {
public:
    void feed(const char *data, std::size_t size);
    // True when everything fed so far is UTF-8 and no sequence is left open.
    bool valid() const { return !m_invalid && m_pending == 0; }

private:
    bool m_invalid = false;
    int m_pending = 0;          // continuation bytes still expected
    unsigned char m_lower = 0x80, m_upper = 0xBF;  // range of the next continuation byte
};

bool isValidUtf8(const QByteArray &bytes);

// Windows-1252, the code page of project files made on Windows in western
// languages; the program writes it on systems that have no ANSI code page.
QString decodeCp1252(const char *data, std::size_t size);
// Nothing when a character has no place in the code page.
std::optional<QByteArray> encodeCp1252(const QString &text);

// Project file text: UTF-8 when the whole file is valid UTF-8, otherwise the
// system's ANSI code page (Windows-1252 where there is none).
QString decodeProjectText(const std::string &bytes, bool fileIsUtf8);

// Whether a character has a place in that code page, so that a file that is
// not UTF-8 can hold it.
bool inProjectCodePage(char16_t c);

}  // namespace vidorun
