// The Qt front end: each window as its description says, and what it tells
// the window's handlers; and its picture loading.
#include "support/process_memory.h"
#include "support/temporary_folder.h"
#include "support/window_driver.h"
#include "ui/descriptions.h"
#include "ui/qt/qt_controls.h"
#include "ui/qt/qt_front_end.h"
#include "ui/qt/qt_pictures.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QWindow>

#include <algorithm>
#include <cstdio>
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

    // Realises `description`, shows it and waits until it is active. Every
    // window opens in the middle of the screen: the main window as the
    // front end places it, a child window as Qt places one without an owner.
    void open(const Window &description)
    {
        view = frontEnd.realise(description, events);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
        const QPoint offCentre = window()->frameGeometry().center() - window()->screen()->availableGeometry().center();
        // Where there is no window manager, Qt still allows for a frame it guesses.
        EXPECT_LE(offCentre.manhattanLength(), 60) << "not centred on the screen";
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
        EXPECT_EQ(w->windowFlags().testFlag(Qt::Tool), !d->main) << "a child window has no taskbar entry";
        EXPECT_EQ(w->parentWidget(), nullptr) << "no window has an owner";
        EXPECT_FALSE(w->isModal());
        EXPECT_FALSE(w->windowFlags() & Qt::WindowMaximizeButtonHint);
        EXPECT_EQ(bool(w->windowFlags() & Qt::WindowMinimizeButtonHint), d->main);
        EXPECT_TRUE(w->windowFlags() & Qt::WindowCloseButtonHint);
        QWidget *client = d->main ? static_cast<QMainWindow *>(w)->centralWidget() : w;
        EXPECT_EQ(client->size(), QSize(d->clientWidth, d->clientHeight));
        EXPECT_EQ(client->minimumSize(), client->maximumSize()) << "never resized";
        if (!d->main) {
            EXPECT_EQ(w->minimumSize(), w->maximumSize()) << "a fixed border";
        }
        if (d->main) {
            // Shown, it has a fixed border, with the client area below the menu bar.
            view->show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(w));
            EXPECT_EQ(w->minimumSize(), w->maximumSize()) << "a fixed border";
            EXPECT_EQ(w->size(), w->minimumSize());
            EXPECT_EQ(client->pos().y(), static_cast<QMainWindow *>(w)->menuBar()->height());
            // The program's icon, 32 × 32 in at most 256 colours.
            EXPECT_TRUE(w->windowIcon().availableSizes().contains(QSize(32, 32)));
            const QImage icon(QStringLiteral(":/vidorun/vidorun.png"));
            EXPECT_EQ(icon.size(), QSize(32, 32));
            EXPECT_EQ(icon.format(), QImage::Format_Indexed8);
            EXPECT_LE(icon.colorCount(), 256);
        }
        for (const Control &c : d->controls) {
            SCOPED_TRACE(std::string(c.name));
            QWidget *widget = control(c.name);
            ASSERT_NE(widget, nullptr);
            EXPECT_EQ(w->findChild<QWidget *>(q(c.name)), widget);
            // A label that grows with its text covers at least its designed place.
            const QRect designed(c.left, c.top, c.width, c.height);
            if (c.growsWithText) {
                EXPECT_TRUE(widget->geometry().contains(designed)) << widget->geometry().width();
            } else {
                EXPECT_EQ(widget->geometry(), designed);
            }
            const QFont font = qt::toQFont(c.font.face.empty() ? d->font : c.font);
            EXPECT_EQ(described(widget->font()), described(font));
            // The designed fonts don't exist here; the substitutes must be
            // the ones that were measured to fit.
            EXPECT_EQ(QFontInfo(widget->font()).family(),
                      font.family() == QLatin1String("Courier") ? QLatin1String("Liberation Mono")
                                                                : QLatin1String("Liberation Sans"));
            EXPECT_EQ(widget->isHidden(), !c.visible);
            EXPECT_EQ(widget->isEnabled(), c.enabled);
            EXPECT_EQ(widget->accessibleName(), q(c.accessibleName));
            EXPECT_EQ(widget->accessibleDescription(), q(c.accessibleDescription));
            if (!c.labels.empty()) {
                EXPECT_EQ(static_cast<QLabel *>(widget)->buddy(), control(c.labels));
            }
            if (auto *label = qobject_cast<QLabel *>(widget); label && c.kind == ControlKind::Label) {
                const Qt::Alignment horizontal = c.align == Align::Right    ? Qt::AlignRight
                                                 : c.align == Align::Centre ? Qt::AlignHCenter
                                                                            : Qt::AlignLeft;
                EXPECT_TRUE(label->alignment() & horizontal);
                EXPECT_EQ(label->wordWrap(), c.wordWrap);
                EXPECT_EQ(label->textInteractionFlags(), Qt::NoTextInteraction) << "an address is shown, not opened";
                EXPECT_FALSE(label->openExternalLinks());
                if (c.textColour) {
                    EXPECT_EQ(label->palette().color(QPalette::WindowText),
                              QColor(c.textColour->red, c.textColour->green, c.textColour->blue));
                }
                // A label that does not grow keeps its size whatever it is given.
                if (!c.growsWithText) {
                    const QRect before = widget->geometry();
                    view->setText(c.name, std::string(300, 'x'));
                    EXPECT_EQ(widget->geometry(), before);
                    view->setText(c.name, c.caption);
                }
            }
            if (c.kind == ControlKind::Line && c.textColour) {
                EXPECT_EQ(widget->palette().color(QPalette::Window),
                          QColor(c.textColour->red, c.textColour->green, c.textColour->blue));
            }
            if (c.kind == ControlKind::Picture) {
                auto *frame = static_cast<QLabel *>(widget);
                EXPECT_EQ(frame->hasScaledContents(), c.scaled);
                EXPECT_EQ(frame->frameShape(), c.border ? QFrame::Box : QFrame::NoFrame);
                if (c.border) {
                    EXPECT_EQ(frame->lineWidth(), 1);
                }
            }
            if (auto *combo = qobject_cast<QComboBox *>(widget)) {
                EXPECT_FALSE(combo->isEditable()) << "the list takes no typing";
            }
            if (auto *list = qobject_cast<QListWidget *>(widget)) {
                EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
            }
            if (auto *button = qobject_cast<QPushButton *>(widget)) {
                EXPECT_EQ(button->isDefault(), d->enter == EnterKey::PressesDefault && c.name == d->defaultButton);
            }
        }
        EXPECT_EQ(w->focusWidget(), control(d->firstFocus));

        if (d->main) {
            // The placeholder lies over the middle of the cover frame, not
            // hidden under it, on two centred lines.
            auto *text = static_cast<QLabel *>(control("NoPictureText"));
            EXPECT_EQ(text->parentWidget()->childAt(text->geometry().center()), text) << "hidden under the cover frame";
            const QFontMetrics metrics(text->font());
            const QRect wrapped = metrics.boundingRect(QRect(0, 0, text->width(), 1000),
                                                       Qt::TextWordWrap | Qt::AlignHCenter, text->text());
            EXPECT_GT(wrapped.height(), metrics.height()) << "one line only";
            EXPECT_LT(wrapped.height(), 3 * metrics.lineSpacing()) << "more than two lines";
            // The codec logo is shown unscaled, at its own size.
            EXPECT_EQ(static_cast<QLabel *>(control("CodecLogo"))->pixmap().size(), QSize(72, 56));
        }

        // Tab visits the controls that take the focus in their tab order.
        std::vector<const Control *> tabOrder;
        for (const Control &c : d->controls) {
            if (ui::takesFocus(c.kind))
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

// --- picture loading ----------------------------------------------------------

void writePhoto(const std::string &path, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    ASSERT_TRUE(image.save(QString::fromStdString(path), "JPG"));
}

QSize sizeOf(const std::shared_ptr<const Picture> &picture)
{
    const auto *shown = dynamic_cast<const qt::QtPicture *>(picture.get());
    return shown ? shown->image().size() : QSize();
}

// The cover frame's size.
const QSize CoverFrame(209, 329);

// The Qt front end's picture loader, which decodes away from the windows.
class QtPictureLoading : public FolderTest {
protected:
    void TearDown() override
    {
        QTest::qWait(0);  // the deferred deletes
        FolderTest::TearDown();
    }

    std::shared_ptr<const Picture> load(const std::string &name)
    {
        return qt::loadPicture(path(name), CoverFrame.width(), CoverFrame.height());
    }

    qt::QtFrontEnd frontEnd;
    Recorder events;
};

TEST_F(QtPictureLoading, ALargePhotoIsDecodedAtTheSizeOfItsFrame)
{
    writePhoto(path("big.jpg"), 1200, 1600);
    // Kept in proportion, just covering the frame.
    EXPECT_EQ(sizeOf(load("big.jpg")), QSize(246, 329));
    writePhoto(path("small.jpg"), 40, 60);
    EXPECT_EQ(sizeOf(load("small.jpg")), QSize(40, 60));
}

TEST_F(QtPictureLoading, InTheBackgroundThePictureArrivesOnTheReceiversThread)
{
    writePhoto(path("big.jpg"), 1200, 1600);
    qt::QtPictureLoader loader(frontEnd);
    std::optional<QSize> arrived;
    QThread *arrivedOn = nullptr;
    loader.loadInBackground(path("big.jpg"), CoverFrame.width(), CoverFrame.height(),
                            [&](std::shared_ptr<const Picture> picture) {
                                arrived = sizeOf(picture);
                                arrivedOn = QThread::currentThread();
                            });
    EXPECT_FALSE(arrived);  // not while the caller waits
    EXPECT_TRUE(QTest::qWaitFor([&] { return arrived.has_value(); }, 5000));
    EXPECT_EQ(arrived, std::optional<QSize>(QSize(246, 329)));
    EXPECT_EQ(arrivedOn, qApp->thread());
}

TEST_F(QtPictureLoading, AWindowNotShownYetGetsItsPictureAfterItsFirstFrame)
{
    writePhoto(path("big.jpg"), 1200, 1600);
    const std::unique_ptr<WindowView> window = frontEnd.realise(MainWindow, events);
    bool painted = false;
    std::optional<QSize> arrived;
    qt::QtPictureLoader loader(frontEnd);
    loader.loadInBackground(
        path("big.jpg"), CoverFrame.width(), CoverFrame.height(),
        [&](std::shared_ptr<const Picture> picture) {
            arrived = sizeOf(picture);
            EXPECT_TRUE(painted);
        },
        window.get());
    QTest::qWait(100);
    EXPECT_FALSE(arrived);  // nothing is decoded for a window that is not up
    struct PaintSeen : QObject {
        bool &seen;
        explicit PaintSeen(bool &s) : seen(s) {}
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::Paint)
                seen = true;
            return false;
        }
    } paintSeen(painted);
    qt::windowWidget(*window)->installEventFilter(&paintSeen);
    window->show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return arrived.has_value(); }, 5000));
    EXPECT_EQ(arrived, std::optional<QSize>(QSize(246, 329)));
    qt::windowWidget(*window)->removeEventFilter(&paintSeen);
}

