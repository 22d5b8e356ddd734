// Pictures: decoded by the system's own picture loader (OLE's
// OleLoadPicture, which reads JPEG, BMP and GIF; no JPEG library of ours),
// copied into a 32-bit bitmap of the picture's size, and painted by the
// picture frame control.
#include "ui/win32/win32_pictures.h"

#include "ui/win32/win32_front_end.h"
#include "ui/win32/win32_resources.h"
#include "ui/win32/win32_text.h"

#include <ole2.h>
#include <olectl.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace vidorun::ui::win32 {

namespace {

// A cover is a photo of a few hundred kB; anything near this is no picture
// the program means.
constexpr std::size_t LargestPictureFile = 64u << 20;

// A top-down 32-bit bitmap the program owns.
HBITMAP createBitmap(int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

// Draws into a new bitmap of the given size through a memory DC.
template<typename Draw>
std::shared_ptr<const Picture> drawPicture(int width, int height, Draw draw)
{
    HBITMAP bitmap = createBitmap(width, height);
    if (!bitmap)
        return nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    draw(dc);
    SelectObject(dc, old);
    DeleteDC(dc);
    return std::make_shared<Win32Picture>(bitmap, width, height);
}

// The decoder's bitmap, copied so that the picture no longer needs it.
std::shared_ptr<const Picture> copyBitmap(HBITMAP source)
{
    BITMAP size{};
    if (!GetObjectW(source, sizeof size, &size) || size.bmWidth <= 0 || size.bmHeight <= 0)
        return nullptr;
    return drawPicture(size.bmWidth, size.bmHeight, [&](HDC dc) {
        HDC sourceDc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(sourceDc, source);
        BitBlt(dc, 0, 0, size.bmWidth, size.bmHeight, sourceDc, 0, 0, SRCCOPY);
        SelectObject(sourceDc, old);
        DeleteDC(sourceDc);
    });
}

std::shared_ptr<const Picture> decodeOnThisThread(std::span<const std::byte> bytes)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!memory)
        return nullptr;
    std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
    GlobalUnlock(memory);
    IStream *stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
        GlobalFree(memory);
        return nullptr;
    }
    IPicture *decoded = nullptr;
    const HRESULT result = OleLoadPicture(stream, LONG(bytes.size()), FALSE, IID_IPicture,
                                          reinterpret_cast<void **>(&decoded));
    stream->Release();
    if (FAILED(result) || !decoded)
        return nullptr;
    std::shared_ptr<const Picture> picture;
    short type = PICTYPE_NONE;
    OLE_HANDLE handle = 0;
    if (SUCCEEDED(decoded->get_Type(&type)) && type == PICTYPE_BITMAP && SUCCEEDED(decoded->get_Handle(&handle))
        && handle) {
        // A GDI handle travels as 32 bits and is sign-extended back.
        picture = copyBitmap(static_cast<HBITMAP>(LongToHandle(LONG(handle))));
    }
    decoded->Release();
    return picture;
}

struct FrameState {
    std::shared_ptr<const Picture> picture;
};

FrameState *frameState(HWND frame)
{
    return reinterpret_cast<FrameState *>(GetWindowLongPtrW(frame, GWLP_USERDATA));
}

void paintFrame(HWND frame, HDC dc)
{
    RECT client{};
    GetClientRect(frame, &client);
    const FrameState *state = frameState(frame);
    const auto *picture = state ? static_cast<const Win32Picture *>(state->picture.get()) : nullptr;
    const bool scaled = GetWindowLongPtrW(frame, GWL_STYLE) & PictureScaled;
    if (!picture || !scaled)
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    if (!picture)
        return;
    HDC pictureDc = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(pictureDc, picture->bitmap());
    if (scaled) {
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, 0, 0, client.right, client.bottom, pictureDc, 0, 0, picture->width(), picture->height(),
                   SRCCOPY);
    } else {
        // At its own size from the top left corner, cut off at the frame.
        BitBlt(dc, 0, 0, std::min<int>(picture->width(), client.right), std::min<int>(picture->height(), client.bottom),
               pictureDc, 0, 0, SRCCOPY);
    }
    SelectObject(pictureDc, old);
    DeleteDC(pictureDc);
}

