// What tests may see of the portable window system beyond the Win32 subset.
//
// Structs: RecordedMessageBox, RecordedFileDialog
// Functions: ReadClientPixels, RecordedMessageBoxes, RecordedFileDialogs,
// ClearRecordedQuestions, OnDesktop, LiveWindowCount, WindowRecordCount, ResetWindowSystem
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
