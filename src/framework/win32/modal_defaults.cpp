// The default modal questions on Windows: the real message box and the common
// open and save dialogs.
#include <algorithm>
#include <vector>

#include "../backend.h"

int BackendMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    return MessageBoxA(owner, text ? text : "", caption ? caption : "", type);
}

namespace {

constexpr DWORD kPathSize = 4096;

// "Text|*.txt|All|*.*||" -> the common dialog's NUL-separated list, ending
// in two NULs whatever the input ends with; empty for no filter.
std::vector<char> CommonDialogFilter(const char* filter) {
    std::vector<char> out;
    if (!filter || !*filter) return out;
    for (const char* c = filter; *c; ++c) out.push_back(*c == '|' ? '\0' : *c);
    out.push_back('\0');
    out.push_back('\0');
    return out;
}

}  // namespace

bool BackendFileDialog(bool open, const char* defaultExt, const char* filter, DWORD flags,
                       std::string& path) {
    std::vector<char> buffer(kPathSize, '\0');
    path.copy(buffer.data(), std::min<size_t>(path.size(), kPathSize - 1));
    const std::vector<char> filterList = CommonDialogFilter(filter);

    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = GetActiveWindow();
    ofn.lpstrFilter = filterList.empty() ? nullptr : filterList.data();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = kPathSize;
    ofn.lpstrDefExt = defaultExt && *defaultExt ? defaultExt : nullptr;
    ofn.Flags = flags;
    const BOOL chosen = open ? GetOpenFileNameA(&ofn) : GetSaveFileNameA(&ofn);
    if (!chosen) return false;
    path = buffer.data();
    return true;
}
