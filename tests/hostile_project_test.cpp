// Project files with NUL bytes and broken or foreign encodings, read through
// File > Read: each is read as far as it makes sense, never refused, and the
// program goes on.
#include "projectfile/text_codec.h"
#include "support/main_window_fixture.h"

#include <gtest/gtest.h>

using namespace vidorun;
using namespace vidorun::testing;

namespace {

// The bytes of a literal, NULs included.
template<std::size_t N>
std::string bytes(const char (&literal)[N])
{
    return std::string(literal, N - 1);
}

// U+FEFF, as UTF-8, in front of the text.
std::string marked(const char *text)
{
    return "\xEF\xBB\xBF" + std::string(text);
}

class HostileProjectTest : public MainWindowTest {
protected:
    void read(const std::string &bytes)
    {
        writeFile("Hostile.inf", bytes);
        fake.dialogs.answers.push_back(path("Hostile.inf"));
        trigger("OPENINIFILE");
    }
};

// NUL is a character like any other: it stays in titles, and a key with a
// NUL in its first five characters is no key.
TEST_F(HostileProjectTest, NulBytesStayInValuesAndHideKeys)
{
    start();
    read(bytes("the_title=nul\0inside\r\n"
               "movie01=A\0.AVI\r\ntitle01=\0\r\nmdisk01=CD\0 1\r\n"
               "tit\0le02=hidden\r\n\0title03=hidden\r\n"));
    EXPECT_EQ(project().ProjectTitle, bytes("nul\0inside"));
#ifdef _WIN32
    // A Windows window's text ends at a NUL: what shows is the value up to it.
    EXPECT_EQ(view().caption(), "Vidorun ; nul");
    EXPECT_EQ(listedTitles(), std::vector<std::string>{""});
#else
    EXPECT_EQ(view().caption(), "Vidorun ; " + project().ProjectTitle);
    EXPECT_EQ(listedTitles(), std::vector<std::string>{bytes("\0")});
#endif
    EXPECT_EQ(project().MoviePaths[1], bytes("A\0.AVI"));
    EXPECT_EQ(project().MovieCDs[1], bytes("CD\0 1"));
    EXPECT_TRUE(fake.messages.shown.empty());
}

// One byte that is no UTF-8 anywhere makes the whole file Windows-1252, so
// overlong forms, encoded surrogates, code points past U+10FFFF and a
// sequence cut off at the end all come out as code page letters.
TEST_F(HostileProjectTest, InvalidUtf8MakesTheWholeFileCodePage)
{
    start();
    read("title01=overlong \xC0\xAF\r\nmovie01=A\r\nmdisk01=B\r\n"
         "title02=surrogate \xED\xA0\x80\r\nmovie02=A\r\nmdisk02=B\r\n"
         "title03=past the end \xF4\x90\x80\x80\r\nmovie03=A\r\nmdisk03=B\r\n"
         "title04=caf\xC3\xA9\r\nmovie04=A\r\nmdisk04=B\r\n"
         "title05=cut off \xE6\x97");
    EXPECT_EQ(listedTitles(), (std::vector<std::string>{"overlong \u00C0\u00AF", "surrogate \u00ED\u00A0\u20AC",
                                                        "past the end \u00F4\u0090\u20AC\u20AC", "caf\u00C3\u00A9",
                                                        "cut off \u00E6\u2014"}));
    // Five titles, four paths and CD labels: the count check still works.
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_NE(fake.messages.shown[0].text.find("5 movie titles"), std::string::npos);
}

// Notepad's "Unicode" is UTF-16: every other byte is NUL, so no item starts
// with a key. The file reads as an empty project.
TEST_F(HostileProjectTest, AUtf16FileReadsAsNothing)
{
    start();
    const std::string text = "[vidorun]\r\nthe_title=Wide\r\nmovie01=A.AVI\r\ntitle01=Wide\r\nmdisk01=CD\r\n";
    std::string utf16("\xFF\xFE");
    for (const char c : text) {
        utf16 += c;
        utf16 += '\0';
    }
    read(utf16);
    EXPECT_EQ(listedTitles(), std::vector<std::string>{});
    EXPECT_EQ(project().ProjectTitle, "");
    EXPECT_EQ(view().text("TotalMoviesText"), "Total number of movies: 0");
    EXPECT_TRUE(fake.messages.shown.empty());
}

// A byte-order mark in front of the first line only hides that line, which
// the writer makes "[autorun]"; a U+FEFF at the start of a value stays.
TEST_F(HostileProjectTest, ByteOrderMarksAreText)
{
    start();
    read("\xEF\xBB\xBF[autorun]\r\n\xEF\xBB\xBFthe_title=Marked\r\n"
         "movie01=A.AVI\r\ntitle01=\xEF\xBB\xBFTitle\r\nmdisk01=\xEF\xBB\xBF" "cd\r\n");
    EXPECT_EQ(project().ProjectTitle, "") << "a key behind a mark is no key";
    EXPECT_EQ(listedTitles(), std::vector<std::string>{marked("Title")});
    EXPECT_EQ(project().MovieCDs[1], marked("CD"));
    EXPECT_EQ(decodeProjectText("\xEF\xBB\xBF" "cd2", true), marked("cd2"));
}

// Control characters, a DEL and lone CRs are text or line ends, nothing more.
TEST_F(HostileProjectTest, ControlCharactersAreText)
{
    start();
    read("title01=\x01\x02\x1B[31m\x7F\f\v\rmovie01=A\rmdisk01=B\r\x1A");
    EXPECT_EQ(listedTitles(), std::vector<std::string>{"\x01\x02\x1B[31m\x7F\f\v"});
    EXPECT_TRUE(fake.messages.shown.empty());
}

// A cover path with a NUL in it names no file: the missing-file message, and
// the placeholder stays.
TEST_F(HostileProjectTest, ACoverPathWithANulIsNoFile)
{
    writeFile("COVER.JPG", "not looked at");
    start();
    read(bytes("cover=COVER.JPG\0.PNG\r\n"));
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, bytes("The file COVER.JPG\0.PNG does not exists!"));
    EXPECT_TRUE(view().isVisible("NoPictureText"));
    EXPECT_EQ(fake.pictures.loaded, std::vector<std::string>{});
}

}  // namespace
