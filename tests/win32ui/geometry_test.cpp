// Each window as realised, held against its description: every control of
// the system's class for its kind, at its pixels, with its caption, font,
// styles and state; the main window's client area and menu bar.
#include "win32ui_support.h"

#include <gtest/gtest.h>

#include <cwctype>

namespace vidorun::ui::win32::test {
namespace {

std::wstring className(HWND hwnd)
{
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    std::wstring lower(name);
    for (wchar_t &c : lower)
        c = wchar_t(std::towlower(c));
    return lower;
}

std::wstring wide(std::string_view text)
{
    wchar_t buffer[128] = {};
    MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), buffer, 127);
    return buffer;
}

// The face the system gives when asked for `face`.
std::wstring givenFace(const wchar_t *face)
{
    HFONT font = CreateFontW(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
    HDC dc = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(dc, font);
    wchar_t given[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, given);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    return given;
}

const wchar_t *expectedClass(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Button: return L"button";
    case ControlKind::Label: return L"static";
    case ControlKind::TextBox: return L"edit";
    case ControlKind::DropDownList: return L"combobox";
    case ControlKind::ListBox: return L"listbox";
    case ControlKind::Picture: return L"vidorunpicture";
    case ControlKind::Line: return L"static";
    }
    return L"";
}

std::string windowText(HWND hwnd)
{
    wchar_t text[256] = {};
    GetWindowTextW(hwnd, text, 256);
    char utf8[512] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
    return utf8;
}

void expectControl(const Window &window, const Control &control, HWND parent, HWND hwnd)
{
    SCOPED_TRACE(std::string(window.name) + "." + std::string(control.name));
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(GetParent(hwnd), parent);
    EXPECT_EQ(className(hwnd), expectedClass(control.kind));

    RECT box{};
    GetWindowRect(hwnd, &box);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT *>(&box), 2);
    const Font &designedFont = control.font.face.empty() ? window.font : control.font;
    if (control.growsWithText && givenFace(wide(designedFont.face).c_str()) != wide(designedFont.face)) {
        // Another font than designed: at least its designed place, larger
        // where that font needs it.
        EXPECT_LE(box.left, control.left);
        EXPECT_EQ(box.top, control.top);
        EXPECT_GE(box.right, control.left + control.width);
        EXPECT_GE(box.bottom, control.top + control.height);
    } else {
        EXPECT_EQ(box.left, control.left);
        EXPECT_EQ(box.top, control.top);
        EXPECT_EQ(box.right - box.left, control.width);
        EXPECT_EQ(box.bottom - box.top, control.height);
    }

    const bool captioned = control.kind == ControlKind::Button || control.kind == ControlKind::Label;
    const std::string_view text = captioned                                ? control.caption
                                  : control.kind == ControlKind::Picture ? control.accessibleName
                                                                         : std::string_view{};
    EXPECT_EQ(windowText(hwnd), text);

    const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    EXPECT_EQ(bool(style & WS_VISIBLE), control.visible);
    EXPECT_EQ(!(style & WS_DISABLED), control.enabled);
    const bool focusable = control.kind == ControlKind::Button || control.kind == ControlKind::TextBox
                           || control.kind == ControlKind::DropDownList || control.kind == ControlKind::ListBox;
    EXPECT_EQ(bool(style & WS_TABSTOP), focusable);
    if (control.kind == ControlKind::Picture)
        return;  // no text, no font

    const Font &font = designedFont;
    LOGFONTW logFont{};
    ASSERT_TRUE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof logFont, &logFont));
    const std::wstring face = wide(font.face);
    // "Courier" is a bitmap font; where only TrueType fonts are, its
    // TrueType sibling stands in.
    const std::wstring expectedFace = face == L"Courier" && givenFace(face.c_str()) != face ? L"Courier New" : face;
    EXPECT_EQ(std::wstring(logFont.lfFaceName), expectedFace);
    EXPECT_EQ(logFont.lfHeight, -int(font.points * 96 / 72 + 0.5));  // 8.25 points: 11 pixels
    EXPECT_EQ(logFont.lfWeight, font.bold ? FW_BOLD : FW_NORMAL);
    EXPECT_EQ(bool(logFont.lfUnderline), font.underline);

    if (control.kind == ControlKind::Button) {
        const bool isDefault = window.enter == EnterKey::PressesDefault && window.defaultButton == control.name;
        EXPECT_EQ(style & BS_TYPEMASK, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    }
    if (control.kind == ControlKind::DropDownList) {
        EXPECT_EQ(style & 3, CBS_DROPDOWNLIST);
    }
    if (control.kind == ControlKind::Label) {
        EXPECT_TRUE(style & SS_NOPREFIX);  // "&" in a path shows as written
        if (!control.wordWrap && control.align == Align::Left) {
            EXPECT_EQ(style & SS_TYPEMASK, SS_LEFTNOWORDWRAP);
        }
    }
}

