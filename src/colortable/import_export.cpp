// Reading a colour table file of any known form into the file table, and
// writing the active table in the forms other tools read.
#include <qorcolor/extensions.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "../canvas/color_map_writers.h"
#include "../canvas/color_table_reader.h"
#include "../dialog/color_dlg.h"

static_assert(int{kBinary768} == QOR_FORMAT_BINARY_768 && int{kJsonPreset} == QOR_FORMAT_JSON_PRESET &&
              int{kClut} == QOR_FORMAT_CLUT && int{kCmap} == QOR_FORMAT_CMAP &&
              int{kIndexText} == QOR_FORMAT_TEXT);

// The right-click load ends here too: the table is only replaced once the
// whole file has been read, and is named after the file.
int CColorDlgBase::ImportColorTable(const char* path, CString& reason) {
    unsigned char read[4 * CDIB::kBuiltInEntries];
    std::string why;
    if (!ReadColorTableFile(path, read, why)) {
        reason = why.c_str();
        return QOR_REFUSED;
    }
    if (!m_pFileTab) m_pFileTab = new unsigned char[sizeof read];
    std::memcpy(m_pFileTab, read, sizeof read);

    // The name is the file's; one too long for its buffer keeps its beginning.
    const std::string whole = path;
    const size_t slash = whole.find_last_of("\\/");
    const std::string name = slash == std::string::npos ? whole : whole.substr(slash + 1);
    const size_t length = std::min(name.size(), sizeof m_szFileTabName - 1);
    std::memcpy(m_szFileTabName, name.c_str(), length);
    m_szFileTabName[length] = '\0';
    ActivateTable(reinterpret_cast<unsigned int*>(m_pFileTab), CDIB::kBuiltInEntries - 1, m_szFileTabName);
    m_nLowIndex = 0;
    m_nHighIndex = CDIB::kBuiltInEntries - 1;
    UpdateView(m_bNotify);
    return QOR_OK;
}

int CColorDlgBase::ExportColorTable(const char* path, int format, CString& reason) {
    if (format < 0 || format >= kColorMapFormats) {
        reason = "unknown export format";
        return QOR_BAD_ARGUMENT;
    }
    ColorMapExport map;
    map.table = m_pColorTab;
    map.entries = m_nMaxIndex + 1;
    map.alpha = m_pAlpha;
    map.knots = m_pAlphaKnot;
    map.minThr = m_dMinThr;
    map.maxThr = m_dMaxThr;
    map.name = m_pszTabName;
    std::string error;
    if (WriteColorMap(path, format, map, error)) return QOR_OK;
    reason = error.c_str();
    return QOR_WRITE_FAILED;
}
