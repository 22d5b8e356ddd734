#pragma once

// A front end without any window: it keeps what the handlers set on each
// window in memory, starting from the window's description, and lets a test
// play the user by telling the window's events directly. For testing the
// handlers and the descriptions fast, on both systems.
#include "ui/window_view.h"

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vidorun::testing {

class RecordingFrontEnd;

class RecordingView final : public ui::WindowView {
public:
    RecordingView(const ui::Window &description, ui::WindowEvents &events, RecordingFrontEnd &frontEnd);
    ~RecordingView() override;

    const ui::Window &description() const { return m_description; }
    ui::WindowEvents &events() { return m_events; }
    bool shown() const { return m_shown; }
    bool closed() const { return m_closed; }

    void setCaption(std::string_view text) override { m_caption = text; }
    std::string caption() const override { return m_caption; }
    void setText(std::string_view control, std::string_view text) override { state(control).text = text; }
    std::string text(std::string_view control) const override { return state(control).text; }
    void setEnabled(std::string_view control, bool enabled) override { state(control).enabled = enabled; }
    bool isEnabled(std::string_view control) const override { return state(control).enabled; }
    void setVisible(std::string_view control, bool visible) override { state(control).visible = visible; }
    bool isVisible(std::string_view control) const override { return state(control).visible; }
    void clearItems(std::string_view control) override;
    void addItem(std::string_view control, std::string_view text) override { state(control).items.emplace_back(text); }
    int itemCount(std::string_view control) const override { return int(state(control).items.size()); }
    std::string itemText(std::string_view control, int index) const override;
    int currentIndex(std::string_view control) const override { return state(control).current; }
    void setCurrentIndex(std::string_view control, int index) override { state(control).current = index; }
    void setPicture(std::string_view control, std::shared_ptr<const ui::Picture> picture) override
    {
        state(control).picture = std::move(picture);
    }
    bool showsPicture(std::string_view control) const { return state(control).picture != nullptr; }
    void setFocus(std::string_view control) override { m_focus = control; }
    std::string focused() const override { return m_focus; }
    void setWindowEnabled(bool enabled) override { m_windowEnabled = enabled; }
    bool isWindowEnabled() const override { return m_windowEnabled; }
    void show() override { m_shown = true; }
    void activate() override {}
    void close() override;

private:
    struct Control {
        std::string text;
        bool enabled = true;
        bool visible = true;
        std::vector<std::string> items;
        int current = -1;
        std::shared_ptr<const ui::Picture> picture;
    };
    // A control the description does not have is a fault of the handler.
    Control &state(std::string_view control);
    const Control &state(std::string_view control) const;

    const ui::Window &m_description;
    ui::WindowEvents &m_events;
    RecordingFrontEnd &m_frontEnd;
    std::map<std::string, Control, std::less<>> m_controls;
    std::string m_caption;
    std::string m_focus;
    bool m_windowEnabled = true;
    bool m_shown = false;
    bool m_closed = false;
};

class RecordingFrontEnd final : public ui::FrontEnd {
public:
    std::unique_ptr<ui::WindowView> realise(const ui::Window &description, ui::WindowEvents &events) override;
    void post(std::function<void()> work) override { m_posted.push_back(std::move(work)); }

    // Runs the work posted so far, as the end of an event would.
    void settle();
    // The views realised so far that are still there, the latest last.
    std::vector<RecordingView *> windows() const;
    // The latest one realised from `description`, still there; null if none.
    RecordingView *window(const ui::Window &description) const;

private:
    friend class RecordingView;
    std::vector<RecordingView *> m_views;
    std::deque<std::function<void()>> m_posted;
};

}  // namespace vidorun::testing
