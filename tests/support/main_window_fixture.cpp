#include "support/main_window_fixture.h"

namespace vidorun::testing {

void MainWindowTest::TearDown()
{
    m_window.reset();
    // What the windows left to do once closed (their deletion) is done now.
    ui.settle();
    FolderTest::TearDown();
}

VidorunMain &MainWindowTest::start()
{
    return start(fake.platform());
}

VidorunMain &MainWindowTest::start(const Platform &platform)
{
    // The window before goes first, as a program has one main window.
    m_window.reset();
    ui.startAnew();
    m_window = std::make_unique<VidorunMain>(platform, ui.frontEnd());
    m_window->show();
    ui.activate(view());
    return *m_window;
}

std::vector<std::string> MainWindowTest::listedTitles()
{
    std::vector<std::string> titles;
    for (int i = 0; i < view().itemCount("Movies"); ++i)
        titles.push_back(view().itemText("Movies", i));
    return titles;
}

ui::WindowView &MainWindowTest::childView()
{
    EXPECT_NE(child(), nullptr) << "no child window is open";
    return child()->view();
}

void MainWindowTest::readProject(const std::vector<std::string> &lines)
{
    const std::string file = "projects/Autorun.inf";
    writeFile(file, projectText(lines));
    fake.dialogs.answers.push_back(path(file));
    trigger("OPENINIFILE");
    fake.dialogs.uses.clear();
}

}  // namespace vidorun::testing
