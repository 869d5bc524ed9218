// The other half of a left double click: outside Edit Alpha mode it writes
// the active table to a file, in the format the chosen name's extension
// asks for.
#include <cstring>
#include <string>
#include <vector>

#include "../dialog/color_dlg.h"
#include "colortable.h"

void qorcolor::colortable::SaveActiveTable(CColorDlgBase& dlg) {
    CFileDialog dialog(FALSE, "Save current color table as a text file...", nullptr,
                       OFN_EXPLORER | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       "c++ header file(*.h)|*.h|color lookup table file(*.lut)|*.lut|text file(*.txt)|*.txt|"
                       "all files(*.*)|*.*||",
                       nullptr, 0, TRUE);
    if (dialog.DoModal() != IDOK || !dlg.m_pColorTab) return;
    const std::string chosen = dialog.GetPathName().GetString();
    std::vector<char> path(chosen.c_str(), chosen.c_str() + chosen.size() + 1);
    auto* table = reinterpret_cast<unsigned char*>(dlg.m_pColorTab);
    const int entries = dlg.m_nMaxIndex + 1;
    const CString extension = dialog.GetFileExt();
    // The comparisons are exact: ".H" and ".LUT" get the plain text file.
    if (std::strcmp(extension, "h") == 0)
        CDIB::SaveColorTableToHeaderFile(path.data(), dlg.m_pszTabName, table, entries);
    else
        CDIB::SaveColorTableToLutTxtFile(path.data(), table, entries,
                                         std::strcmp(extension, "lut") == 0 ? 4 : 3);
}
