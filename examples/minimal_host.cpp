// The smallest host of the colour table window: hands it a volume, lets a
// user (here a script) change the thresholds, and builds the colour table
// for the volume's values. Start from this one.
#include <qorcolor/headless.h>
#include <qorcolor/qorcolor.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

int g_changes = 0;

// Called on every change the user makes; a real host rebuilds its table and repaints here.
void OnChange(ColorTabParam*) { ++g_changes; }

}  // namespace

int main() {
    // 64 x 64 x 64 unsigned 8-bit voxels, x fastest: a ramp along x.
    const int dim = 64;
    std::vector<uint8_t> voxels(static_cast<size_t>(dim) * dim * dim);
    for (size_t i = 0; i < voxels.size(); ++i) voxels[i] = static_cast<uint8_t>(i % dim * 4);
    std::vector<unsigned int> table(256);  // the value-indexed table of an 8-bit type: table[value]

    // The code negated: one flat buffer rather than slice pointers.
    CQorColorDlg::showInit(reinterpret_cast<void***>(voxels.data()), -QOR_UINT8, dim, dim, dim,
                           reinterpret_cast<void*>(&OnChange), const_cast<char*>("ramp"), table.data());

    // A host with a message loop of its own leaves this to the user.
    QorTypeText(QOR_IDC_MAX_PCT, "75");
    QorPumpMessages();

    const int valueIndexed = CQorColorDlg::UpdateDataColorTab();  // fills `table`
    const auto* param = static_cast<const ColorTabParam*>(CQorColorDlg::GetColorTabParam());
    std::printf("thresholds %g .. %g after %d changes; value 0 -> 0x%08X, value 252 -> 0x%08X\n",
                param->dMinThr, param->dMaxThr, g_changes, table[0], table[252]);
    { CQorColorDlg end; }  // destroying any CQorColorDlg ends the window
    return valueIndexed == 1 && g_changes > 0 ? 0 : 1;
}
