#pragma once
// What a window's client area shows on the screen now, pixel by pixel.
#include <windows.h>

#include <vector>

namespace qortest {

// Top-down rows of `width` pixels.
inline std::vector<COLORREF> ClientPixels(HWND window, int& width, int& height) {
    RECT client{};
    GetClientRect(window, &client);
    width = client.right;
    height = client.bottom;
    HDC dc = GetDC(window);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    std::vector<COLORREF> pixels(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels[static_cast<size_t>(y) * width + x] = GetPixel(memory, x, y);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, dc);
    return pixels;
}

} // namespace qortest
