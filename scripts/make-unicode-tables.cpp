// Run once against Qt 6 to make base/unicode_tables.inc:
//   g++ -std=c++17 -fPIC scripts/make-unicode-tables.cpp $(pkg-config --cflags --libs Qt6Core) -o /tmp/tables
//   /tmp/tables > base/unicode_tables.inc
// Writes the program's Unicode tables from Qt's: simple upper and lower case
// of the Basic Multilingual Plane, and the ASCII letters of compatibility
// decompositions (letters and marks only).
#include <QChar>
#include <QString>
#include <cstdio>
#include <vector>

struct Run { unsigned first, last, step; int delta; };

static void runs(const char *name, char16_t (*map)(char16_t))
{
    std::vector<Run> out;
    for (unsigned c = 0; c <= 0xFFFF; ++c) {
        const unsigned m = map(char16_t(c));
        if (m == c) continue;
        const int delta = int(m) - int(c);
        if (!out.empty()) {
            Run &r = out.back();
            if (r.delta == delta) {
                if (r.first == r.last && (c - r.last == 1 || c - r.last == 2)) { r.step = c - r.last; r.last = c; continue; }
                if (r.first != r.last && c - r.last == r.step) { r.last = c; continue; }
            }
        }
        out.push_back({c, c, 1, delta});
    }
    std::printf("// %zu runs\nconstexpr CaseRun %s[] = {\n", out.size(), name);
    for (const Run &r : out)
        std::printf("    {0x%04X, 0x%04X, %u, %d},\n", r.first, r.last, r.step, r.delta);
    std::printf("};\n\n");
}

int main()
{
    std::printf("// Made by scripts/make-unicode-tables.cpp from Qt 6's Unicode data; do not edit.\n\n");
    runs("UpperRuns", [](char16_t c) { return char16_t(QChar::toUpper(c)); });
    runs("LowerRuns", [](char16_t c) { return char16_t(QChar::toLower(c)); });
    std::printf("constexpr AsciiLetters AsciiOf[] = {\n");
    int n = 0;
    for (unsigned c = 0x80; c <= 0xFFFF; ++c) {
        if (QChar(char16_t(c)).isSurrogate()) continue;
        const QString d = QString(QChar(char16_t(c))).normalized(QString::NormalizationForm_KD);
        QString plain; bool ok = true;
        for (QChar p : d) {
            if (p.unicode() < 0x80) plain += p;
            else if (p.category() != QChar::Mark_NonSpacing && p.category() != QChar::Mark_SpacingCombining && p.category() != QChar::Mark_Enclosing) { ok = false; break; }
        }
        if (!ok || plain.isEmpty()) continue;
        std::printf("    {0x%04X, \"%s\"},\n", c, plain.toLatin1().replace("\\", "\\\\").replace("\"", "\\\"").constData());
        ++n;
    }
    std::printf("};\n");
    std::fprintf(stderr, "%d ascii\n", n);
}
