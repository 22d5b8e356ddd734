// Pictures: decoded by the system's own imaging component (WIC, which
// reads JPEG, PNG, GIF, BMP and more; no picture library of ours), no
// larger than the frame shows them, into a 32-bit bitmap, and painted by
// the picture frame control.
#include "ui/win32/win32_pictures.h"

#include "disccheck/picture_header.h"
#include "platform/picture_loader.h"
#include "ui/win32/win32_front_end.h"
#include "ui/win32/win32_resources.h"
#include "ui/win32/win32_text.h"

#include <wincodec.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace vidorun::ui::win32 {

namespace {

// A cover is a photo of a few hundred kB; anything near this is no picture
// the program means.
constexpr std::size_t LargestPictureFile = 64u << 20;

// The picture's bytes, for reading its header.
class HeldBytes final : public ReadableFile {
public:
    explicit HeldBytes(std::span<const std::byte> bytes) : bytes_(bytes) {}
    std::int64_t size() const override { return std::int64_t(bytes_.size()); }
    std::int64_t read(char *buffer, std::int64_t size) override
    {
        const std::size_t count = std::min(std::size_t(size), bytes_.size() - at_);
        std::memcpy(buffer, bytes_.data() + at_, count);
        at_ += count;
        return std::int64_t(count);
    }
    std::string reason() const override { return {}; }

private:
    std::span<const std::byte> bytes_;
    std::size_t at_ = 0;
};

// A picture whose header says it is bigger than any cover. Some decoders
// (Wine's JPEG) decode the whole picture as they open it, so this is asked
// before the system's decoder sees a byte.
bool announcesTooLarge(std::span<const std::byte> bytes)
{
    HeldBytes file(bytes);
    const std::optional<PictureHeader> header = readPictureHeader(file);
    return header && std::int64_t(header->width) * header->height > MaxPicturePixels;
}

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

// Releases a COM object when it goes out of scope.
template <typename T>
struct Held {
    T *p = nullptr;
    ~Held()
    {
        if (p)
            p->Release();
    }
    T **out() { return &p; }
    T *operator->() const { return p; }
};

// The size a picture of `width` x `height` is decoded at for a frame of
// `shownWidth` x `shownHeight`: filling the frame without a gap, keeping its
// proportions, never larger than the picture itself; its own size when no
// frame size is given.
void decodedSize(UINT width, UINT height, int shownWidth, int shownHeight, UINT &outWidth, UINT &outHeight)
{
    outWidth = width;
    outHeight = height;
    if (shownWidth <= 0 || shownHeight <= 0 || (width <= UINT(shownWidth) && height <= UINT(shownHeight)))
        return;
    const double scale = std::max(double(shownWidth) / width, double(shownHeight) / height);
    if (scale >= 1)
        return;
    outWidth = std::max(1u, UINT(width * scale + 0.5));
    outHeight = std::max(1u, UINT(height * scale + 0.5));
}

std::shared_ptr<const Picture> decodeOnThisThread(std::span<const std::byte> bytes, int shownWidth, int shownHeight)
{
    Held<IWICImagingFactory> factory;
    Held<IWICStream> stream;
    Held<IWICBitmapDecoder> decoder;
    Held<IWICBitmapFrameDecode> frame;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void **>(factory.out())))
        || FAILED(factory->CreateStream(stream.out()))
        || FAILED(stream->InitializeFromMemory(reinterpret_cast<BYTE *>(const_cast<std::byte *>(bytes.data())),
                                               DWORD(bytes.size())))
        || FAILED(factory->CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnDemand, decoder.out()))
        || FAILED(decoder->GetFrame(0, frame.out())))
        return nullptr;
    UINT width = 0, height = 0;
    // A picture that says it is bigger than any cover is refused before a
    // byte of it is decoded.
    if (FAILED(frame->GetSize(&width, &height)) || width == 0 || height == 0
        || std::int64_t(width) * height > MaxPicturePixels)
        return nullptr;
    UINT shownAtWidth = 0, shownAtHeight = 0;
    decodedSize(width, height, shownWidth, shownHeight, shownAtWidth, shownAtHeight);
    IWICBitmapSource *source = frame.p;
    Held<IWICBitmapScaler> scaler;
    if (shownAtWidth != width || shownAtHeight != height) {
        if (FAILED(factory->CreateBitmapScaler(scaler.out()))
            || FAILED(scaler->Initialize(frame.p, shownAtWidth, shownAtHeight, WICBitmapInterpolationModeFant)))
            return nullptr;
        source = scaler.p;
    }
    // Premultiplied, so that a picture's transparent parts can take the
    // window's grey.
    Held<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.out()))
        || FAILED(converter->Initialize(source, GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                                        WICBitmapPaletteTypeCustom)))
        return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = LONG(shownAtWidth);
    info.bmiHeader.biHeight = -LONG(shownAtHeight);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap)
        return nullptr;
    const UINT stride = shownAtWidth * 4;
    if (FAILED(converter->CopyPixels(nullptr, stride, stride * shownAtHeight, static_cast<BYTE *>(bits)))) {
        DeleteObject(bitmap);
        return nullptr;
    }
    const COLORREF grey = GetSysColor(COLOR_BTNFACE);
    auto *pixel = static_cast<BYTE *>(bits);
    for (std::size_t i = 0, n = std::size_t(shownAtWidth) * shownAtHeight; i < n; ++i, pixel += 4) {
        const unsigned uncovered = 255u - pixel[3];
        pixel[0] = BYTE(pixel[0] + GetBValue(grey) * uncovered / 255);
        pixel[1] = BYTE(pixel[1] + GetGValue(grey) * uncovered / 255);
        pixel[2] = BYTE(pixel[2] + GetRValue(grey) * uncovered / 255);
        pixel[3] = 255;
    }
    return std::make_shared<Win32Picture>(bitmap, int(shownAtWidth), int(shownAtHeight));
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

std::shared_ptr<const Picture> decodePicture(std::span<const std::byte> bytes, int shownWidth, int shownHeight)
{
    if (bytes.empty() || bytes.size() > LargestPictureFile || announcesTooLarge(bytes))
        return nullptr;
    // The decoder needs COM on the calling thread, which may be a worker's.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    std::shared_ptr<const Picture> picture = decodeOnThisThread(bytes, shownWidth, shownHeight);
    if (SUCCEEDED(com))
        CoUninitialize();
    return picture;
}

std::shared_ptr<const Picture> loadPicture(std::string_view path, int shownWidth, int shownHeight)
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
    return decodePicture(bytes, shownWidth, shownHeight);
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
        // A bitmap the system loads itself: the window needs no picture
        // decoder before it is up.
        auto *bitmap = static_cast<HBITMAP>(
            LoadImageW(program, MAKEINTRESOURCEW(VIDORUN_CODEC_LOGO), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        BITMAP size{};
        if (!bitmap || !GetObjectW(bitmap, sizeof size, &size)) {
            if (bitmap)
                DeleteObject(bitmap);
            return nullptr;
        }
        return std::make_shared<Win32Picture>(bitmap, int(size.bmWidth), int(std::abs(size.bmHeight)));
    }
    return nullptr;
}

}  // namespace vidorun::ui::win32
