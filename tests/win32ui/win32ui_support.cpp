#include "win32ui_support.h"

#include "support/window_driver.h"

namespace vidorun::ui::win32::test {

Win32FrontEnd &frontEnd()
{
    // The front end of the test program's window driver.
    return static_cast<Win32FrontEnd &>(vidorun::testing::WindowDriver::instance().frontEnd());
}

Realised::Realised(const Window &description) : view(frontEnd().realise(description, events)) {}

Realised::~Realised()
{
    view.reset();
    settle();
}

void settle()
{
    vidorun::testing::settleMessages(8, 10);
}

void press(WORD key, int modifiers)
{
    sendKey(key, modifiers);
    settle();
}

void type(std::wstring_view text)
{
    for (wchar_t c : text) {
        INPUT inputs[2]{};
        for (int i = 0; i < 2; ++i) {
            inputs[i].type = INPUT_KEYBOARD;
            inputs[i].ki.wScan = c;
            inputs[i].ki.dwFlags = KEYEVENTF_UNICODE | (i ? KEYEVENTF_KEYUP : 0);
        }
        SendInput(2, inputs, sizeof(INPUT));
    }
    settle();
}

Pixels capture(HWND window, bool wholeWindow)
{
    RECT area{};
    if (wholeWindow) {
        GetWindowRect(window, &area);
    } else {
        GetClientRect(window, &area);
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT *>(&area), 2);
    }
    Pixels pixels;
    pixels.width = area.right - area.left;
    pixels.height = area.bottom - area.top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = pixels.width;
    info.bmiHeader.biHeight = -pixels.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, pixels.width, pixels.height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const auto *bgrx = static_cast<const std::uint32_t *>(bits);
    pixels.rgb.assign(bgrx, bgrx + std::size_t(pixels.width) * std::size_t(pixels.height));
    for (std::uint32_t &pixel : pixels.rgb)
        pixel &= 0xffffff;
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    return pixels;
}

bool writeBmp(const Pixels &pixels, const std::wstring &path)
{
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = pixels.width;
    header.biHeight = -pixels.height;  // top-down
    header.biPlanes = 1;
    header.biBitCount = 32;
    const DWORD pixelBytes = DWORD(pixels.rgb.size() * 4);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4d42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + pixelBytes;
    HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(out, &file, sizeof file, &written, nullptr) && WriteFile(out, &header, sizeof header, &written, nullptr)
              && WriteFile(out, pixels.rgb.data(), pixelBytes, &written, nullptr);
    CloseHandle(out);
    return ok;
}

bool closeTo(std::uint32_t colour, std::uint32_t expected, int tolerance)
{
    for (int shift = 0; shift < 24; shift += 8) {
        const int a = int((colour >> shift) & 0xff), b = int((expected >> shift) & 0xff);
        if (a - b > tolerance || b - a > tolerance)
            return false;
    }
    return true;
}

}  // namespace vidorun::ui::win32::test
