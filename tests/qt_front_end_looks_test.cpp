// Each window realised by the Qt front end looks exactly as the hand-built
// window of the same name: both are drawn offscreen with the same fonts, in
// the same state, and compared pixel by pixel, the main window's menus too.
// VIDORUN_LOOKS_DIR names a folder to keep the pictures of a difference in.
#include "support/main_window_fixture.h"
#include "ui/descriptions.h"
#include "ui/qt/qt_front_end.h"
#include "ui/qt/qt_pictures.h"
#include "windows/about_form.h"
#include "windows/add_movie_form.h"
#include "windows/options_form.h"
#include "windows/remove_movie_form.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>

namespace vidorun::testing {
namespace {

using namespace vidorun::ui;

class NoEvents final : public WindowEvents {
public:
    void command(std::string_view) override {}
};

// Puts each control of `view` in the state of the control of the same name
// in `old`: its text, lines, picture, shown and enabled or not.
void takeState(const QWidget &old, WindowView &view, const Window &description)
{
    view.setCaption(old.windowTitle().toStdString());
    for (const Control &c : description.controls) {
        const std::string name(c.name);
        auto *widget = old.findChild<QWidget *>(QString::fromStdString(name));
        ASSERT_NE(widget, nullptr) << name;
        auto *label = qobject_cast<QLabel *>(widget);
        if (c.kind == ControlKind::Picture && c.picture == BuiltInPicture::None && !label->pixmap().isNull())
            view.setPicture(name, std::make_shared<qt::QtPicture>(label->pixmap().toImage()));
        else if (c.kind == ControlKind::Label)
            view.setText(name, label->text().toStdString());
        else if (auto *box = qobject_cast<QLineEdit *>(widget))
            view.setText(name, box->text().toStdString());
        if (auto *combo = qobject_cast<QComboBox *>(widget)) {
            for (int i = 0; i < combo->count(); ++i)
                view.addItem(name, combo->itemText(i).toStdString());
            view.setCurrentIndex(name, combo->currentIndex());
        } else if (auto *list = qobject_cast<QListWidget *>(widget)) {
            for (int i = 0; i < list->count(); ++i)
                view.addItem(name, list->item(i)->text().toStdString());
        }
        view.setVisible(name, !widget->isHidden());
        view.setEnabled(name, widget->isEnabledTo(widget->window()));
    }
}

// The window or menu as the user sees it: shown, active, settled.
QImage picture(QWidget *widget)
{
    if (auto *menu = qobject_cast<QMenu *>(widget)) {
        menu->popup(QPoint(100, 100));
    } else {
        widget->show();
        widget->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(widget)) << widget->objectName().toStdString();
    }
    QTest::qWait(20);
    const QImage image = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    widget->hide();
    return image;
}

void expectSamePicture(QWidget *old, QWidget *now)
{
    const QImage before = picture(old), after = picture(now);
    const QString name = old->objectName();
    if (const QByteArray folder = qgetenv("VIDORUN_LOOKS_DIR"); !folder.isEmpty()) {
        before.save(QDir(QString::fromLocal8Bit(folder)).filePath(name + QStringLiteral("-old.png")));
        after.save(QDir(QString::fromLocal8Bit(folder)).filePath(name + QStringLiteral("-new.png")));
    }
    ASSERT_EQ(before.size(), after.size()) << name.toStdString();
    QRect differing;
    for (int y = 0; y < before.height(); ++y) {
        for (int x = 0; x < before.width(); ++x) {
            if (before.pixel(x, y) != after.pixel(x, y))
                differing |= QRect(x, y, 1, 1);
        }
    }
    EXPECT_TRUE(differing.isNull()) << name.toStdString() << " differs within (" << differing.x() << ", "
                                    << differing.y() << ") " << differing.width() << "x" << differing.height();
}

class Looks : public MainWindowTest {
protected:
    // The main window on the demo disc (its movies listed, its cover
    // shown) or on an empty folder (the placeholder in the cover frame).
    void startOnTheDemoDisc(bool demo)
    {
        const QDir disc(QStringLiteral(VIDORUN_DEMO_DIR));
        for (const QString &name : demo ? disc.entryList(QDir::Files) : QStringList())
            ASSERT_TRUE(QFile::copy(disc.filePath(name), path(name)));
        start();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
        ASSERT_EQ(listedTitles().size(), demo ? 3 : 0);
    }

    void compare(QWidget *old, const Window &description)
    {
        std::unique_ptr<WindowView> view = frontEnd.realise(description, events);
        takeState(*old, *view, description);
        QWidget *now = qt::windowWidget(*view);
        expectSamePicture(old, now);
        // What a picture of the client area does not show.
        EXPECT_EQ(now->windowFlags(), old->windowFlags());
        EXPECT_EQ(now->minimumSize(), old->minimumSize());
        EXPECT_EQ(now->maximumSize(), old->maximumSize());
        EXPECT_EQ(now->windowIcon().pixmap(32).toImage(), old->windowIcon().pixmap(32).toImage());
        for (QMenu *menu : old->findChildren<QMenu *>()) {
            if (!menu->objectName().isEmpty())  // not the menu bar's own overflow menu
                expectSamePicture(menu, now->findChild<QMenu *>(menu->objectName()));
        }
    }

    qt::QtFrontEnd frontEnd;
    NoEvents events;
};

TEST_F(Looks, MainWindow)
{
    for (const bool demo : {false, true}) {
        SCOPED_TRACE(demo ? "the demo disc" : "no project");
        startOnTheDemoDisc(demo);
        movies()->setCurrentIndex(demo ? 1 : -1);
        compare(&window(), MainWindow);
    }
}

TEST_F(Looks, ChildWindows)
{
    startOnTheDemoDisc(true);
    AddMovieForm add(window());
    compare(&add, AddMovieWindow);
    RemoveMovieForm remove(window());
    for (const QString &title : listedTitles())
        remove.addTitle(title);
    compare(&remove, RemoveMovieWindow);
    OptionsForm settings(window());
    settings.fill(settingsSnapshot(project()));
    compare(&settings, SettingsWindow);
    frmAbout about(window());
    compare(&about, AboutWindow);
}

}  // namespace
}  // namespace vidorun::testing
