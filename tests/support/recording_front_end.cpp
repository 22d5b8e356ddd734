#include "support/recording_front_end.h"

#include <algorithm>
#include <cstdlib>
#include <cstdio>

namespace vidorun::testing {

RecordingView::RecordingView(const ui::Window &description, ui::WindowEvents &events, RecordingFrontEnd &frontEnd)
    : m_description(description), m_events(events), m_frontEnd(frontEnd), m_caption(description.caption),
      m_focus(description.firstFocus)
{
    m_frontEnd.m_views.push_back(this);
    for (const ui::Control &control : description.controls) {
        Control &c = m_controls[std::string(control.name)];
        c.text = control.caption;
        c.enabled = control.enabled;
        c.visible = control.visible;
    }
}

RecordingView::~RecordingView()
{
    auto &views = m_frontEnd.m_views;
    views.erase(std::remove(views.begin(), views.end(), this), views.end());
}

RecordingView::Control &RecordingView::state(std::string_view control)
{
    const auto found = m_controls.find(control);
    if (found == m_controls.end()) {
        std::fprintf(stderr, "%.*s has no control named %.*s\n", int(m_description.name.size()),
                     m_description.name.data(), int(control.size()), control.data());
        std::abort();
    }
    return found->second;
}

const RecordingView::Control &RecordingView::state(std::string_view control) const
{
    return const_cast<RecordingView *>(this)->state(control);
}

void RecordingView::clearItems(std::string_view control)
{
    state(control).items.clear();
    state(control).current = -1;
}

std::string RecordingView::itemText(std::string_view control, int index) const
{
    const std::vector<std::string> &items = state(control).items;
    return index >= 0 && std::size_t(index) < items.size() ? items[std::size_t(index)] : std::string();
}

void RecordingView::close()
{
    if (m_closed)
        return;
    m_closed = true;
    m_shown = false;
    m_events.closed();
}

std::unique_ptr<ui::WindowView> RecordingFrontEnd::realise(const ui::Window &description, ui::WindowEvents &events)
{
    return std::make_unique<RecordingView>(description, events, *this);
}

void RecordingFrontEnd::settle()
{
    while (!m_posted.empty()) {
        std::function<void()> work = std::move(m_posted.front());
        m_posted.pop_front();
        work();
    }
}

std::vector<RecordingView *> RecordingFrontEnd::windows() const
{
    return m_views;
}

RecordingView *RecordingFrontEnd::window(const ui::Window &description) const
{
    for (auto it = m_views.rbegin(); it != m_views.rend(); ++it) {
        if (&(*it)->description() == &description)
            return *it;
    }
    return nullptr;
}

}  // namespace vidorun::testing
