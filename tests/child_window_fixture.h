#pragma once

// A real main window with its child windows, driven through their controls.
#include "support/main_window_fixture.h"

#include "windows/child_window.h"

#include <QApplication>
#include <QFont>
#include <QPushButton>
#include <QTest>
#include <QWidget>

#include <initializer_list>

namespace vidorun::testing {

// One control of a child window as designed: name and client-area pixels.
struct Placed {
    const char *name;
    int left, top, width, height;
};

class ChildWindowTest : public MainWindowTest {
protected:
    ChildWindow *child() const { return m_window->openChild(); }

    template <class Control>
    Control *childControl(const char *name) const
    {
        return child() ? child()->findChild<Control *>(QLatin1String(name)) : nullptr;
    }

    // Reads a project through File > Read, as the author would.
    void readProject(const QStringList &lines)
    {
        const QString file = QStringLiteral("projects/Autorun.inf");
        writeFile(file, projectFileBytes(lines));
        fake.dialogs.answers.push_back(path(file));
        trigger("OPENINIFILE");
        fake.dialogs.uses.clear();
    }

    void clickChild(const char *buttonName)
    {
        auto *b = childControl<QPushButton>(buttonName);
        ASSERT_NE(b, nullptr) << buttonName;
        QTest::mouseClick(b, Qt::LeftButton);
    }

    // Keys go to the child window as they would from the keyboard: to the
    // widget that has the focus in it.
    void pressOnChild(Qt::Key key)
    {
        ASSERT_NE(child(), nullptr);
        QWidget *target = child()->focusWidget() ? child()->focusWidget() : child();
        QTest::keyClick(target, key);
    }

    // The main window is usable again: enabled, and the active window.
    void expectMainWindowBack()
    {
        EXPECT_EQ(child(), nullptr);
        EXPECT_TRUE(window().isEnabled());
        EXPECT_TRUE(QTest::qWaitFor([this] { return window().isActiveWindow(); }, 2000))
            << "the main window did not get the focus back";
    }

    // The keyboard focus is on `control` once the window is up.
    void expectFocusOn(QWidget *control)
    {
        ASSERT_NE(control, nullptr);
        EXPECT_TRUE(QTest::qWaitFor([control] { return QApplication::focusWidget() == control; }, 2000))
            << "focus is on " << (QApplication::focusWidget() ? qPrintable(QApplication::focusWidget()->objectName()) : "nothing");
    }

    void expectLayout(const QString &caption, QSize client, std::initializer_list<Placed> controls)
    {
        ASSERT_NE(child(), nullptr);
        EXPECT_EQ(child()->windowTitle(), caption);
        EXPECT_EQ(child()->size(), client);
        EXPECT_EQ(child()->minimumSize(), client) << "the window is not resizable";
        EXPECT_EQ(child()->maximumSize(), client) << "the window is not resizable";
        EXPECT_EQ(child()->font().family(), QStringLiteral("MS Sans Serif"));
        EXPECT_DOUBLE_EQ(child()->font().pointSizeF(), 8.25);
        for (const Placed &c : controls) {
            auto *control = child()->findChild<QWidget *>(QLatin1String(c.name));
            ASSERT_NE(control, nullptr) << c.name;
            EXPECT_EQ(control->geometry(), QRect(c.left, c.top, c.width, c.height)) << c.name;
        }
    }
};

}  // namespace vidorun::testing
