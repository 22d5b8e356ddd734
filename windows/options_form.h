#pragma once

#include "windows/child_window.h"

#include <string>

namespace vidorun {

struct Project;

// What the current settings window shows, taken from the project once, when
// the window opens.
struct SettingsSnapshot {
    std::string caption;
    std::string autorunlocation;
    std::string currentlanguage;
    std::string coverpicturepath;
    std::string playerpath;
    std::string codecpath;
    std::string Moviesinproject;
    std::string version;
};

SettingsSnapshot settingsSnapshot(const Project &project);

// "Current settings": a read-only summary of the project. It shows the
// snapshot it was filled with and follows no later change.
class OptionsForm final : public ChildWindow {
public:
    explicit OptionsForm(VidorunMain &main);

    void fill(const SettingsSnapshot &settings);
    void command(std::string_view name) override;

private:
    void CloseCMD_Click();
};

}  // namespace vidorun
