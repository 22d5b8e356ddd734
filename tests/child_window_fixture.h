#pragma once

// A real main window with its child windows, driven through their controls
// as a user drives them.
#include "support/main_window_fixture.h"

#include "ui/window_description.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace vidorun::testing {

// One control of a child window as designed: name and client-area pixels.
struct Placed {
    const char *name;
    int left, top, width, height;
};

class ChildWindowTest : public MainWindowTest {
protected:
    // The child window open now is the one of this name.
    void expectOpen(std::string_view name)
    {
        ASSERT_NE(child(), nullptr) << "no " << name << " window";
        ASSERT_EQ(child()->description().name, name);
        EXPECT_TRUE(ui.isShown(childView()));
    }

    // The main window is usable again: enabled, and the active window.
    void expectMainWindowBack()
    {
        EXPECT_EQ(child(), nullptr);
        EXPECT_TRUE(view().isWindowEnabled());
        EXPECT_TRUE(ui.waitFor([this] { return ui.isActive(view()); }))
            << "the main window did not get the focus back";
    }

    // The keyboard focus is on `control` once the child window is up.
    void expectFocusOn(std::string_view control)
    {
        ASSERT_NE(child(), nullptr);
        EXPECT_EVENTUALLY_EQ(childView().focused(), std::string(control));
    }

    // Tab takes the focus from the control that has it through `controls`, in turn.
    void expectTabVisits(std::initializer_list<const char *> controls)
    {
        for (const char *control : controls) {
            pressOnChild(Key::Tab);
            EXPECT_EVENTUALLY_EQ(childView().focused(), std::string(control));
        }
    }

    // The open child window as designed: caption, client size, font and
    // each control's place; the front end builds each window as its
    // description says (qt_front_end_test.cpp).
    void expectLayout(const std::string &caption, int clientWidth, int clientHeight,
                      std::initializer_list<Placed> controls)
    {
        ASSERT_NE(child(), nullptr);
        const ui::Window &d = child()->description();
        EXPECT_EQ(childView().caption(), caption);
        EXPECT_EQ(d.clientWidth, clientWidth);
        EXPECT_EQ(d.clientHeight, clientHeight);
        EXPECT_EQ(d.font.face, "MS Sans Serif");
        EXPECT_DOUBLE_EQ(d.font.points, 8.25);
        for (const Placed &c : controls) {
            const ui::Control *control = d.control(c.name);
            ASSERT_NE(control, nullptr) << c.name;
            EXPECT_EQ((std::vector<int>{control->left, control->top, control->width, control->height}),
                      (std::vector<int>{c.left, c.top, c.width, c.height}))
                << c.name;
        }
    }
};

}  // namespace vidorun::testing