TEST_F(QtPictureLoading, AWindowGoneBeforeItsFirstFrameGetsNothing)
{
    writePhoto(path("big.jpg"), 1200, 1600);
    bool arrived = false;
    qt::QtPictureLoader loader(frontEnd);
    {
        const std::unique_ptr<WindowView> window = frontEnd.realise(MainWindow, events);
        loader.loadInBackground(
            path("big.jpg"), CoverFrame.width(), CoverFrame.height(),
            [&](std::shared_ptr<const Picture>) { arrived = true; }, window.get());
    }
    QTest::qWait(100);
    EXPECT_FALSE(arrived);
}

TEST_F(QtPictureLoading, InTheBackgroundAFileThatIsNoPictureGivesANullPicture)
{
    writeFile("text.jpg", "just text");
    qt::QtPictureLoader loader(frontEnd);
    bool arrived = false;
    std::shared_ptr<const Picture> picture = std::make_shared<qt::QtPicture>(QImage());
    loader.loadInBackground(path("text.jpg"), CoverFrame.width(), CoverFrame.height(),
                            [&](std::shared_ptr<const Picture> p) {
                                arrived = true;
                                picture = std::move(p);
                            });
    EXPECT_TRUE(QTest::qWaitFor([&] { return arrived; }, 5000));
    EXPECT_EQ(picture, nullptr);
}

