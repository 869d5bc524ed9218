// What tests may see of the portable window system beyond the Win32 subset.
//
// Structs: RecordedMessageBox, RecordedFileDialog, PopupMenuItem
// Functions: ReadClientPixels, RecordedMessageBoxes, RecordedFileDialogs,
// ClearRecordedQuestions, SetPopupMenuAnswerer, DeliverInput, OnDesktop, LiveWindowCount, WindowRecordCount,
// ResetWindowSystem
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "win32_subset.h"

namespace portable {

// A message box the default provider answered.
struct RecordedMessageBox {
    std::string text;
    std::string caption;
    UINT type;
};

// A file dialog the default provider cancelled.
struct RecordedFileDialog {
    bool open;
    std::string defaultExt;
    std::string filter;
    DWORD flags;
    std::string initialPath;
};

// An item of a popup menu; a separator has id 0 and no text.
struct PopupMenuItem {
    std::string text;
    UINT id;
    bool grayed;
    bool separator;
};

// Answers a popup menu while it tracks, as the person would: returns the id
// chosen, 0 for cancel, or -1 to leave the choice to the input the answerer
// sent the menu window meanwhile (keys through DeliverInput, or clicks).
// Offscreen without an answerer every menu is cancelled. Null removes it.
typedef int (*PopupMenuAnswerer)(HWND menuWindow, const std::vector<PopupMenuItem>& items, void* context);
void SetPopupMenuAnswerer(PopupMenuAnswerer answerer, void* context);

// Input as the desktop delivers it: keyboard messages go through the
// dialog's pre-translation and keyboard interface (to the tracking menu
// while one tracks), then the queue is pumped. `shift` and `control` are the
// modifier state GetKeyState reports meanwhile.
void DeliverInput(HWND target, UINT message, WPARAM wParam, LPARAM lParam, bool shift = false,
                  bool control = false);

// Copies a window's client area from its top-level surface as 0x00RRGGBB,
// rows top-down. False for a handle that is not a live window.
bool ReadClientPixels(HWND hWnd, int& width, int& height, std::vector<uint32_t>& pixels);

const std::vector<RecordedMessageBox>& RecordedMessageBoxes();
const std::vector<RecordedFileDialog>& RecordedFileDialogs();
void ClearRecordedQuestions();

// Whether a window's top-level window is shown on a real display.
bool OnDesktop(HWND hWnd);

int LiveWindowCount();
// Window records held, those of destroyed windows not yet freed included.
size_t WindowRecordCount();

// Destroys every window, empties the queue and forgets focus and capture.
// Handles of destroyed windows stay unused.
void ResetWindowSystem();

}  // namespace portable
