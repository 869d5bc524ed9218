// The window's commands beyond its basics: running them, the menu (popup and
// system menu), and the exported functions of <qorcolor/extensions.h>.
//
// [SECTION] Running a command
// [SECTION] The menu
// [SECTION] Exported functions
#include "commands.h"

#include <qorcolor/extensions.h>

#include <algorithm>
#include <cstring>

#include "../dialog/color_dlg.h"

// [SECTION] Running a command

namespace {

void Import(CColorDlgBase& dlg) {
    CFileDialog dialog(
        TRUE, nullptr, nullptr, OFN_HIDEREADONLY,
        "colour maps (*.json;*.xml;*.clut;*.cmap;*.txt;*.lut)|*.json;*.xml;*.clut;*.cmap;*.txt;*.lut|"
        "all files (*.*)|*.*||",
        &dlg);
    if (dialog.DoModal() != IDOK) return;
    CString reason;
    if (dlg.ImportColorTable(dialog.GetPathName(), reason) == QOR_OK)
        dlg.RecordStep();
    else
        AfxMessageBox(reason, MB_OK | MB_ICONEXCLAMATION);
}

// The format follows the chosen name's extension.
int FormatOf(const CString& extension) {
    static const struct {
        const char* extension;
        int format;
    } kFormats[] = {{"lut", QOR_FORMAT_BINARY_768},
                    {"json", QOR_FORMAT_JSON_PRESET},
                    {"clut", QOR_FORMAT_CLUT},
                    {"cmap", QOR_FORMAT_CMAP},
                    {"txt", QOR_FORMAT_TEXT}};
    for (const auto& f : kFormats)
        if (std::strcmp(extension, f.extension) == 0) return f.format;
    return QOR_FORMAT_TEXT;
}

void Export(CColorDlgBase& dlg) {
    CFileDialog dialog(FALSE, "json", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       "JSON preset (*.json)|*.json|node table (*.clut)|*.clut|0-1 RGB lines (*.cmap)|*.cmap|"
                       "768-byte binary table (*.lut)|*.lut|index r g b a text (*.txt)|*.txt||",
                       &dlg);
    if (dialog.DoModal() != IDOK) return;
    CString reason;
    if (dlg.ExportColorTable(dialog.GetPathName(), FormatOf(dialog.GetFileExt()), reason) != QOR_OK)
        AfxMessageBox(reason, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

bool qorcolor::module::RunCommand(CColorDlgBase& dlg, UINT id) {
    switch (id) {
        case ID_AUTO_CONTRAST:
            if (dlg.AutoContrast(CColorDlgBase::kAutoContrastLow, CColorDlgBase::kAutoContrastHigh) == QOR_OK)
                dlg.RecordStep();
            return true;
        case ID_UNDO:
            dlg.Undo();
            return true;
        case ID_REDO:
            dlg.Redo();
            return true;
        case ID_REVERSE_COLORS:
            if (dlg.ReverseColors() == QOR_OK) dlg.RecordStep();
            return true;
        case ID_IMPORT_TABLE:
            Import(dlg);
            return true;
        case ID_EXPORT_TABLE:
            Export(dlg);
            return true;
        default:
            return false;
    }
}

// [SECTION] The menu

namespace {

struct MenuItem {
    UINT id;
    const char* text;
};

// The items with their shortcuts (dialog/keys.cpp); a null text is a separator.
constexpr MenuItem kMenu[] = {
    {ID_AUTO_CONTRAST, "&Auto contrast\tCtrl+L"},
    {ID_UNDO, "&Undo\tCtrl+Z"},
    {ID_REDO, "&Redo\tCtrl+Y"},
    {ID_REVERSE_COLORS, "Re&verse colours\tCtrl+R"},
    {0, nullptr},
    {ID_IMPORT_TABLE, "&Import colour table...\tCtrl+O"},
    {ID_EXPORT_TABLE, "&Export colour table...\tCtrl+S"},
};

bool Available(const CColorDlgBase& dlg, UINT id) {
    switch (id) {
        case ID_AUTO_CONTRAST:
            return dlg.m_pVolume != nullptr || dlg.m_pFlatData != nullptr;
        case ID_UNDO:
            return dlg.CanUndo();
        case ID_REDO:
            return dlg.CanRedo();
        case ID_IMPORT_TABLE:
            return true;
        default:
            return dlg.m_pColorTab != nullptr;
    }
}

void FillMenu(const CColorDlgBase& dlg, HMENU menu) {
    for (const MenuItem& item : kMenu) {
        if (!item.text)
            ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        else
            ::AppendMenuA(menu, MF_STRING | (Available(dlg, item.id) ? 0u : MF_GRAYED), item.id, item.text);
    }
}

}  // namespace

// Raised by the Menu key or Shift+F10 (point -1, -1), or by a right button
// released over the window: over the client area it belongs to the file load,
// over the title bar the system's default shows the system menu.
void CColorDlgBase::OnContextMenu(CWnd* /*pWnd*/, CPoint point) {
    if (point.x != -1 || point.y != -1) {
        Default();
        return;
    }
    CRect rect;
    GetWindowRect(&rect);
    CMenu menu;
    menu.CreatePopupMenu();
    FillMenu(*this, menu.GetSafeHmenu());
    const UINT id = static_cast<UINT>(menu.TrackPopupMenu(
        TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN, rect.left + m_nViewLeft, rect.top + m_nViewTop, this));
    menu.DestroyMenu();
    if (id) RunCommand(id);
}

void CColorDlgBase::OnSysCommand(UINT nID, LPARAM /*lParam*/) {
    if (!RunCommand(nID & 0xFFF0)) Default();
}

// The system menu shows the commands greyed as they stand when it opens.
void CColorDlgBase::OnInitMenuPopup(HMENU /*menu*/, UINT /*index*/, BOOL sysMenu) {
    HMENU system = sysMenu ? ::GetSystemMenu(m_hWnd, FALSE) : nullptr;
    if (!system) return;
    for (const MenuItem& item : kMenu)
        if (item.text)
            ::EnableMenuItem(system, item.id,
                             MF_BYCOMMAND | (Available(*this, item.id) ? MF_ENABLED : MF_GRAYED));
}

void CColorDlgBase::AddCommandsToSystemMenu() {
    HMENU system = ::GetSystemMenu(m_hWnd, FALSE);
    if (!system) return;
    ::AppendMenuA(system, MF_SEPARATOR, 0, nullptr);
    FillMenu(*this, system);
}

// [SECTION] Exported functions

namespace {

CColorDlgBase* Window() { return g_pColorDlg && g_pColorDlg->m_hWnd ? g_pColorDlg : nullptr; }

// Runs `command` on the window and records it as one step when it changed something.
template <class Command>
int Recorded(Command command) {
    CColorDlgBase* dlg = Window();
    if (!dlg) return QOR_NO_WINDOW;
    const int result = command(*dlg);
    if (result == QOR_OK && Window() == dlg) dlg->RecordStep();
    return result;
}

}  // namespace

int QorAutoContrast(double lowFraction, double highFraction) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    return Recorded([&](CColorDlgBase& dlg) { return dlg.AutoContrast(lowFraction, highFraction); });
}

int QorUndo(void) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    CColorDlgBase* dlg = Window();
    return dlg ? dlg->Undo() : QOR_NO_WINDOW;
}

int QorRedo(void) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    CColorDlgBase* dlg = Window();
    return dlg ? dlg->Redo() : QOR_NO_WINDOW;
}

