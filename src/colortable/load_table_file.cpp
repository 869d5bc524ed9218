// WM_RBUTTONDOWN: a right click on the dialog reads a colour table from a
// .lut file and makes it the active table.
#include <algorithm>
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
    char buffer[kPathBytes];
    std::memcpy(buffer, path.c_str(), path.size() + 1);

    if (!m_pFileTab) m_pFileTab = new unsigned char[4 * CDIB::kBuiltInEntries];
    if (!CDIB::OpenColorTableFromFile(buffer, m_pFileTab)) return;

    // The name is the file's, with the added extension; one too long for its
    // buffer keeps its beginning.
    const std::string name = std::string(chosen.GetFileName()) + added;
    const size_t length = std::min(name.size(), sizeof m_szFileTabName - 1);
    std::memcpy(m_szFileTabName, name.c_str(), length);
    m_szFileTabName[length] = '\0';
    ActivateTable(reinterpret_cast<unsigned int*>(m_pFileTab), CDIB::kBuiltInEntries - 1, m_szFileTabName);
    m_nLowIndex = 0;
    m_nHighIndex = CDIB::kBuiltInEntries - 1;
    UpdateView(m_bNotify);
}
