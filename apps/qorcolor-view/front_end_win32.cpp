// Windows front end: the slice in a window of its own beside the colour
// table window. The wheel and the arrow or page keys step through the
// slices; 1, 2 and 3 show the axial, coronal and sagittal view.
#define WIN32_LEAN_AND_MEAN
#include <qorcolor/controls.h>
#include <qorcolor/qorcolor.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "front_end.h"

namespace qview {

namespace {

constexpr char kClass[] = "QorColorViewImage";
constexpr int kClientHeight = 512;
Viewer* g_viewer = nullptr;
HWND g_window = nullptr;

void OnRepaint(Viewer& viewer) {
    if (!g_window) return;
    SetWindowTextA(g_window, ("qorcolor-view - " + Title(viewer)).c_str());
    InvalidateRect(g_window, nullptr, FALSE);
}

// The slice as large as the client area allows, in its voxels' proportions,
// on black.
void Paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    const Image& image = g_viewer->image;
    if (image.width > 0 && image.height > 0) {
        float pw = 1, ph = 1;
        PixelSize(g_viewer->volume, g_viewer->axis, pw, ph);
        const auto [dw, dh] = FitSlice(image.width, image.height, pw, ph, client.right, client.bottom);
        BITMAPINFO bmi{};
        bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
        bmi.bmiHeader.biWidth = image.width;
        bmi.bmiHeader.biHeight = -image.height;  // rows top-down
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchDIBits(dc, (client.right - dw) / 2, (client.bottom - dh) / 2, dw, dh, 0, 0, image.width,
                      image.height, image.pixels.data(), &bmi, DIB_RGB_COLORS, SRCCOPY);
    }
    EndPaint(hwnd, &ps);
}

bool OnKey(WPARAM key) {
    switch (key) {
        case VK_UP:
        case VK_RIGHT:
        case VK_PRIOR:
            StepSlice(*g_viewer, 1);
            return true;
        case VK_DOWN:
        case VK_LEFT:
        case VK_NEXT:
            StepSlice(*g_viewer, -1);
            return true;
        case '1':
            ShowAxis(*g_viewer, Axis::kAxial);
            return true;
        case '2':
            ShowAxis(*g_viewer, Axis::kCoronal);
            return true;
        case '3':
            ShowAxis(*g_viewer, Axis::kSagittal);
            return true;
        default:
            return false;
    }
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_PAINT:
            Paint(hwnd);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_SIZE:
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_MOUSEWHEEL:
            StepSlice(*g_viewer, GET_WHEEL_DELTA_WPARAM(wp) > 0 ? 1 : -1);
            return 0;
        case WM_KEYDOWN:
            if (OnKey(wp)) return 0;
            break;
        case WM_TIMER:
            DestroyWindow(hwnd);
            return 0;
        case WM_DESTROY:
            g_window = nullptr;
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

// To the right of the colour table window, the slice kClientHeight high and
// no wider than the screen.
HWND CreateImageWindow(HINSTANCE instance) {
    RECT table{0, 0, 0, 0};
    GetWindowRect(FindWindowA(nullptr, QOR_CAPTION), &table);
    float pw = 1, ph = 1;
    PixelSize(g_viewer->volume, g_viewer->axis, pw, ph);
    const Image& image = g_viewer->image;
    const Size fit =
        FitSlice(image.width, image.height, pw, ph, GetSystemMetrics(SM_CXSCREEN), kClientHeight);
    RECT frame{0, 0, std::max(64, fit.width), kClientHeight};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    return CreateWindowExA(0, kClass, "qorcolor-view", WS_OVERLAPPEDWINDOW | WS_VISIBLE, table.right + 8,
                           table.top, frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                           instance, nullptr);
}

}  // namespace

int RunFrontEnd(Viewer& viewer, const Options& options) {
    g_viewer = &viewer;
    viewer.onRepaint = OnRepaint;
    OpenInWindow(viewer);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kClass;
    RegisterClassA(&wc);
    g_window = CreateImageWindow(instance);
    if (!g_window) {
        std::fprintf(stderr, "qorcolor-view: cannot create the image window\n");
        { CQorColorDlg end; }
        return 1;
    }
    OnRepaint(viewer);
    std::printf("%s\n", Title(viewer).c_str());
    if (options.seconds > 0) SetTimer(g_window, 1, UINT(options.seconds * 1000), nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    { CQorColorDlg end; }
    return 0;
}

}  // namespace qview
