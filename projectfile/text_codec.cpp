#include "projectfile/text_codec.h"

#include <QStringDecoder>

#include <array>

namespace vidorun {

void Utf8Validator::feed(const char *data, std::size_t size)
{
    for (std::size_t i = 0; i < size && !m_invalid; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        if (m_pending > 0) {
            if (b < m_lower || b > m_upper) {
                m_invalid = true;
                return;
            }
            m_lower = 0x80;
            m_upper = 0xBF;
            --m_pending;
            continue;
        }
        if (b < 0x80)
            continue;
        if (b >= 0xC2 && b <= 0xDF) {
            m_pending = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            m_pending = 2;
            if (b == 0xE0)
                m_lower = 0xA0;  // no overlong forms
            else if (b == 0xED)
                m_upper = 0x9F;  // no surrogates
        } else if (b >= 0xF0 && b <= 0xF4) {
            m_pending = 3;
            if (b == 0xF0)
                m_lower = 0x90;
            else if (b == 0xF4)
                m_upper = 0x8F;  // nothing past U+10FFFF
        } else {
            m_invalid = true;
        }
    }
}

bool isValidUtf8(const QByteArray &bytes)
{
    Utf8Validator validator;
    validator.feed(bytes.constData(), std::size_t(bytes.size()));
    return validator.valid();
}

namespace {

// 0x80 to 0x9F of Windows-1252; 0 marks the five unused places.
constexpr std::array<char16_t, 32> Cp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

}  // namespace

QString decodeCp1252(const char *data, std::size_t size)
{
    QString text;
    text.reserve(qsizetype(size));
    for (std::size_t i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        if (b >= 0x80 && b <= 0x9F) {
            const char16_t c = Cp1252High[b - 0x80];
            // Unused places decode as the C1 control of the same number, as Windows does.
            text.append(QChar(c ? c : char16_t(b)));
        } else {
            text.append(QChar(char16_t(b)));
        }
    }
    return text;
}

std::optional<QByteArray> encodeCp1252(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            bytes.append(char(c));
            continue;
        }
        bool found = false;
        for (std::size_t i = 0; i < Cp1252High.size(); ++i) {
            if (Cp1252High[i] == c || (Cp1252High[i] == 0 && c == 0x80 + i)) {
                bytes.append(char(0x80 + i));
                found = true;
                break;
            }
        }
        if (!found)
            return std::nullopt;
    }
    return bytes;
}

QString decodeProjectText(const std::string &bytes, bool fileIsUtf8)
{
    if (fileIsUtf8) {
        // A value that begins with U+FEFF keeps it; QString::fromUtf8 would
        // take it for a byte-order mark and drop it.
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        return utf8.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    }
#ifdef Q_OS_WIN
    return QString::fromLocal8Bit(bytes.data(), qsizetype(bytes.size()));
#else
    return decodeCp1252(bytes.data(), bytes.size());
#endif
}

bool inProjectCodePage(char16_t c)
{
#ifdef Q_OS_WIN
    // A character the code page lacks comes back as "?" or a look-alike.
    const QString text(QChar{c});
    return QString::fromLocal8Bit(text.toLocal8Bit()) == text;
#else
    return encodeCp1252(QString(QChar{c})).has_value();
#endif
}

}  // namespace vidorun
