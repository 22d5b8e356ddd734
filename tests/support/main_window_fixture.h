#pragma once

#include "app/vidorun_main.h"
#include "support/fake_platform.h"
#include "support/qt_printers.h"

#include <QByteArray>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

class QComboBox;
class QLabel;
class QPushButton;
class QAction;

namespace vidorun::testing {

// Each test runs in a fresh temporary working folder of its own.
class WorkingFolderTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes a file (relative names land in the working folder).
    void writeFile(const QString &name, const QByteArray &bytes);
    QByteArray readFile(const QString &name) const;
    QString path(const QString &name) const;
    // The system's own words for why a file can't be made at `path`, as Qt
    // reports them ("No such file or directory" on Linux).
    static QString reasonForNoFileAt(const QString &path);

    QTemporaryDir m_folder;
    QString m_previousFolder;
};

// A real main window on fake platform services, started in the test's folder.
class MainWindowTest : public WorkingFolderTest {
protected:
    void TearDown() override;

    // Starts the program: the window loads (and reads ./Autorun.inf if the
    // test wrote one) and is shown.
    VidorunMain &start();

    VidorunMain &window() { return *m_window; }
    const Project &project() const { return m_window->project(); }

    QComboBox *movies() const;
    QLabel *label(const char *name) const;
    QPushButton *button(const char *name) const;
    QAction *action(const char *name) const;
    QStringList listedTitles() const;

    // Clicks a button of the main window, or triggers one of its menu items.
    void click(const char *buttonName);
    void trigger(const char *actionName);
    // Makes the main window the active window, as a user's click would.
    void activate();

    FakePlatform fake;
    std::unique_ptr<VidorunMain> m_window;
};

// A project file in the program's own layout, CR LF line ends.
QByteArray projectFileBytes(const QStringList &lines);

}  // namespace vidorun::testing
