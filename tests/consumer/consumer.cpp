// Shows the window on a small volume through the installed library and
// checks what the host reads back; the exit code tells.
#include <qorcolor/headless.h>
#include <qorcolor/qorcolor.h>

#include <cstdio>
#include <vector>

int main() {
    QorSetMessageBoxProvider([](const char*, const char*, unsigned, void*) { return 1; }, nullptr);
    std::vector<unsigned short> voxels(64);
    for (size_t i = 0; i < voxels.size(); ++i) voxels[i] = static_cast<unsigned short>(100 * i);
    std::vector<unsigned int> table(65535);
    CQorColorDlg::showInit(reinterpret_cast<void***>(voxels.data()), -512, 4, 4, 4, nullptr,
                           const_cast<char*>("consumer"), table.data());
    const auto* param = static_cast<const ColorTabParam*>(CQorColorDlg::GetColorTabParam());
    const bool ok = param && param->dDataMax == 6300.0 && CQorColorDlg::UpdateDataColorTab() == 1;
    { CQorColorDlg end; }
    std::printf("consumer: %s\n", ok ? "ok" : "failed");
    return ok && CQorColorDlg::GetColorTabParam() == nullptr ? 0 : 1;
}
