#pragma once

// The real main window, realised by the front end the tests are built with,
// on fake platform services, started in the test's own folder; and its
// child windows, driven as a user drives them (support/window_driver.h).
#include "app/vidorun_main.h"
#include "support/fake_platform.h"
#include "support/temporary_folder.h"
#include "support/window_driver.h"
#include "windows/child_window.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vidorun::testing {

class MainWindowTest : public FolderTest {
protected:
    void TearDown() override;

    // Starts the program: the window loads (and reads ./Autorun.inf if the
    // test wrote one), is shown and becomes the active window.
    VidorunMain &start();
    // The same on other services: the fakes' with a real one put in.
    VidorunMain &start(const Platform &platform);

    VidorunMain &window() { return *m_window; }
    const Project &project() const { return m_window->project(); }
    // The main window as its handlers see it: texts, lists, what is shown.
    ui::WindowView &view() { return m_window->view(); }
    std::vector<std::string> listedTitles();

    // What a user does to the main window.
    void click(std::string_view button) { ui.click(view(), button); }
    void trigger(std::string_view menuItem) { ui.choose(view(), menuItem); }
    void press(Key key) { ui.press(view(), key); }
    // Makes the main window the active window, as a user's click would.
    void activate() { ui.activate(view()); }

    // The child window open now, if any, and what a user does to it.
    ChildWindow *child() const { return m_window ? m_window->openChild() : nullptr; }
    ui::WindowView &childView();
    void clickChild(std::string_view button) { ui.click(childView(), button); }
    void pressOnChild(Key key) { ui.press(childView(), key); }
    void typeInChild(std::string_view textBox, std::string_view text) { ui.type(childView(), textBox, text); }
    void selectInChild(std::string_view list, int index) { ui.select(childView(), list, index); }

    // Reads a project through File > Read, as the author would.
    void readProject(const std::vector<std::string> &lines);

    WindowDriver &ui = WindowDriver::instance();
    FakePlatform fake{ui.pictureLoader()};
    std::unique_ptr<VidorunMain> m_window;
};

}  // namespace vidorun::testing
