// The exported helpers of <qorcolor/headless.h> that drive the window by
// control id as a user would and read back what it shows: what a scripted
// host or a picture-writing front end needs without the window system.
#include <qorcolor/headless.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "../canvas/dib.h"
#include "../dialog/color_dlg.h"
#if !defined(_WIN32)
#include "../framework/portable/portable_testing.h"
#endif

namespace {

HWND Dialog() { return g_pColorDlg != nullptr ? g_pColorDlg->m_hWnd : nullptr; }

HWND Control(int id) {
    HWND dialog = Dialog();
    return dialog != nullptr ? GetDlgItem(dialog, id) : nullptr;
}

// The client area as 0x00RRGGBB, rows top-down.
bool ReadClient(HWND window, int& width, int& height, std::vector<uint32_t>& pixels) {
#if defined(_WIN32)
    // What the screen holds of the window: Windows keeps no surface of its own for it.
    RECT client;
    if (window == nullptr || !GetClientRect(window, &client)) return false;
    width = client.right, height = client.bottom;
    pixels.assign(size_t(width) * size_t(height), 0);
    if (pixels.empty()) return true;
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;  // rows top-down
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    const bool ok = bitmap != nullptr;
    if (ok) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
        GdiFlush();
        const auto* from = static_cast<const uint32_t*>(bits);
        for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = from[i] & 0xFFFFFF;
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(window, screen);
    return ok;
#else
    return portable::ReadClientPixels(window, width, height, pixels);
#endif
}

}  // namespace

extern "C" QORCOLOR_API int QorTypeText(int controlId, const char* text) {
    HWND edit = Control(controlId);
    if (edit == nullptr || text == nullptr) return 0;
    SendMessageA(edit, EM_SETSEL, 0, -1);
    for (const char* c = text; *c; ++c)
        SendMessageA(edit, WM_CHAR, WPARAM(static_cast<unsigned char>(*c)), 0);
    return 1;
}

extern "C" QORCOLOR_API int QorChooseComboItem(int controlId, int index) {
    HWND combo = Control(controlId);
    if (combo == nullptr || index < 0 || SendMessageA(combo, CB_SETCURSEL, WPARAM(index), 0) == CB_ERR)
        return 0;
    SendMessageA(GetParent(combo), WM_COMMAND, MAKEWPARAM(controlId, CBN_SELCHANGE), LPARAM(combo));
    return 1;
}

extern "C" QORCOLOR_API int QorClickButton(int controlId) {
    HWND button = Control(controlId);
    if (button == nullptr) return 0;
    SendMessageA(button, BM_CLICK, 0, 0);
    return 1;
}

extern "C" QORCOLOR_API int QorIsButtonChecked(int controlId) {
    HWND button = Control(controlId);
    return button != nullptr && SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

extern "C" QORCOLOR_API int QorPumpMessages() {
    // Bounded: a window that keeps invalidating itself cannot hold the caller.
    MSG message;
    int count = 0;
    while (count < 100000 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
        ++count;
    }
    return count;
}

extern "C" QORCOLOR_API int QorIsWindowVisible() {
    HWND dialog = Dialog();
    return dialog != nullptr && IsWindowVisible(dialog) ? 1 : 0;
}

extern "C" QORCOLOR_API int QorIsOnDesktop() {
#if defined(_WIN32)
    return QorIsWindowVisible();
#else
    HWND dialog = Dialog();
    return dialog != nullptr && portable::OnDesktop(dialog) ? 1 : 0;
#endif
}

extern "C" QORCOLOR_API int QorReadWindowPixels(int* width, int* height, unsigned int* pixels, int capacity) {
    int w = 0, h = 0;
    std::vector<uint32_t> read;
    if (!ReadClient(Dialog(), w, h, read)) return 0;
    if (width != nullptr) *width = w;
    if (height != nullptr) *height = h;
    if (pixels != nullptr && capacity >= 0 && read.size() <= size_t(capacity))
        std::copy(read.begin(), read.end(), pixels);
    return int(read.size());
}

extern "C" QORCOLOR_API int QorWritePng(const char* path, const unsigned int* pixels, int width, int height) {
    CDIB dib;
    if (path == nullptr || pixels == nullptr || width < 1 || height < 1 ||
        !dib.NewCreate(width, height, 24, 0, 1))
        return 0;
    // Canvas rows count from the bottom.
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t pixel = pixels[size_t(y) * size_t(width) + size_t(x)];
            const int row = height - 1 - y;
            dib.Line(x, row, x, row, uint8_t(pixel >> 16), uint8_t(pixel >> 8), uint8_t(pixel));
        }
    return dib.SavePng(path) ? 1 : 0;
}

extern "C" QORCOLOR_API int QorWriteViewPng(const char* path) {
    return g_pColorDlg != nullptr && path != nullptr && g_pColorDlg->m_dib.SavePng(path) ? 1 : 0;
}
