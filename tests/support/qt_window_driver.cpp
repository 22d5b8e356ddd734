// The test driver of the Qt front end: Qt Test's mouse and key events on
// the real widgets, headless.
#include "support/window_driver.h"

#include "support/caption_fit.h"
#include "ui/qt/qt_front_end.h"
#include "ui/qt/qt_pictures.h"
#include "ui/qt/qt_services.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

namespace vidorun::testing {

namespace {

class QtWindowDriver final : public WindowDriver {
public:
    QtWindowDriver() : m_pictures(m_frontEnd) {}

    ui::FrontEnd &frontEnd() override { return m_frontEnd; }
    PictureLoader &pictureLoader() override { return m_pictures; }

    void click(ui::WindowView &window, std::string_view button) override
    {
        auto *pushButton = qobject_cast<QPushButton *>(ui::qt::controlWidget(window, button));
        ASSERT_NE(pushButton, nullptr) << button;
        QTest::mouseClick(pushButton, Qt::LeftButton);
    }

    void choose(ui::WindowView &window, std::string_view item) override
    {
        QWidget *top = ui::qt::windowWidget(window);
        ASSERT_NE(top, nullptr);
        auto *action = top->findChild<QAction *>(QString::fromUtf8(item.data(), qsizetype(item.size())));
        ASSERT_NE(action, nullptr) << item;
        // As the menu does: nothing while the window takes no input.
        if (top->isEnabled())
            action->trigger();
    }

    void press(ui::WindowView &window, Key key) override
    {
        QWidget *top = ui::qt::windowWidget(window);
        ASSERT_NE(top, nullptr);
        QWidget *target = top->focusWidget() ? top->focusWidget() : top;
        switch (key) {
        case Key::Enter:
            QTest::keyClick(target, Qt::Key_Return);
            break;
        case Key::Escape:
            QTest::keyClick(target, Qt::Key_Escape);
            break;
        case Key::Tab:
            QTest::keyClick(target, Qt::Key_Tab);
            break;
        case Key::ShiftTab:
            QTest::keyClick(target, Qt::Key_Backtab, Qt::ShiftModifier);
            break;
        case Key::Down:
            QTest::keyClick(target, Qt::Key_Down);
            break;
        case Key::CtrlO:
            QTest::keyClick(target, Qt::Key_O, Qt::ControlModifier);
            break;
        case Key::CtrlS:
            QTest::keyClick(target, Qt::Key_S, Qt::ControlModifier);
            break;
        case Key::CtrlX:
            QTest::keyClick(target, Qt::Key_X, Qt::ControlModifier);
            break;
        case Key::AltC:
            QTest::keyClick(target, Qt::Key_C, Qt::AltModifier);
            break;
        case Key::AltF4:
            top->close();
            break;
        }
    }

    void type(ui::WindowView &window, std::string_view textBox, std::string_view text) override
    {
        auto *box = qobject_cast<QLineEdit *>(ui::qt::controlWidget(window, textBox));
        ASSERT_NE(box, nullptr) << textBox;
        box->setFocus();
        QTest::keyClicks(box, QString::fromUtf8(text.data(), qsizetype(text.size())));
    }

    void select(ui::WindowView &window, std::string_view list, int index) override
    {
        QWidget *control = ui::qt::controlWidget(window, list);
        if (auto *combo = qobject_cast<QComboBox *>(control)) {
            combo->setCurrentIndex(index);
        } else if (auto *listWidget = qobject_cast<QListWidget *>(control)) {
            QListWidgetItem *item = listWidget->item(index);
            ASSERT_NE(item, nullptr) << list << " " << index;
            QTest::mouseClick(listWidget->viewport(), Qt::LeftButton, Qt::NoModifier,
                              listWidget->visualItemRect(item).center());
        } else {
            FAIL() << list << " is no list";
        }
    }

    void closeBox(ui::WindowView &window) override
    {
        if (QWidget *top = ui::qt::windowWidget(window))
            top->close();
    }

    void activate(ui::WindowView &window) override
    {
        QWidget *top = ui::qt::windowWidget(window);
        ASSERT_NE(top, nullptr);
        top->activateWindow();
        QApplication::setActiveWindow(top);
        EXPECT_TRUE(QTest::qWaitForWindowActive(top));
    }

    bool isChecked(const ui::WindowView &window, std::string_view menuItem) override
    {
        const QWidget *top = ui::qt::windowWidget(window);
        const auto *action =
            top ? top->findChild<QAction *>(QString::fromUtf8(menuItem.data(), qsizetype(menuItem.size()))) : nullptr;
        return action && action->isChecked();
    }

    bool isShown(const ui::WindowView &window) override
    {
        const QWidget *top = ui::qt::windowWidget(window);
        return top && top->isVisible();
    }

    bool isActive(const ui::WindowView &window) override
    {
        const QWidget *top = ui::qt::windowWidget(window);
        return top && top->isActiveWindow();
    }

    bool showsPicture(const ui::WindowView &window, std::string_view frame) override
    {
        const auto *label = qobject_cast<const QLabel *>(ui::qt::controlWidget(window, frame));
        return label && !label->pixmap().isNull();
    }

    PictureSize shownPictureSize(const ui::WindowView &window, std::string_view frame) override
    {
        const auto *label = qobject_cast<const QLabel *>(ui::qt::controlWidget(window, frame));
        if (!label || label->pixmap().isNull())
            return {};
        return {label->pixmap().width(), label->pixmap().height()};
    }

    std::vector<std::string> clippedCaptions(const ui::WindowView &window) override
    {
        return testing::clippedCaptions(ui::qt::windowWidget(window));
    }

    void settle() override
    {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    bool waitFor(const std::function<bool()> &condition) override { return QTest::qWaitFor(condition, 5000); }

    bool programEndsAfter(const std::function<void()> &action) override
    {
        // The program's main runs QApplication::exec(), which ends with the
        // last window closed.
        QTimer doIt;
        doIt.setSingleShot(true);
        QObject::connect(&doIt, &QTimer::timeout, action);
        doIt.start(0);
        QTimer giveUp;
        giveUp.setSingleShot(true);
        QObject::connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        giveUp.start(5000);
        return QApplication::exec() == 0;
    }

private:
    ui::qt::QtFrontEnd m_frontEnd;
    ui::qt::QtPictureService m_pictures;
};

}  // namespace

std::unique_ptr<WindowDriver> makeWindowDriver()
{
    return std::make_unique<QtWindowDriver>();
}

}  // namespace vidorun::testing