TEST_F(QtPictureLoading, AReceiverGoneBeforeThePictureIsDecodedGetsNothing)
{
    writePhoto(path("big.jpg"), 1200, 1600);
    bool arrived = false;
    {
        qt::QtPictureLoader loader(frontEnd);
        loader.loadInBackground(path("big.jpg"), CoverFrame.width(), CoverFrame.height(),
                                [&](std::shared_ptr<const Picture>) { arrived = true; });
    }  // the loader waits for its decoding to end, and drops what it did not hand back
    QCoreApplication::processEvents();
    QTest::qWait(20);
    EXPECT_FALSE(arrived);
}

// What decoding a cover from an untrusted disc may cost: no header can
// make the front end decode more than the frame needs.
constexpr std::int64_t AllowedGrowthKb = 8 * 1024;

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 80);
    return bytes;
}

// A JPEG with some detail in it, so that it has scan data worth cutting.
QByteArray jpeg(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgb(x * 7 % 256, y * 3 % 256, (x ^ y) % 256);
    }
    return encoded(image, "JPG");
}

// The same JPEG with a header that claims another size.
QByteArray announcing(QByteArray jpegBytes, int width, int height)
{
    for (qsizetype i = 2; i + 9 < jpegBytes.size(); ++i) {
        const auto marker = quint8(jpegBytes[i + 1]);
        if (quint8(jpegBytes[i]) == 0xFF && marker >= 0xC0 && marker <= 0xC2) {
            // marker, length (2), precision (1), height (2), width (2)
            jpegBytes[i + 5] = char(height >> 8);
            jpegBytes[i + 6] = char(height & 0xFF);
            jpegBytes[i + 7] = char(width >> 8);
            jpegBytes[i + 8] = char(width & 0xFF);
            return jpegBytes;
        }
    }
    ADD_FAILURE() << "no frame header in the JPEG";
    return jpegBytes;
}

