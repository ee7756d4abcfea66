// A 32-bit top-down bitmap selected into a memory DC, for reading the colours that a
// paint routine or the screen produced.
#pragma once

#include <windows.h>

#include <algorithm>
#include <utility>

#include "platform/handles.h"

namespace velmorin::test {

class Canvas {
public:
    Canvas(int width, int height, COLORREF fill) : width_(width), height_(height), dc_(::CreateCompatibleDC(nullptr)) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap_.Reset(::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        pixels_ = static_cast<const DWORD*>(bits);
        previous_ = ::SelectObject(dc_, bitmap_.Get());
        const UniqueGdiObject brush(::CreateSolidBrush(fill));
        const RECT all{0, 0, width, height};
        ::FillRect(dc_, &all, static_cast<HBRUSH>(brush.Get()));
    }
    Canvas(const Canvas&) = delete;
    Canvas(Canvas&& other) noexcept
        : width_(other.width_),
          height_(other.height_),
          dc_(std::exchange(other.dc_, nullptr)),
          bitmap_(std::move(other.bitmap_)),
          pixels_(other.pixels_),
          previous_(other.previous_) {}
    Canvas& operator=(const Canvas&) = delete;
    ~Canvas() {
        if (dc_ == nullptr) return;
        ::SelectObject(dc_, previous_);
        ::DeleteDC(dc_);
    }
    // The screen's pixels in a rectangle (in screen coordinates).
    static Canvas FromScreen(RECT area);

    HDC dc() const { return dc_; }
    RECT rect() const { return RECT{0, 0, width_, height_}; }
    COLORREF At(int x, int y) const {
        ::GdiFlush();
        const DWORD p = pixels_[y * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // Pixels of exactly this colour inside the rectangle, and their bounding box.
    int Count(COLORREF colour) const { return Count(colour, rect()); }
    int Count(COLORREF colour, RECT within, RECT* box = nullptr) const {
        int n = 0;
        RECT b{width_, height_, -1, -1};
        for (int y = within.top; y < within.bottom; ++y) {
            for (int x = within.left; x < within.right; ++x) {
                if (At(x, y) != colour) continue;
                ++n;
                b = RECT{std::min<LONG>(b.left, x), std::min<LONG>(b.top, y), std::max<LONG>(b.right, x),
                         std::max<LONG>(b.bottom, y)};
            }
        }
        if (box != nullptr) *box = b;
        return n;
    }

private:
    int width_, height_;
    HDC dc_;
    UniqueGdiObject bitmap_;
    const DWORD* pixels_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

inline Canvas Canvas::FromScreen(RECT area) {
    Canvas canvas(area.right - area.left, area.bottom - area.top, RGB(0, 0, 0));
    HDC screen = ::GetDC(nullptr);
    ::BitBlt(canvas.dc(), 0, 0, area.right - area.left, area.bottom - area.top, screen, area.left, area.top, SRCCOPY);
    ::ReleaseDC(nullptr, screen);
    return canvas;
}

}  // namespace velmorin::test
