#pragma once

// Pictures as the Windows front end shows them: a device-independent
// bitmap of the picture's own size, painted by a picture frame control
// (class "VidorunPicture") stretched to fill it or at its own size.
#include "platform/win32_api.h"
#include "ui/window_view.h"

#include <memory>

namespace vidorun::ui::win32 {

class Win32Picture final : public Picture {
public:
    Win32Picture(HBITMAP bitmap, int width, int height) : bitmap_(bitmap), width_(width), height_(height) {}
    ~Win32Picture() override { DeleteObject(bitmap_); }
    Win32Picture(const Win32Picture &) = delete;
    Win32Picture &operator=(const Win32Picture &) = delete;

    HBITMAP bitmap() const { return bitmap_; }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    HBITMAP bitmap_;
    int width_, height_;
};

inline constexpr wchar_t PictureFrameClass[] = L"VidorunPicture";
// The frame's own style bit: the picture is stretched to fill it.
inline constexpr DWORD PictureScaled = 0x0001;

void registerPictureFrameClass(HINSTANCE instance);
// What the frame shows from now on (nothing: an empty frame).
void showPicture(HWND frame, std::shared_ptr<const Picture> picture);
// Whether the frame shows a picture, and the picture it shows (nothing: none).
bool showsPicture(HWND frame);
std::shared_ptr<const Picture> shownPicture(HWND frame);

// A picture that is part of the program, for a frame whose client area is
// width x height pixels: the icon drawn to fill it, or the codec logo.
std::shared_ptr<const Picture> builtInPicture(BuiltInPicture which, int width, int height);

}  // namespace vidorun::ui::win32
