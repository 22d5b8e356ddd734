// The Qt front end: each window as its description says, and what it tells
// the window's handlers.
#include "support/eventually.h"
#include "ui/descriptions.h"
#include "ui/qt/qt_controls.h"
#include "ui/qt/qt_front_end.h"
#include "ui/qt/qt_pictures.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>

namespace vidorun::testing {
namespace {

using namespace vidorun::ui;
using Commands = std::vector<std::string>;

QString q(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QString described(const QFont &f)
{
    return f.family() + QLatin1Char(' ') + QString::number(f.pointSizeF()) + (f.bold() ? " bold" : "")
           + (f.underline() ? " underlined" : "");
}

// Records what a window tells its handlers; a test may act on each.
struct Recorder final : WindowEvents {
    void command(std::string_view name) override
    {
        commands.emplace_back(name);
        onCommand();
    }
    void activated() override { ++activations; }
    bool mayClose() override
    {
        ++closeAsks;
        return allowClose;
    }
    void closed() override
    {
        ++closes;
        onClosed();
    }

    Commands commands;
    int activations = 0, closeAsks = 0, closes = 0;
    bool allowClose = true;
    std::function<void()> onCommand = [] {}, onClosed = [] {};
};

class QtFrontEndTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        view.reset();
        QTest::qWait(0);  // the deferred deletes
    }

    // Realises `description`, shows it and waits until it is active.
    void open(const Window &description)
    {
        view = frontEnd.realise(description, events);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
    }

    QWidget *window() const { return qt::windowWidget(*view); }
    QWidget *control(std::string_view name) const { return qt::controlWidget(*view, name); }
    QAction *action(const char *name) const { return window()->findChild<QAction *>(QLatin1String(name)); }
    // A key as the keyboard sends it: to the focused control.
    void key(std::string_view focus, Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        view->setFocus(focus);
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : window(), k, modifiers);
    }

    qt::QtFrontEnd frontEnd;
    Recorder events;
    std::unique_ptr<WindowView> view;
};

TEST_F(QtFrontEndTest, EveryControlIsWhereItsDescriptionSaysWithItsFontAndName)
{
    for (const Window *d : allWindows()) {
        SCOPED_TRACE(std::string(d->name));
        view = frontEnd.realise(*d, events);
        QWidget *w = window();
        EXPECT_EQ(w->objectName(), q(d->name));
        EXPECT_EQ(w->windowTitle(), q(d->caption));
        EXPECT_EQ(w->windowFlags().testFlag(Qt::Tool), !d->main);
        QWidget *client = d->main ? static_cast<QMainWindow *>(w)->centralWidget() : w;
        EXPECT_EQ(client->size(), QSize(d->clientWidth, d->clientHeight));
        EXPECT_EQ(client->minimumSize(), client->maximumSize()) << "never resized";
        for (const Control &c : d->controls) {
            SCOPED_TRACE(std::string(c.name));
            QWidget *widget = control(c.name);
            ASSERT_NE(widget, nullptr);
            EXPECT_EQ(w->findChild<QWidget *>(q(c.name)), widget);
            const int textWidth = widget->fontMetrics().horizontalAdvance(q(c.caption)) + 1;
            EXPECT_EQ(widget->geometry(),
                      QRect(c.left, c.top, c.growsWithText ? std::max(c.width, textWidth) : c.width, c.height));
            EXPECT_EQ(described(widget->font()), described(qt::toQFont(c.font.face.empty() ? d->font : c.font)));
            EXPECT_EQ(widget->isHidden(), !c.visible);
            EXPECT_EQ(widget->isEnabled(), c.enabled);
            EXPECT_EQ(widget->accessibleName(), q(c.accessibleName));
            EXPECT_EQ(widget->accessibleDescription(), q(c.accessibleDescription));
            if (!c.labels.empty()) {
                EXPECT_EQ(static_cast<QLabel *>(widget)->buddy(), control(c.labels));
            }
        }
        EXPECT_EQ(w->focusWidget(), control(d->firstFocus));

        // Tab visits the controls that take the focus in their tab order.
        std::vector<const Control *> tabOrder;
        for (const Control &c : d->controls) {
            if (qt::takesFocus(c.kind))
                tabOrder.push_back(&c);
        }
        std::stable_sort(tabOrder.begin(), tabOrder.end(),
                         [](const Control *a, const Control *b) { return a->tabIndex < b->tabIndex; });
        for (std::size_t i = 1; i < tabOrder.size(); ++i) {
            QWidget *next = control(tabOrder[i - 1]->name)->nextInFocusChain();
            while (!(next->focusPolicy() & Qt::TabFocus))
                next = next->nextInFocusChain();
            EXPECT_EQ(next->objectName(), q(tabOrder[i]->name));
        }

        // Each menu entry named, in its menu, with its caption, key and mark.
        std::vector<QObject *> menus{d->main ? static_cast<QMainWindow *>(w)->menuBar() : nullptr};
        for (const MenuItem &item : d->menu) {
            auto *entry = w->findChild<QObject *>(q(item.name));
            ASSERT_NE(entry, nullptr) << item.name;
            menus.resize(std::size_t(item.level) + 1);
            EXPECT_EQ(entry->parent(), menus.back()) << item.name;
            if (auto *a = qobject_cast<QAction *>(entry)) {
                EXPECT_EQ(a->isSeparator() ? QStringLiteral("-") : a->text(), q(item.caption));
                EXPECT_EQ(a->shortcut(), QKeySequence(q(item.shortcut)));
                EXPECT_EQ(a->isChecked(), item.checked) << item.name;
            } else {
                EXPECT_EQ(qobject_cast<QMenu *>(entry)->title(), q(item.caption));
                menus.push_back(entry);
            }
        }
    }
}