TEST(Geometry, EveryControlIsWhereAndWhatItsDescriptionSays)
{
    HDC screen = GetDC(nullptr);
    ASSERT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 96) << "the pixels below are the description's at 96 dpi";
    ReleaseDC(nullptr, screen);
    for (const Window *window : allWindows()) {
        Realised realised(*window);
        HWND hwnd = realised.hwnd();
        ASSERT_NE(hwnd, nullptr) << window->name;
        RECT client{};
        GetClientRect(hwnd, &client);
        EXPECT_EQ(client.right, window->clientWidth) << window->name;
        EXPECT_EQ(client.bottom, window->clientHeight) << window->name;
        EXPECT_EQ(GetMenu(hwnd) != nullptr, window->main) << window->name;
        const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
        EXPECT_FALSE(style & (WS_THICKFRAME | WS_MAXIMIZEBOX)) << window->name;
        EXPECT_EQ(bool(style & WS_MINIMIZEBOX), window->main) << window->name;
        // A child window is owned by a window never shown, so it has no
        // taskbar button; the main window by none, so it has one.
        HWND owner = GetWindow(hwnd, GW_OWNER);
        EXPECT_EQ(owner != nullptr, !window->main) << window->name;
        if (owner) {
            EXPECT_FALSE(IsWindowVisible(owner)) << window->name;
        }

        int children = 0;
        for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            ++children;
        EXPECT_EQ(children, int(window->controls.size())) << window->name;
        for (const Control &control : window->controls) {
            expectControl(*window, control, hwnd, realised.control(control.name));
            if (!control.labels.empty()) {  // its access key reaches the control it names
                EXPECT_EQ(GetWindow(realised.control(control.name), GW_HWNDNEXT), realised.control(control.labels))
                    << window->name << "." << control.name;
            }
        }
    }
}

std::wstring menuText(HMENU menu, int position, MENUITEMINFOW &info)
{
    wchar_t text[128] = {};
    info = MENUITEMINFOW{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 128;
    EXPECT_TRUE(GetMenuItemInfoW(menu, UINT(position), TRUE, &info));
    return text;
}

TEST(Geometry, TheMenuBarIsTheDescriptionsMenuTable)
{
    Realised main(MainWindow);
    HMENU bar = GetMenu(main.hwnd());
    ASSERT_NE(bar, nullptr);
    // The open menu of each level, and the entries it has had so far.
    std::vector<std::pair<HMENU, int>> open{{bar, 0}};
    int menus = 0;
    for (const MenuItem &item : MainWindow.menu) {
        SCOPED_TRACE(std::string(item.name));
        ASSERT_LT(std::size_t(item.level), open.size());
        open.resize(std::size_t(item.level) + 1);
        const auto [menu, position] = open.back();
        open.back().second++;
        MENUITEMINFOW info;
        const std::wstring text = menuText(menu, position, info);
        switch (item.entry) {
        case MenuEntry::Separator:
            EXPECT_TRUE(info.fType & MFT_SEPARATOR);
            break;
        case MenuEntry::Menu:
            EXPECT_EQ(text, wide(item.caption));
            ASSERT_NE(info.hSubMenu, nullptr);
            open.emplace_back(info.hSubMenu, 0);
            menus += item.level == 0;
            break;
        case MenuEntry::Item:
            EXPECT_EQ(text, wide(item.caption) + (item.shortcut.empty() ? L"" : L"\t" + wide(item.shortcut)));
            EXPECT_EQ(info.hSubMenu, nullptr);
            EXPECT_EQ(bool(info.fState & MFS_CHECKED), item.checked);
            break;
        }
    }
    EXPECT_EQ(GetMenuItemCount(bar), menus);
    EXPECT_EQ(menus, 5);
    MENUITEMINFOW info;
    EXPECT_EQ(menuText(GetSubMenu(bar, 0), 0, info), L"&Read 'Autorun.ini' file from disk\tCtrl+O");
}

}  // namespace
}  // namespace vidorun::ui::win32::test
