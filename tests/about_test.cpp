// The about box, and the commands that are not implemented yet.
#include "child_window_fixture.h"

#include <QAction>
#include <QFrame>
#include <QLabel>

namespace vidorun::testing {
namespace {

class AboutTest : public ChildWindowTest {
protected:
    void openAbout(const char *how)
    {
        if (QLatin1String(how) == QLatin1String("About"))
            click("About");
        else
            trigger(how);
        ASSERT_NE(child(), nullptr) << how;
        ASSERT_EQ(child()->objectName(), QStringLiteral("frmAbout"));
    }
};

TEST_F(AboutTest, WindowIsLaidOutAsDesigned)
{
    start();
    openAbout("ABOUTSCREEN");
    expectLayout(QStringLiteral("About Vidorun"), QSize(382, 237),
                 {
                     {"PicIcon", 8, 16, 48, 40},
                     {"lblTitle", 64, 16, 259, 32},
                     {"lblVersion", 64, 52, 259, 15},
                     {"lblDescription", 64, 75, 259, 14},
                     {"bugreportlink", 64, 152, 281, 17},
                     {"Line1", 6, 184, 372, 1},
                     {"Label3", 16, 208, 257, 17},
                     {"cmdOK", 283, 208, 84, 23},
                 });
    auto *title = childControl<QLabel>("lblTitle");
    EXPECT_EQ(title->text(), QStringLiteral("Vidorun"));
    EXPECT_DOUBLE_EQ(title->font().pointSizeF(), 13.5);
    EXPECT_TRUE(title->font().bold());
    EXPECT_TRUE(childControl<QLabel>("lblDescription")->font().underline());
    EXPECT_FALSE(childControl<QLabel>("lblDescription")->text().isEmpty());
    // Sized to its text: 114 pixels as laid out, wider where the font needs it.
    auto *bugs = childControl<QLabel>("Bugreporttext");
    EXPECT_EQ(bugs->text(), QStringLiteral("Bugs can be reported at"));
    EXPECT_EQ(bugs->pos(), QPoint(64, 136));
    EXPECT_EQ(bugs->height(), 13);
    EXPECT_GE(bugs->width(), 114);
    EXPECT_GE(bugs->width(), bugs->fontMetrics().horizontalAdvance(bugs->text()));
    auto *link = childControl<QLabel>("bugreportlink");
    EXPECT_TRUE(link->text().startsWith(QStringLiteral("https://")));
    EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(Qt::blue));
    EXPECT_FALSE(link->openExternalLinks());
    EXPECT_EQ(link->textInteractionFlags(), Qt::NoTextInteraction);
    EXPECT_EQ(childControl<QFrame>("Line1")->palette().color(QPalette::Window), QColor(128, 128, 128));
    EXPECT_EQ(childControl<QLabel>("Label3")->text(), QStringLiteral("Warning: The use of this program is AT OWN RISK!!"));
    EXPECT_FALSE(childControl<QLabel>("PicIcon")->pixmap().isNull());
    EXPECT_TRUE(childControl<QPushButton>("cmdOK")->isDefault());
    expectFocusOn(childControl<QWidget>("cmdOK"));
}

TEST_F(AboutTest, ShowsTheVersionOnEveryOpening)
{
    start();
    openAbout("About");
    EXPECT_EQ(childControl<QLabel>("lblVersion")->text(), QStringLiteral("Version 4.0"));
    EXPECT_EQ(childControl<QLabel>("lblVersion")->text(), QStringLiteral("Version ") + versionText());
    clickChild("cmdOK");
    expectMainWindowBack();

    openAbout("ABOUTSCREEN");
    EXPECT_EQ(childControl<QLabel>("lblVersion")->text(), QStringLiteral("Version 4.0"));
    clickChild("cmdOK");
    expectMainWindowBack();
}

TEST_F(AboutTest, EnterAndEscCloseItAsOkDoes)
{
    start();
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        openAbout("About");
        pressOnChild(key);
        expectMainWindowBack();
    }
}

TEST_F(AboutTest, TheMainWindowIgnoresItsCommandsWhileTheBoxIsOpen)
{
    start();
    QStringList ran;
    window().setCommandObserver([&ran](const QString &name) { ran << name; });
    openAbout("About");
    ran.clear();
    click("QuitButton");
    QTest::keyClick(&window(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_TRUE(ran.isEmpty());
    EXPECT_TRUE(window().isVisible());
    ASSERT_NE(child(), nullptr);
}

TEST_F(AboutTest, HelpAndTheLanguagesAreNotImplementedYet)
{
    start();
    const QString caption = window().windowTitle();
    for (const char *item : {"HELPME", "ENGLISHLANGUAGE", "DUTCHLANGUAGE"})
        trigger(item);
    ASSERT_EQ(fake.messages.shown.size(), 3u);
    for (const ShownMessage &shown : fake.messages.shown) {
        EXPECT_EQ(shown.text, QStringLiteral("This option is not yet implemented!"));
        EXPECT_EQ(shown.title, QStringLiteral("Not quite finished with this..."));
        EXPECT_EQ(shown.style, MsgStyle::Critical);
    }
    EXPECT_TRUE(action("ENGLISHLANGUAGE")->isChecked());
    EXPECT_FALSE(action("DUTCHLANGUAGE")->isChecked());
    EXPECT_EQ(window().windowTitle(), caption);
    EXPECT_EQ(child(), nullptr);
    EXPECT_TRUE(window().isEnabled());
}

}  // namespace
}  // namespace vidorun::testing
