// The state of the portable in-process window system, shared by the files
// that implement the Win32 subset; not seen outside the backend.
//
// The files call one way: each only into the files before it in this order,
// lowest first (tools/check-portable-order holds them to it). A lower file
// reaches a higher one only through a hook the higher one installs.
//   window_system surface dib_blit font messages focus gdi windows
//   def_window_proc static_control button_control edit_control combo_box
//   menu dialog_manager gtk_desktop gtk_dialogs modal_defaults testing
//
// Structs: Window, DeviceContext, WindowSystem, Busy, Presenter, DrawTarget, FontMetrics
// Routines: System, FindWindowRecord, CreateWindowRecord, EndWindowRecord,
// geometry and drawing helpers
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "portable_testing.h"
#include "win32_subset.h"

namespace portable {

struct Font;

enum class WindowKind { Dialog, Edit, Button, Static, ComboBox, ComboList, PopupMenu };

struct Window {
    HWND handle = nullptr;
    WindowKind kind = WindowKind::Static;
    const char* className = "";
    HWND parent = nullptr;  // parent of a child window, owner of a top-level one
    std::vector<HWND> children;
    DWORD style = 0;
    DWORD exStyle = 0;
    int id = 0;
    std::string text;
    RECT rect{};  // a child's in its parent's client coordinates, a top-level window's on the screen
    WNDPROC proc = nullptr;
    bool alive = true;
    bool invalid = false;

    // Dialog
    DLGPROC dialogProc = nullptr;
    LONG_PTR msgResult = 0;
    LONG_PTR user = 0;

    // Edit: the selection runs from anchor to caret.
    int selAnchor = 0;
    int selCaret = 0;

    // Button
    int check = BST_UNCHECKED;
    bool pressed = false;

    // Combo box: item data by index, and the dropped list while it is open.
    std::vector<UINT_PTR> items;
    int curSel = -1;
    int dropHeight = 0;  // field and list, as the template gives it
    HWND list = nullptr;

    // Dropped list: the first item shown and the one under the mouse.
    int topIndex = 0;
    int hot = -1;

    // Popup menu while it tracks: its menu, and the item chosen (0: none yet).
    HMENU menu = nullptr;
    UINT chosen = 0;
    bool ended = false;

    // Dialog and dropped list: the font of their text.
    const Font* font = nullptr;

