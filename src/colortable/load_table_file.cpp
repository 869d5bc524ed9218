// WM_RBUTTONDOWN: a right click on the dialog reads a colour table from a
// .lut file and makes it the active table.
#include <cstring>
#include <string>

#include "../dialog/color_dlg.h"

namespace {

constexpr size_t kPathBytes = 1024;  // the path, an appended ".lut" and the terminator

}  // namespace

void CColorDlgBase::OnRButtonDown(UINT /*nFlags*/, CPoint /*point*/) {
    CFileDialog dialog(TRUE, "Read a color table from a lut file.", nullptr, OFN_HIDEREADONLY,
                       "Look up color table(*.lut)|*.lut|all files(*.*)|*.*||", nullptr, 0, TRUE);
    if (dialog.DoModal() == IDOK) {
        LoadTableFile(dialog);
        RecordStep();
    }
    Default();
}

void CColorDlgBase::LoadTableFile(const CFileDialog& chosen) {
    // A file chosen under "all files" is looked for with ".lut" added; the
    // comparison is exact, so "HOT.LUT" becomes "HOT.LUT.lut". A path with
    // no room for that is refused.
    const char* added = std::strcmp(chosen.GetFileExt(), "lut") == 0 ? "" : ".lut";
    const std::string path = std::string(chosen.GetPathName()) + added;
    if (path.size() + 1 > kPathBytes) return;
    CString ignored;  // a refused file leaves everything as it was, silently
    ImportColorTable(path.c_str(), ignored);
}
