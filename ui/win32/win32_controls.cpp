#include "ui/win32/win32_controls.h"

#include "ui/win32/win32_pictures.h"
#include "ui/win32/win32_text.h"

#include <algorithm>
#include <string>

namespace vidorun::ui::win32 {

namespace {

// The room a drop-down list's list opens with, below its closed field.
constexpr int DropDownListRoom = 160;
constexpr Colour LineGrey{128, 128, 128};

COLORREF colourRef(const Colour &colour)
{
    return RGB(colour.red, colour.green, colour.blue);
}

bool sameFont(const Font &a, const Font &b)
{
    return a.face == b.face && a.points == b.points && a.bold == b.bold && a.underline == b.underline;
}

// A label shows its text as written ("&" included: it may be a path),
// without wrapping, unless the description says it wraps. A label that
// names a control and has an "&" in its caption keeps it as its access key.
// Windows has no centred or right-aligned static that does not wrap: those
// are drawn by the window (drawLabel).
DWORD labelStyle(const Control &label)
{
    DWORD style = 0;
    if (label.labels.empty() || label.caption.find('&') == std::string_view::npos)
        style |= SS_NOPREFIX;
    if (label.wordWrap)
        style |= label.align == Align::Centre ? SS_CENTER : label.align == Align::Right ? SS_RIGHT : SS_LEFT;
    else if (label.align == Align::Left)
        style |= SS_LEFTNOWORDWRAP;
    else
        style |= SS_OWNERDRAW;
    return style;
}

// A list-only drop-down list's closed height follows its selection field's
// height, which is set until the closed control is as high as designed. The
// field's height is counted here, not read back: Wine answers CB_GETITEMHEIGHT
// with 2 pixels more than it was given.
void fitClosedHeight(HWND combo, int height)
{
    LRESULT field = SendMessageW(combo, CB_GETITEMHEIGHT, WPARAM(-1), 0);
    for (int attempt = 0; attempt < 3 && field != CB_ERR; ++attempt) {
        RECT box{};
        GetWindowRect(combo, &box);
        const int difference = height - (box.bottom - box.top);
        if (difference == 0 || field + difference <= 0)
            return;
        field += difference;
        SendMessageW(combo, CB_SETITEMHEIGHT, WPARAM(-1), field);
    }
}

}  // namespace

int systemDpi()
{
    static const int dpi = [] {
        HDC screen = GetDC(nullptr);
        const int value = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
        ReleaseDC(nullptr, screen);
        return value > 0 ? value : 96;
    }();
    return dpi;
}

int scaled(int pixels, int dpi)
{
    return MulDiv(pixels, dpi, 96);
}

int fontHeight(double points, int dpi)
{
    return -MulDiv(int(points * 100 + 0.5), dpi, 7200);
}

std::vector<const Control *> creationOrder(const Window &window)
{
    std::vector<const Control *> order;
    for (const Control *target : tabOrder(window)) {
        for (const Control &label : window.controls) {
            if (label.kind == ControlKind::Label && label.labels == target->name)
                order.push_back(&label);
        }
        order.push_back(target);
    }
    for (const Control &control : window.controls) {
        if (std::find(order.begin(), order.end(), &control) == order.end())
            order.push_back(&control);
    }
    return order;
}

void WindowControls::create(HWND parent, const Window &window, int dpi)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const bool hasDefault = window.enter == EnterKey::PressesDefault;
    for (const Control *control : creationOrder(window)) {
        const Control &c = *control;
        const int id = FirstControlId + int(control - window.controls.data());
        DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (c.visible ? WS_VISIBLE : 0) | (c.enabled ? 0 : WS_DISABLED);
        DWORD exStyle = 0;
        const wchar_t *className = L"STATIC";
        std::wstring text = toWide(c.caption);
        int height = scaled(c.height, dpi);
        switch (c.kind) {
        case ControlKind::Button:
            className = L"BUTTON";
            style |= WS_TABSTOP | (hasDefault && c.name == window.defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
            break;
        case ControlKind::Label:
            style |= labelStyle(c);
            break;
        case ControlKind::TextBox:
            className = L"EDIT";
            style |= WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
            exStyle = WS_EX_CLIENTEDGE;
            text.clear();
            break;
        case ControlKind::DropDownList:
            className = L"COMBOBOX";
            style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
            height += scaled(DropDownListRoom, dpi);
            text.clear();
            break;
        case ControlKind::ListBox:
            className = L"LISTBOX";
            style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
            exStyle = WS_EX_CLIENTEDGE;
            text.clear();
            break;
        case ControlKind::Picture:
            // A frame has no caption: its text is what a screen reader calls it.
            className = PictureFrameClass;
            style |= (c.border ? WS_BORDER : 0) | (c.scaled ? PictureScaled : 0);
            text = toWide(c.accessibleName);
            break;
        case ControlKind::Line:
            // An empty static filled with the line's colour (WM_CTLCOLORSTATIC).
            style |= SS_LEFT | SS_NOPREFIX;
            text.clear();
            break;
        }
        HWND hwnd = CreateWindowExW(exStyle, className, text.c_str(), style, scaled(c.left, dpi), scaled(c.top, dpi),
                                    scaled(c.width, dpi), height, parent, reinterpret_cast<HMENU>(INT_PTR(id)),
                                    instance, nullptr);
        if (!hwnd)
            continue;
        const HFONT controlFont = font(c.font, window.font, dpi);
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(controlFont), FALSE);
        if (c.growsWithText)
            fitToText(hwnd, c, dpi);
        if (c.kind == ControlKind::DropDownList)
            fitClosedHeight(hwnd, scaled(c.height, dpi));
        if (c.kind == ControlKind::Picture && c.picture != BuiltInPicture::None) {
            RECT client{};
            GetClientRect(hwnd, &client);
            showPicture(hwnd, builtInPicture(c.picture, client.right, client.bottom));
        }
        if (c.kind == ControlKind::Line)
            lineBrushes_.emplace_back(hwnd, CreateSolidBrush(colourRef(c.textColour ? *c.textColour : LineGrey)));
        controls_.push_back({control, hwnd});
    }
}

