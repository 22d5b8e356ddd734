// Opening and closing child windows: the main window is disabled while one
// is up, and however the child closes, the main window comes back enabled,
// active and focused, with what the child handed back applied.
#include "support/caption_fit.h"
#include "support/eventually.h"
#include "support/main_window_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <functional>
#include <optional>

using namespace vidorun;
using namespace vidorun::testing;

namespace {

// Runs `seen` whenever `target` gets an event of `type`.
class EventWatch : public QObject {
public:
    EventWatch(QObject *target, QEvent::Type type, std::function<void()> seen) : m_type(type), m_seen(std::move(seen))
    {
        target->installEventFilter(this);
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == m_type)
            m_seen();
        return false;
    }

private:
    QEvent::Type m_type;
    std::function<void()> m_seen;
};

class ChildWindows : public MainWindowTest {
protected:
    QPointer<ChildWindow> open()
    {
        auto *child = new ChildWindow(window(), 240, 120);
        child->setObjectName(QStringLiteral("TestChild"));
        window().openChildWindow(child);
        return child;
    }

    // What the Add movie window leaves behind when it closes with OK.
    void handBackAMovie()
    {
        label("tempmoviename")->setText(QStringLiteral("Added movie"));
        label("tempmoviecd")->setText(QStringLiteral("DISC1"));
        label("tempmovielocation")->setText(QStringLiteral("MOVIES\\ADDED.AVI"));
    }
};

}  // namespace

TEST_F(ChildWindows, OpeningDisablesTheMainWindowAndShowsTheChildCentredOnItsOwn)
{
    start();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    QPointer<ChildWindow> child = open();

    EXPECT_FALSE(window().isEnabled());
    EXPECT_EQ(window().openChild(), child.data());
    ASSERT_TRUE(child->isVisible());
    EXPECT_EQ(child->parentWidget(), nullptr) << "a child window has no owner";
    EXPECT_FALSE(child->isModal());
    EXPECT_EQ(child->windowType(), Qt::Tool) << "no taskbar entry";
    EXPECT_FALSE(child->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(child->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(child->minimumSize(), QSize(240, 120));
    EXPECT_EQ(child->maximumSize(), QSize(240, 120));
    const QPoint offCentre = child->frameGeometry().center() - child->screen()->availableGeometry().center();
    // Where there is no window manager, Qt still allows for a frame it guesses.
    EXPECT_LE(offCentre.manhattanLength(), 60) << "not centred on the screen";

    // Without a window manager only an explicit activation puts it in front.
    EXPECT_EVENTUALLY_EQ(QApplication::activeWindow(), static_cast<QWidget *>(child.data()));
    child->close();
}

TEST_F(ChildWindows, ClosingByAnyMeansGivesTheMainWindowBackAndAppliesTheHandBack)
{
    struct Way {
        const char *what;
        std::function<void(ChildWindow *)> close;
    };
    const Way ways[] = {
        {"its close button", [](ChildWindow *c) { c->unload(); }},
        {"its close box", [](ChildWindow *c) { c->windowHandle()->close(); }},
        {"Esc", [](ChildWindow *c) { QTest::keyClick(c, Qt::Key_Escape); }},
        {"being deleted", [](ChildWindow *c) { delete c; }},
    };
    for (const Way &way : ways) {
        SCOPED_TRACE(way.what);
        start();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
        button("PlayButton")->setFocus();
        QPointer<ChildWindow> child = open();
        EXPECT_EVENTUALLY_EQ(QApplication::activeWindow(), static_cast<QWidget *>(child.data()));
        handBackAMovie();
        // The child is off the screen before the main window comes back.
        std::optional<bool> childShownOnReturn;
        EventWatch enabled(&window(), QEvent::EnabledChange, [&] {
            if (!childShownOnReturn)
                childShownOnReturn = child && child->isVisible();
        });

        way.close(child);
        EXPECT_EQ(childShownOnReturn, std::optional<bool>(false));

        // At once, without waiting for the window system to activate the
        // main window again:
        EXPECT_TRUE(window().isEnabled());
        EXPECT_EQ(window().openChild(), nullptr);
        EXPECT_EQ(listedTitles(), QStringList{QStringLiteral("Added movie")});
        EXPECT_EQ(project().TitleCount.toStdString(), "1");
        for (const char *field : {"tempmoviename", "tempmoviecd", "tempmovielocation", "tempremovemovie"}) {
            EXPECT_EQ(label(field)->text().toStdString(), "empty") << field;
            EXPECT_FALSE(label(field)->isVisible()) << field;
        }

        // Then the main window is active, with the focus where it was, and
        // the child is gone for good.
        EXPECT_EVENTUALLY_EQ(QApplication::activeWindow(), static_cast<QWidget *>(&window()));
        EXPECT_EVENTUALLY_EQ(QApplication::focusWidget(), static_cast<QWidget *>(button("PlayButton")));
        EXPECT_EVENTUALLY_TRUE(child.isNull());
        EXPECT_EQ(project().TitleCount.toStdString(), "1") << "applied twice";
    }
}

TEST_F(ChildWindows, MainWindowFocusesTheListWhenNothingHadTheFocus)
{
    start();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    movies()->clearFocus();
    ASSERT_EQ(QApplication::focusWidget(), nullptr);
    QPointer<ChildWindow> child = open();
    child->unload();
    EXPECT_EVENTUALLY_EQ(QApplication::focusWidget(), static_cast<QWidget *>(movies()));
}

TEST_F(ChildWindows, TheMainWindowStaysWhileAChildIsOpen)
{
    start();
    QPointer<ChildWindow> child = open();
    window().windowHandle()->close();
    QApplication::processEvents();
    EXPECT_TRUE(window().isVisible()) << "the disabled main window closed under its child";
    EXPECT_TRUE(child && child->isVisible());
    child->unload();
    EXPECT_TRUE(window().isEnabled());
}

TEST_F(ChildWindows, AChildWindowDoesNotOutliveTheMainWindow)
{
    start();
    QPointer<ChildWindow> child = open();
    m_window.reset();
    EXPECT_TRUE(child.isNull());
}

// Every child window, opened through its command, shows its captions whole.
TEST_F(ChildWindows, NoCaptionIsClippedInAnyOfTheFourWindows)
{
    writeFile(QStringLiteral("Autorun.inf"), projectFileBytes({"movie01=a.avi", "title01=A", "mdisk01=X"}));
    start();
    for (const char *command : {"ADDMOVIE", "REMOVEMOVIE", "CURRENTSETTINGS", "ABOUTSCREEN"}) {
        SCOPED_TRACE(command);
        trigger(command);
        QPointer<ChildWindow> child = window().openChild();
        ASSERT_FALSE(child.isNull());
        expectCaptionsFit(child);
        child->unload();
        EXPECT_TRUE(window().isEnabled());
    }
}
