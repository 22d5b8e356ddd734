#pragma once

// A window's controls as the system's own: created from the description's
// table at its pixels (scaled to the system dpi), with its fonts, in the
// order Tab visits them; and what a window procedure needs to paint them in
// the description's colours.
#include "platform/win32_api.h"
#include "ui/window_description.h"

#include <span>
#include <string_view>
#include <utility>
#include <vector>

namespace vidorun::ui::win32 {

// Control i of the description has the id FirstControlId + i; menu entry i
// has FirstMenuId + i. Both stay clear of IDOK and IDCANCEL.
inline constexpr int FirstControlId = 100;
inline constexpr int FirstMenuId = 1000;

struct ControlHandle {
    const Control *control = nullptr;
    HWND hwnd = nullptr;
};

// The dpi every description pixel is scaled to (96: as designed).
int systemDpi();
int scaled(int pixels, int dpi);
// The font's height as CreateFontW takes it: 8.25 points are 11 pixels at 96 dpi.
int fontHeight(double points, int dpi);
// The order the controls are created in, which is Tab's and the Z order:
// the controls that take the focus by tab index, each after the labels
// that name it; then the others as the table has them.
std::vector<const Control *> creationOrder(const Window &window);

class WindowControls {
public:
    WindowControls() = default;
    WindowControls(const WindowControls &) = delete;
    WindowControls &operator=(const WindowControls &) = delete;
    ~WindowControls() { release(); }

    void create(HWND parent, const Window &window, int dpi);
    // The fonts and brushes, once the controls are destroyed.
    void release();

    const ControlHandle *find(std::string_view name) const;
    const ControlHandle *find(HWND hwnd) const;
    const std::vector<ControlHandle> &all() const { return controls_; }

    // WM_CTLCOLORSTATIC: a label's own text colour, a line's colour; nullptr
    // where the system's colours apply.
    HBRUSH staticColours(HWND control, HDC dc) const;
    // WM_DRAWITEM: the centred and right-aligned labels that do not wrap.
    bool drawLabel(const DRAWITEMSTRUCT &item) const;

    // A label that grows with its text, after its text or font changed.
    static void fitToText(HWND label, const Control &control, int dpi);

private:
    static std::wstring actualFace(HFONT font);
    HFONT font(const Font &font, const Font &windowFont, int dpi);

    std::vector<ControlHandle> controls_;
    std::vector<std::pair<Font, HFONT>> fonts_;
    std::vector<std::pair<HWND, HBRUSH>> lineBrushes_;
};

}  // namespace vidorun::ui::win32
