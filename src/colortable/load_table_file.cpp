// WM_RBUTTONDOWN: a right click on the dialog reads a colour table from a
// .lut file and makes it the active table.
#include <algorithm>
#include <cstring>
#include <string>

#include "../dialog/color_dlg.h"

namespace {

constexpr size_t kPathBytes = 1024;  // the path, an appended ".lut" and the terminator

// The text after the last path separator (the whole path when it has none).
const char* FileNameOf(const char* path) {
    const char* name = path;
    for (const char* c = path; *c; ++c)
        if (*c == '\\' || *c == '/') name = c + 1;
    return name;
}

}  // namespace

void CColorDlgBase::OnRButtonDown(UINT /*nFlags*/, CPoint /*point*/) {
    CFileDialog dialog(TRUE, "Read a color table from a lut file.", nullptr, OFN_HIDEREADONLY,
                       "Look up color table(*.lut)|*.lut|all files(*.*)|*.*||", nullptr, 0, TRUE);
    if (dialog.DoModal() == IDOK) LoadTableFile(dialog.GetPathName(), dialog.GetFileExt());
    Default();
}

void CColorDlgBase::LoadTableFile(const char* chosenPath, const char* extension) {
    // A file chosen under "all files" is looked for with ".lut" added; the
    // comparison is exact, so "HOT.LUT" becomes "HOT.LUT.lut". A path with
    // no room for that is refused.
    std::string path = chosenPath;
    if (std::strcmp(extension, "lut") != 0) path += ".lut";
    if (path.size() + 1 > kPathBytes) return;
    char buffer[kPathBytes];
    std::memcpy(buffer, path.c_str(), path.size() + 1);

    if (!m_pFileTab) m_pFileTab = new unsigned char[4 * CDIB::kBuiltInEntries];
    if (!CDIB::OpenColorTableFromFile(buffer, m_pFileTab)) return;

    m_pColorTab = reinterpret_cast<unsigned int*>(m_pFileTab);
    m_pszTabName = m_szFileTabName;
    // A name too long for its buffer keeps its beginning.
    const char* name = FileNameOf(buffer);
    const size_t length = std::min(std::strlen(name), sizeof m_szFileTabName - 1);
    std::memcpy(m_szFileTabName, name, length);
    m_szFileTabName[length] = '\0';
    m_nMaxIndex = CDIB::kBuiltInEntries - 1;
    m_nLowIndex = 0;
    m_nHighIndex = CDIB::kBuiltInEntries - 1;
    UpdateView(m_bNotify);
}
