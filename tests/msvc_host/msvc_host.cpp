// A host as an MSVC-built application sees the library: the public header
// compiled with MSVC's name decoration and class layout, linked against
// qorcolor.lib. Freestanding (no C runtime), so it checks by hand and
// reports through its exit code: 0 when every check holds, otherwise the
// number of the first failed check.
#include <qorcolor/extensions.h>
#include <qorcolor/headless.h>
#include <qorcolor/qorcolor.h>

extern "C" {
int _fltused = 0;  // the compiler's marker that floating point is used; normally the runtime's
__declspec(dllimport) void __stdcall ExitProcess(unsigned int code);
__declspec(dllimport) void* __stdcall FindWindowA(const char* className, const char* title);
__declspec(dllimport) void* __stdcall GetDlgItem(void* dialog, int id);
__declspec(dllimport) int __stdcall SetWindowTextA(void* window, const char* text);
}

namespace {

int g_failed = 0;
int g_check = 0;
void Check(bool ok) {
    ++g_check;
    if (!ok && g_failed == 0) g_failed = g_check;
}

int g_calls = 0;
const void* g_lastParam = nullptr;
void OnChange(ColorTabParam* param) {
    ++g_calls;
    g_lastParam = param;
}

int AnswerOk(const char*, const char*, unsigned int, void*) { return 1; }
int Cancel(int, const char*, const char*, unsigned int, char*, int, void*) { return 0; }

template <typename T>
T At(const void* record, int offset) {
    return *reinterpret_cast<const T*>(static_cast<const char*>(record) + offset);
}

unsigned char g_voxels[256];
unsigned int g_hostTable[256];
unsigned int g_ownTable[256];

void Run() {
    QorSetMessageBoxProvider(&AnswerOk, nullptr);
    QorSetFileDialogProvider(&Cancel, nullptr);

    int isVolume = 7, count = 16;
    double minThr = 0, maxThr = 0, dataMin = 0, dataMax = 0;
    Check(CQorColorDlg::GetColorTabParam() == nullptr && CQorColorDlg::GetData() == nullptr &&
          CQorColorDlg::Initialize() == nullptr);
    Check(CQorColorDlg::UpdateDataColorTab() == 0 && CQorColorDlg::GenerateColorTab(g_ownTable) == 0);
    Check(CQorColorDlg::GetColorTabEx(isVolume, count, minThr, maxThr, dataMin, dataMax) == 0 &&
          CQorColorDlg::UpdateDataColorTabEx(isVolume, count, minThr, maxThr, dataMin, dataMax) == 0 &&
          CQorColorDlg::GenerateColorTabEx(g_ownTable, count, minThr, maxThr, dataMin, dataMax) == 0);
    CQorColorDlg::RecomputeHistogram();

    for (int i = 0; i < 256; ++i) g_voxels[i] = static_cast<unsigned char>(i);
    CQorColorDlg::show();
    Check(CQorColorDlg::GetColorTabParam() != nullptr);
    CQorColorDlg::showInit(reinterpret_cast<void***>(g_voxels), -2, 16, 16, 1,
                           reinterpret_cast<void*>(&OnChange), const_cast<char*>("msvc host"), g_hostTable);
    const void* param = CQorColorDlg::GetColorTabParam();
    Check(param != nullptr && g_calls == 0);
    // The record read by layout: table, highest index, range, thresholds, indices.
    Check(At<unsigned int*>(param, 0) != nullptr && At<int>(param, 8) == 255);
    Check(At<double>(param, 16) == 255.0 && At<double>(param, 24) == 0.0);
    Check(At<double>(param, 32) == 255.0 && At<double>(param, 40) == 0.0);
    Check(At<int>(param, 48) == 255 && At<int>(param, 52) == 0);

    Check(CQorColorDlg::UpdateDataColorTab() == 1 && g_hostTable[255] != 0);
    Check(CQorColorDlg::GenerateColorTab(g_ownTable) == 1 && g_ownTable[255] == g_hostTable[255]);
    count = 16;
    Check(CQorColorDlg::GetColorTabEx(isVolume, count, minThr, maxThr, dataMin, dataMax) == 1 &&
          isVolume == 0);
    Check(minThr == 0.0 && maxThr == 255.0 && dataMin == 0.0 && dataMax == 255.0);
    count = 256;
    Check(CQorColorDlg::UpdateDataColorTabEx(isVolume, count, minThr, maxThr, dataMin, dataMax) == 1);
    Check(CQorColorDlg::GenerateColorTabEx(g_ownTable, count, minThr, maxThr, dataMin, dataMax) == 1);
    Check(CQorColorDlg::GetData() == nullptr);
    const int* bins = static_cast<const int*>(CQorColorDlg::Initialize());
    long long voxels = 0;
    for (int b = 0; bins && b < 1024; ++b) voxels += bins[b];
    Check(voxels == 256);
    CQorColorDlg::RecomputeHistogram();
    Check(CQorColorDlg::Initialize() == bins);
    // The commands beyond the basics reach the DLL through qorcolor.lib as well.
    QorHistogramInfo info{};
    Check(QorAutoContrast(0.0, 1.0) == QOR_OK && QorReverseColors() == QOR_OK && QorCanUndo() == 1 &&
          QorUndo() == QOR_OK && QorGetHistogram(&info, nullptr, 0) == QOR_OK && info.bins == 1024);

    // A user change reaches the callback with the record's address.
    void* dialog = FindWindowA(nullptr, QOR_CAPTION);
    Check(dialog != nullptr);
    SetWindowTextA(GetDlgItem(dialog, 1001), "50");  // the upper threshold in percent
    Check(g_calls >= 1 && g_lastParam == param && At<double>(param, 32) == 127.5);

    // Objects: the constructor returns the object, assignment returns it too,
    // and destroying any object ends the window.
    CQorColorDlg a;
    CQorColorDlg b;
    Check(&(a = b) == &a);
    { CQorColorDlg end; }
    Check(CQorColorDlg::GetColorTabParam() == nullptr);
    QorSetMessageBoxProvider(nullptr, nullptr);
    QorSetFileDialogProvider(nullptr, nullptr);
}

}  // namespace

extern "C" void HostMain() {
    Run();
    ExitProcess(static_cast<unsigned int>(g_failed));
}