class QtCoverPicture : public QtPictureLoading {
protected:
    void write(const std::string &name, const QByteArray &bytes)
    {
        writeFile(name, std::string_view(bytes.constData(), std::size_t(bytes.size())));
    }
    // Loads through the real loader, measuring how far the process's peak
    // memory grows meanwhile.
    QSize loadMeasured(const std::string &name, std::int64_t &growthKb)
    {
        QSize size;
        growthKb = ProcessMemory::peakGrowthKb([&] { size = sizeOf(load(name)); });
        return size;
    }
};

TEST_F(QtCoverPicture, APhotoIsDecodedAtTheFramesSize)
{
    write("PHOTO.JPG", jpeg(2400, 1800));
    std::int64_t growthKb = 0;
    const QSize size = loadMeasured("PHOTO.JPG", growthKb);
    ASSERT_FALSE(size.isEmpty());
    // Filling the frame takes 439 × 329; the whole photo would be 17 MB.
    EXPECT_GE(size.height(), CoverFrame.height());
    EXPECT_LE(size.width(), 450);
    if (!SanitizerBuild && growthKb >= 0) {
        EXPECT_LT(growthKb, AllowedGrowthKb);
    }
}

TEST_F(QtCoverPicture, ALongThinPictureIsNotScaledUpAlongItsShortSide)
{
    write("STRIP.JPG", jpeg(8, 6000));
    EXPECT_EQ(sizeOf(load("STRIP.JPG")), QSize(8, 6000));
}

// How each hostile cover ends: shown (as far as it could be decoded), or
// refused so that the placeholder stays; never more than a few MB decoded.
TEST_F(QtCoverPicture, HostileCoversAreShownOrRefusedWithinAFewMegabytes)
{
    const QByteArray photo = jpeg(640, 480);
    QImage pngImage(300, 200, QImage::Format_RGB32);
    pngImage.fill(Qt::darkGreen);
    struct Case {
        const char *name;
        QByteArray bytes;
        QSize shown;  // empty: refused
    };
    const Case cases[] = {
        {"an empty file", QByteArray(), QSize()},
        {"a JPEG cut inside its header", photo.left(100), QSize()},
        {"a JPEG cut halfway, shown with its lower part grey", photo.left(photo.size() / 2),
         QSize(640, 480).scaled(CoverFrame, Qt::KeepAspectRatioByExpanding)},
        {"a header announcing 60000 x 60000 pixels", announcing(photo, 60000, 60000), QSize()},
        {"a header announcing 12001 x 12000 pixels, just over the limit", announcing(photo, 12001, 12000), QSize()},
        {"a PNG named .JPG", encoded(pngImage, "PNG"), QSize(300, 200)},
        {"text named .JPG", QByteArray("[autorun]\r\nOPEN=Vidorun.exe\r\n"), QSize()},
        {"NUL bytes named .JPG", QByteArray(4096, '\0'), QSize()},
        {"a JPEG start followed by junk", QByteArray("\xFF\xD8\xFF\xE0") + QByteArray(5000, '\xFF'), QSize()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        write("COVER.JPG", c.bytes);
        std::int64_t growthKb = 0;
        const QSize size = loadMeasured("COVER.JPG", growthKb);
        std::printf("[ figures  ] cover, %s: %s, peak grew by %lld kB\n", c.name,
                    size.isEmpty() ? "refused" : "shown", static_cast<long long>(growthKb));
        EXPECT_EQ(size, c.shown);
        if (!SanitizerBuild && growthKb >= 0) {
            EXPECT_LT(growthKb, AllowedGrowthKb);
        }
    }
}

}  // namespace
}  // namespace vidorun::testing
