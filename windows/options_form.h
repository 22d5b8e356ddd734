#pragma once

#include "windows/child_window.h"

#include <QString>

class QLabel;
class QPushButton;

namespace vidorun {

struct Project;

// What the current settings window shows, taken from the project once, when
// the window opens.
struct SettingsSnapshot {
    QString caption;
    QString autorunlocation;
    QString currentlanguage;
    QString coverpicturepath;
    QString playerpath;
    QString codecpath;
    QString Moviesinproject;
    QString version;
};

SettingsSnapshot settingsSnapshot(const Project &project);

// "Current settings": a read-only summary of the project. It shows the
// snapshot it was filled with and follows no later change.
class OptionsForm : public ChildWindow {
    Q_OBJECT

public:
    explicit OptionsForm(VidorunMain &main);

    void fill(const SettingsSnapshot &settings);

private:
    void CloseCMD_Click();

    QLabel *autorunlocation = nullptr;
    QLabel *currentlanguage = nullptr;
    QLabel *coverpicturepath = nullptr;
    QLabel *playerpath = nullptr;
    QLabel *codecpath = nullptr;
    QLabel *Moviesinproject = nullptr;
    QLabel *version = nullptr;
    QPushButton *CloseCMD = nullptr;
};

}  // namespace vidorun