// A label that grows with its text: as wide and as high as the text where
// the system's font runs larger than the one the window was laid out with,
// about the same left edge, centre or right edge as designed.
void WindowControls::fitToText(HWND label, const Control &control, int dpi)
{
    const std::wstring text = toWide(windowText(label));
    HDC dc = GetDC(label);
    const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    RECT needed{};
    const UINT noPrefix = (GetWindowLongPtrW(label, GWL_STYLE) & SS_NOPREFIX) ? DT_NOPREFIX : 0;
    DrawTextW(dc, text.empty() ? L" " : text.c_str(), text.empty() ? 1 : int(text.size()), &needed,
              DT_CALCRECT | DT_EXPANDTABS | noPrefix);
    SelectObject(dc, previous);
    ReleaseDC(label, dc);
    const int designedWidth = scaled(control.width, dpi);
    const int width = std::max(designedWidth, int(needed.right));
    const int height = std::max(scaled(control.height, dpi), int(needed.bottom));
    int left = scaled(control.left, dpi);
    if (control.align == Align::Centre)
        left -= (width - designedWidth) / 2;
    else if (control.align == Align::Right)
        left -= width - designedWidth;
    SetWindowPos(label, nullptr, left, scaled(control.top, dpi), width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowControls::release()
{
    for (auto &[font, handle] : fonts_)
        DeleteObject(handle);
    fonts_.clear();
    for (auto &[hwnd, brush] : lineBrushes_)
        DeleteObject(brush);
    lineBrushes_.clear();
    controls_.clear();
}

// The face the system gives for a font, which may be another than asked for.
std::wstring WindowControls::actualFace(HFONT font)
{
    HDC dc = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(dc, font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return face;
}

HFONT WindowControls::font(const Font &wanted, const Font &windowFont, int dpi)
{
    Font font = wanted.face.empty() ? windowFont : wanted;
    if (font.points <= 0)
        font.points = windowFont.points > 0 ? windowFont.points : 8.25;
    for (auto &[made, handle] : fonts_) {
        if (sameFont(made, font))
            return handle;
    }
    const auto make = [&](const std::wstring &face, DWORD pitch) {
        return CreateFontW(fontHeight(font.points, dpi), 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE,
                           font.underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, pitch, face.c_str());
    };
    const std::wstring face = toWide(font.face);
    HFONT handle = make(face, DEFAULT_PITCH | FF_DONTCARE);
    // "Courier", a bitmap font of every Windows, is missing where only
    // TrueType fonts are (Wine): its TrueType sibling keeps the prompt in a
    // typewriter's letters rather than the system's first choice.
    if (face == L"Courier" && actualFace(handle) != face) {
        DeleteObject(handle);
        handle = make(L"Courier New", FIXED_PITCH | FF_MODERN);
    }
    fonts_.emplace_back(font, handle);
    return handle;
}

const ControlHandle *WindowControls::find(std::string_view name) const
{
    for (const ControlHandle &handle : controls_) {
        if (handle.control->name == name)
            return &handle;
    }
    return nullptr;
}

const ControlHandle *WindowControls::find(HWND hwnd) const
{
    for (const ControlHandle &handle : controls_) {
        if (handle.hwnd == hwnd)
            return &handle;
    }
    return nullptr;
}

HBRUSH WindowControls::staticColours(HWND control, HDC dc) const
{
    for (const auto &[line, brush] : lineBrushes_) {
        if (line == control)
            return brush;
    }
    const ControlHandle *handle = find(control);
    if (!handle || handle->control->kind != ControlKind::Label || !handle->control->textColour)
        return nullptr;
    SetTextColor(dc, colourRef(*handle->control->textColour));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return GetSysColorBrush(COLOR_BTNFACE);
}

bool WindowControls::drawLabel(const DRAWITEMSTRUCT &item) const
{
    const ControlHandle *handle = find(item.hwndItem);
    if (item.CtlType != ODT_STATIC || !handle)
        return false;
    const Control &label = *handle->control;
    HDC dc = item.hDC;
    RECT area = item.rcItem;
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, !IsWindowEnabled(item.hwndItem) ? GetSysColor(COLOR_GRAYTEXT)
                     : label.textColour                ? colourRef(*label.textColour)
                                                       : GetSysColor(COLOR_BTNTEXT));
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)));
    const std::wstring text = toWide(windowText(item.hwndItem));
    // As a static that does not wrap: new lines only where the text has them.
    UINT format = (label.align == Align::Right ? DT_RIGHT : DT_CENTER) | DT_EXPANDTABS;
    if (GetWindowLongPtrW(item.hwndItem, GWL_STYLE) & SS_NOPREFIX)
        format |= DT_NOPREFIX;
    DrawTextW(dc, text.c_str(), int(text.size()), &area, format);
    SelectObject(dc, old);
    return true;
}

}  // namespace vidorun::ui::win32