LRESULT CALLBACK frameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCREATE:
        SetWindowLongPtrW(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new FrameState));
        break;
    case WM_NCDESTROY:
        delete frameState(frame);
        SetWindowLongPtrW(frame, GWLP_USERDATA, 0);
        break;
    case WM_ERASEBKGND:
        return 1;  // painted whole in WM_PAINT
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(frame, &paint);
        paintFrame(frame, dc);
        EndPaint(frame, &paint);
        return 0;
    }
    case WM_PRINTCLIENT:
        paintFrame(frame, reinterpret_cast<HDC>(wParam));
        return 0;
    }
    return DefWindowProcW(frame, message, wParam, lParam);
}

}  // namespace

void registerPictureFrameClass(HINSTANCE instance)
{
    WNDCLASSEXW frameClass{};
    frameClass.cbSize = sizeof frameClass;
    frameClass.lpfnWndProc = frameProc;
    frameClass.hInstance = instance;
    frameClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    frameClass.lpszClassName = PictureFrameClass;
    RegisterClassExW(&frameClass);
}

void showPicture(HWND frame, std::shared_ptr<const Picture> picture)
{
    if (FrameState *state = frameState(frame)) {
        state->picture = std::move(picture);
        InvalidateRect(frame, nullptr, FALSE);
    }
}

bool showsPicture(HWND frame)
{
    const FrameState *state = frameState(frame);
    return state && state->picture;
}

std::shared_ptr<const Picture> shownPicture(HWND frame)
{
    const FrameState *state = frameState(frame);
    return state ? state->picture : nullptr;
}

std::shared_ptr<const Picture> decodePicture(std::span<const std::byte> bytes)
{
    if (bytes.empty() || bytes.size() > LargestPictureFile)
        return nullptr;
    // The loader needs COM on the calling thread, which may be a worker's.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    std::shared_ptr<const Picture> picture = decodeOnThisThread(bytes);
    if (SUCCEEDED(com))
        CoUninitialize();
    return picture;
}

std::shared_ptr<const Picture> loadPicture(std::string_view path)
{
    HANDLE file = CreateFileW(toWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    std::vector<std::byte> bytes;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && std::size_t(size.QuadPart) <= LargestPictureFile) {
        bytes.resize(std::size_t(size.QuadPart));
        DWORD read = 0;
        if (!ReadFile(file, bytes.data(), DWORD(bytes.size()), &read, nullptr))
            read = 0;
        bytes.resize(read);
    }
    CloseHandle(file);
    return decodePicture(bytes);
}

std::shared_ptr<const Picture> builtInPicture(BuiltInPicture which, int width, int height)
{
    HINSTANCE program = GetModuleHandleW(nullptr);
    if (which == BuiltInPicture::ProgramIcon && width > 0 && height > 0) {
        // The icon at the frame's size, on the window's grey.
        auto *icon = static_cast<HICON>(
            LoadImageW(program, MAKEINTRESOURCEW(VIDORUN_ICON), IMAGE_ICON, width, height, LR_DEFAULTCOLOR));
        if (!icon)
            return nullptr;
        auto picture = drawPicture(width, height, [&](HDC dc) {
            const RECT all{0, 0, width, height};
            FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
            DrawIconEx(dc, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
        });
        DestroyIcon(icon);
        return picture;
    }
    if (which == BuiltInPicture::CodecLogo) {
        HRSRC found = FindResourceW(program, MAKEINTRESOURCEW(VIDORUN_CODEC_LOGO), MAKEINTRESOURCEW(10));  // RT_RCDATA
        HGLOBAL loaded = found ? LoadResource(program, found) : nullptr;
        const void *bytes = loaded ? LockResource(loaded) : nullptr;
        if (!bytes)
            return nullptr;
        return decodePicture({static_cast<const std::byte *>(bytes), std::size_t(SizeofResource(program, found))});
    }
    return nullptr;
}

}  // namespace vidorun::ui::win32