int QorCanUndo(void) {
    CColorDlgBase* dlg = Window();
    return dlg ? (dlg->CanUndo() ? 1 : 0) : QOR_NO_WINDOW;
}

int QorCanRedo(void) {
    CColorDlgBase* dlg = Window();
    return dlg ? (dlg->CanRedo() ? 1 : 0) : QOR_NO_WINDOW;
}

int QorNudgeThreshold(int upper, int bins) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    return Recorded([&](CColorDlgBase& dlg) {
        return dlg.NudgeThreshold(upper != 0, bins) ? QOR_OK : QOR_NOTHING_TO_DO;
    });
}

int QorReverseColors(void) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    return Recorded([](CColorDlgBase& dlg) { return dlg.ReverseColors(); });
}

int QorImportColorTable(const char* path, char* reason, int reasonSize) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    if (!path) return QOR_BAD_ARGUMENT;
    CString why;
    const int result = Recorded([&](CColorDlgBase& dlg) { return dlg.ImportColorTable(path, why); });
    if (reason && reasonSize > 0) {
        const size_t n = std::min(std::strlen(why), static_cast<size_t>(reasonSize) - 1);
        std::memcpy(reason, static_cast<const char*>(why), n);
        reason[n] = '\0';
    }
    return result;
}

int QorExportColorTable(const char* path, int format) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    CColorDlgBase* dlg = Window();
    if (!dlg) return QOR_NO_WINDOW;
    if (!path) return QOR_BAD_ARGUMENT;
    CString reason;
    return dlg->ExportColorTable(path, format, reason);
}

int QorGetHistogram(QorHistogramInfo* info, int* counts, int capacity) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    CColorDlgBase* dlg = Window();
    if (!dlg) return QOR_NO_WINDOW;
    if (capacity < 0 || (capacity > 0 && !counts)) return QOR_BAD_ARGUMENT;
    dlg->ComputeHistogram();
    if (info) {
        const double width = dlg->m_dBinWidth;
        *info = {dlg->m_nBins,
                 dlg->m_dDataMin,
                 dlg->m_dDataMax,
                 width,
                 dlg->m_bLogScale,
                 width > 0 ? (dlg->m_dMinThr - dlg->m_dDataMin) / width : 0.0,
                 width > 0 ? (dlg->m_dMaxThr - dlg->m_dDataMin) / width : 0.0};
    }
    if (dlg->m_pHistogram && capacity > 0)
        std::copy_n(dlg->m_pHistogram, std::min(capacity, dlg->m_nBins), counts);
    return QOR_OK;
}