TEST_F(QtFrontEndTest, AClickAMenuItemOrAShortcutIsOneCommandAndNoneWhileTheWindowIsDisabled)
{
    open(MainWindow);
    const Commands buttons{"About", "EjectButton", "PlayButton", "QuitButton", "MPlayer", "Codec_Button"};
    for (const std::string &name : buttons)
        QTest::mouseClick(control(name), Qt::LeftButton);
    EXPECT_EQ(events.commands, buttons);

    events.commands.clear();
    action("ENGLISHLANGUAGE")->trigger();
    action("DUTCHLANGUAGE")->trigger();
    key("Movies", Qt::Key_O, Qt::ControlModifier);
    key("PlayButton", Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(events.commands, (Commands{"ENGLISHLANGUAGE", "DUTCHLANGUAGE", "OPENINIFILE", "SAVEFILE"}));
    EXPECT_TRUE(action("ENGLISHLANGUAGE")->isChecked()) << "the mark never moves";

    events.commands.clear();
    view->setWindowEnabled(false);
    QTest::mouseClick(control("PlayButton"), Qt::LeftButton);
    QTest::keyClick(window(), Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(control("PlayButton"), Qt::Key_Space);
    EXPECT_EQ(events.commands, Commands{});
}

TEST_F(QtFrontEndTest, EnterAndEscPressWhatEachWindowSays)
{
    struct Press {
        const Window *window;
        const char *focus;
        Qt::Key key;
        Commands expected;
    };
    const Press presses[] = {
        {&AboutWindow, "cmdOK", Qt::Key_Return, {"cmdOK"}},
        {&AboutWindow, "cmdOK", Qt::Key_Escape, {"cmdOK"}},
        {&SettingsWindow, "CloseCMD", Qt::Key_Enter, {"CloseCMD"}},
        {&InputBoxWindow, "Answer", Qt::Key_Return, {"OKButton"}},
        {&InputBoxWindow, "CancelButton", Qt::Key_Return, {"OKButton"}},
        {&InputBoxWindow, "Answer", Qt::Key_Escape, {"CancelButton"}},
        {&AddMovieWindow, "BrowseButton", Qt::Key_Return, {"BrowseButton"}},
        {&AddMovieWindow, "MovieName", Qt::Key_Return, {}},
        {&AddMovieWindow, "OKButton", Qt::Key_Escape, {}},
        {&RemoveMovieWindow, "RemoveMovieList", Qt::Key_Return, {}},
        {&RemoveMovieWindow, "RemoveButton", Qt::Key_Return, {"RemoveButton"}},
        {&RemoveMovieWindow, "RemoveMovieList", Qt::Key_Escape, {"CloseButton"}},
        {&MainWindow, "PlayButton", Qt::Key_Return, {}},
    };
    for (const Press &p : presses) {
        SCOPED_TRACE(std::string(p.window->name) + " " + p.focus + " key " + std::to_string(int(p.key)));
        events.commands.clear();
        open(*p.window);
        key(p.focus, p.key);
        EXPECT_EQ(events.commands, p.expected);
        EXPECT_TRUE(window()->isVisible()) << "only the handlers close a window";
        view->setWindowEnabled(false);
        key(p.focus, p.key);
        EXPECT_EQ(events.commands, p.expected) << "nothing more while the window is disabled";
    }
}

TEST_F(QtFrontEndTest, CloseTellsClosedOnceTheWindowIsOffTheScreenAndDeletesItAfterTheHandler)
{
    open(AddMovieWindow);
    QPointer<QWidget> widget = window();
    std::optional<bool> shownWhenTold;
    events.onClosed = [&] {
        shownWhenTold = widget->isVisible();
        view.reset();  // the handlers let the view go at once
    };
    events.onCommand = [&] {
        view->close();
        EXPECT_EQ(events.closes, 1);
        EXPECT_FALSE(widget.isNull()) << "deleted while its handler runs";
    };
    QTest::mouseClick(control("CancelButton"), Qt::LeftButton);
    EXPECT_EQ(shownWhenTold, std::optional<bool>(false));
    EXPECT_EQ(events.closeAsks, 0) << "a handler's close is not asked about";
    EXPECT_EVENTUALLY_TRUE(widget.isNull());
    EXPECT_EQ(events.closes, 1);
}

TEST_F(QtFrontEndTest, TheCloseBoxAsksWhetherTheWindowMayClose)
{
    open(RemoveMovieWindow);
    QPointer<QWidget> widget = window();
    events.allowClose = false;
    widget->windowHandle()->close();
    EXPECT_EQ(events.closeAsks, 1);
    EXPECT_TRUE(widget->isVisible());
    EXPECT_EQ(events.closes, 0);

    events.allowClose = true;
    widget->windowHandle()->close();
    EXPECT_EQ(events.closeAsks, 2);
    EXPECT_EQ(events.closes, 1);
    EXPECT_EVENTUALLY_TRUE(widget.isNull());
    view->close();  // a view whose window is gone does nothing
    EXPECT_EQ(events.closes, 1);
}

TEST_F(QtFrontEndTest, TheFocusComesBackWhenTheWindowIsActivatedAgain)
{
    open(MainWindow);
    EXPECT_GE(events.activations, 1);
    EXPECT_EQ(view->focused(), "Movies");
    view->setFocus("PlayButton");
    view->setWindowEnabled(false);
    EXPECT_EQ(view->focused(), "");
    view->setWindowEnabled(true);
    view->activate();
    EXPECT_EVENTUALLY_EQ(view->focused(), "PlayButton");
}

TEST_F(QtFrontEndTest, ListsAnswerTheLineChosenAndCaptionsShowAsWritten)
{
    open(RemoveMovieWindow);
    for (const char *title : {"Sunrise", "Harbour", "Night"})
        view->addItem("RemoveMovieList", title);
    EXPECT_EQ(view->itemCount("RemoveMovieList"), 3);
    EXPECT_EQ(view->itemText("RemoveMovieList", 2), "Night");
    EXPECT_EQ(view->currentIndex("RemoveMovieList"), -1) << "the focus rectangle on a line does not choose it";
    view->setCurrentIndex("RemoveMovieList", 1);
    EXPECT_EQ(view->currentIndex("RemoveMovieList"), 1);
    view->setCurrentIndex("RemoveMovieList", -1);
    EXPECT_EQ(view->currentIndex("RemoveMovieList"), -1);

    view->setCaption("Project [*] été");
    EXPECT_EQ(view->caption(), "Project [*] été");
    EXPECT_EQ(window()->windowHandle()->title(), QStringLiteral("Project [*] été")) << "shown as written";
}

TEST_F(QtFrontEndTest, TheInputBoxAnswersWhatWasTypedOrNothingAndDisablesItsOwnerMeanwhile)
{
    open(MainWindow);
    for (const Qt::Key k : {Qt::Key_Return, Qt::Key_Escape}) {
        QString shown;
        frontEnd.post([&] {
            EXPECT_FALSE(view->isWindowEnabled());
            QWidget *box = QApplication::activeModalWidget();
            ASSERT_NE(box, nullptr);
            shown = box->windowTitle() + ": " + box->findChild<QLabel *>("Prompt")->text();
            QTest::keyClicks(box->findChild<QLineEdit *>("Answer"), "Night");  // replaces the proposal
            QTest::keyClick(box->findChild<QLineEdit *>("Answer"), k);
        });
        const std::string answer = frontEnd.askText(view.get(), "Project title?", "Vidorun", "Holiday");
        EXPECT_EQ(answer, k == Qt::Key_Return ? "Night" : "");
        EXPECT_EQ(shown, QStringLiteral("Vidorun: Project title?"));
        EXPECT_TRUE(view->isWindowEnabled());
    }
}

TEST_F(QtFrontEndTest, AMessageBoxShowsPlainTextLinesAndAnswers)
{
    open(MainWindow);
    QString text;
    frontEnd.post([&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        text = box->text();
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(qt::messageBox(view.get(), "Save <b>this</b>?\r\nNow", "Vidorun", MsgStyle::Question), MsgAnswer::No);
    EXPECT_EQ(text, QStringLiteral("Save <b>this</b>?\nNow"));
}

TEST_F(QtFrontEndTest, APictureIsDecodedAtItsShownSizeAndHandedBackThroughPost)
{
    QTemporaryDir folder;
    QImage big(800, 1200, QImage::Format_RGB32);
    big.fill(Qt::darkBlue);
    ASSERT_TRUE(big.save(folder.filePath(QStringLiteral("cover.png"))));

    open(MainWindow);
    std::map<std::string, std::shared_ptr<const Picture>> handedBack;
    {
        qt::QtPictureLoader loader(frontEnd);
        for (const char *name : {"cover.png", "none.png"}) {
            loader.loadInBackground(folder.filePath(QLatin1String(name)).toStdString(), 209, 329,
                                    [&, name](std::shared_ptr<const Picture> picture) {
                                        EXPECT_EQ(QThread::currentThread(), qApp->thread());
                                        handedBack[name] = std::move(picture);
                                    });
        }
        EXPECT_EVENTUALLY_EQ(handedBack.size(), 2u);
    }
    EXPECT_EQ(handedBack["none.png"], nullptr);
    ASSERT_NE(handedBack["cover.png"], nullptr);
    // No larger than needed to cover the frame.
    EXPECT_EQ(static_cast<const qt::QtPicture &>(*handedBack["cover.png"]).image().size(), QSize(219, 329));
    view->setPicture("CoverPicture", handedBack["cover.png"]);
    EXPECT_FALSE(static_cast<QLabel *>(control("CoverPicture"))->pixmap().isNull());
}

}  // namespace
}  // namespace vidorun::testing