    // Top-level window: its client pixels, 0x00RRGGBB, rows top-down.
    int surfaceWidth = 0;
    int surfaceHeight = 0;
    std::vector<uint32_t> surface;
};

struct DeviceContext {
    HWND hwnd = nullptr;  // null: the screen, which shows nothing
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
};

struct WindowSystem {
    // Live windows by handle. Handles grow and are never reused, so a larger
    // handle is a newer window.
    std::unordered_map<uintptr_t, std::unique_ptr<Window>> windows;
    uintptr_t nextWindow = 0x10010;
    // Destroyed windows wait here while a message or a destruction is under
    // way, since a caller up the stack may still hold their record.
    std::vector<std::unique_ptr<Window>> ended;
    int busy = 0;
    std::deque<MSG> queue;
    HWND focus = nullptr;
    HWND capture = nullptr;
    bool shiftDown = false;  // as the last keyboard or mouse input reported it
    bool controlDown = false;
    std::map<uintptr_t, std::vector<PopupMenuItem>> menus;
    uintptr_t nextMenu = 0x40010;
    std::map<HWND, HMENU> systemMenus;
    HWND tracking = nullptr;  // the popup menu window being tracked
    PopupMenuAnswerer menuAnswerer = nullptr;
    void* menuAnswererContext = nullptr;
    // The framework's pre-translation of keyboard input for a dialog; true
    // when it took the message.
    bool (*preTranslate)(HWND dialog, MSG* msg) = nullptr;
    // Installed by menu.cpp: opens a window's system menu, as Alt+Space does.
    void (*trackSystemMenu)(HWND hWnd) = nullptr;
    // The desktop's nested loop while a menu tracks; false offscreen.
    bool (*runMenuLoop)(HWND menuWindow) = nullptr;
    std::map<uintptr_t, DeviceContext> dcs;
    uintptr_t nextDc = 0x20010;
    std::map<uintptr_t, COLORREF> brushes;
    uintptr_t nextBrush = 0x30010;
    std::vector<RecordedMessageBox> messageBoxes;
    std::vector<RecordedFileDialog> fileDialogs;
};

WindowSystem& System();

// Marks a message or a destruction as under way; the records of windows
// destroyed meanwhile are freed when the outermost one ends.
struct Busy {
    Busy() { ++System().busy; }
    ~Busy();
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;
};

// The live window of a handle; null for null, unknown or destroyed handles.
Window* FindWindowRecord(HWND hWnd);

// Creates a window without sending it anything.
Window* CreateWindowRecord(WindowKind kind, const char* className, DWORD style, DWORD exStyle,
                           const RECT& rect, HWND parent, int id, const char* text, WNDPROC proc);

// Takes a destroyed window out of the table.
void EndWindowRecord(Window* w);

// Control window procedures.
LRESULT CALLBACK DialogWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK EditWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ButtonWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK StaticWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ComboBoxWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ComboListWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// Geometry.
bool IsTopLevel(const Window* w);
Window* TopLevelOf(Window* w);
RECT FrameInsets(const Window* w);  // non-client widths: left, top, right, bottom
RECT ScreenWindowRect(const Window* w);
POINT ScreenClientOrigin(const Window* w);
SIZE ClientSize(const Window* w);
bool IsShown(const Window* w);  // visible with all its ancestors

// Marks a window, and the children it does not clip, for repainting.
void InvalidateTree(Window* w);

// The desktop presenter (gtk_desktop.cpp) shows the top-level windows on a
// display. It stands above every other file, so the files below reach it
// only through these hooks, which it installs as the library loads; without
// them every window stays offscreen.
struct Presenter {
    void (*show)(Window* top, bool shown);
    void (*caption)(const Window* top);
    void (*destroyed)(const Window* top);
    void (*dirty)(const Window* top, const RECT& area);
    bool (*workArea)(const Window* top, RECT& area);  // false when not on a display
};
void InstallPresenter(const Presenter& presenter);

// Through the presenter: a top-level window was shown or hidden, got a
// caption, ends, or had pixels of its surface redrawn.
void DesktopShow(Window* top, bool shown);
void DesktopCaption(const Window* top);
void DesktopDestroyed(const Window* top);
void DesktopDirty(const Window* top, const RECT& area);
// The screen's work area around a top-level window, in the window system's
// screen coordinates; unbounded offscreen.
RECT DesktopWorkArea(const Window* top);

// The desktop's own message box and file dialog (gtk_dialogs.cpp); false
// when there is no desktop to ask on.
bool DesktopMessageBox(HWND owner, const char* text, const char* caption, UINT type, int& answer);
bool DesktopFileDialog(bool open, const char* filter, DWORD flags, std::string& path, bool& chosen);

// The popup menu window (menu.cpp).
LRESULT CALLBACK PopupMenuWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// The desktop's route for input (dialog_manager.cpp).
void RouteInput(MSG& msg);

// Sends WM_COMMAND with a notification code to a control's parent.
void NotifyParent(Window* control, int code);

// Drawing onto a top-level window's surface. A target's coordinates are
// relative to `origin`; everything outside `clip` (surface coordinates) is dropped.
struct DrawTarget {
    Window* top = nullptr;
    POINT origin{};
    RECT clip{};
};
DrawTarget ClientTarget(Window* w);  // the client area, empty when not shown
DrawTarget WindowTarget(Window* w);  // the whole window, frame included
bool TargetOfDc(HDC hdc, DrawTarget& target, DeviceContext*& dc);
void FillOn(const DrawTarget& target, const RECT& rect, COLORREF color);
void FrameOn(const DrawTarget& target, const RECT& rect, COLORREF color);
void PutPixelOn(const DrawTarget& target, int x, int y, COLORREF color);

// Fonts, in pixels at 96 DPI. `baseUnitX` is the dialog manager's average
// width of the Latin letters; `height` is the other base unit.
struct FontMetrics {
    int height, ascent, descent, internalLeading, averageWidth, maxWidth, baseUnitX;
};
// The font of a face name and size, made once and kept: never null, blank
// when no font file can be read at all.
const Font& FindFont(const char* faceName, int points);
const Font& DefaultFont();
const Font& FontOf(const Window* w);  // its dialog's font
const FontMetrics& MetricsOf(const Font& font);
int TextWidth(const Font& font, const std::string& text);
// Draws anti-aliased text with its top at y onto what the target holds (or
// onto `background`, filled first); returns the advance in pixels.
int TextOn(const DrawTarget& target, const Font& font, int x, int y, const std::string& text, COLORREF color,
           const COLORREF* background);

}  // namespace portable
