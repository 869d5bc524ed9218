#include "viewer.h"

#include <qorcolor/qorcolor.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace qview {

namespace {

// The largest table the window writes for us.
constexpr int kValueIndexedEntries =
    std::ranges::max_element(qorcolor::kDataTypes, {}, [](const auto& t) { return t.tableEntries; })
        -> tableEntries;
constexpr int kRampEntries = 256;
Viewer* g_open = nullptr;

void OnNotify(ColorTabParam*) {
    if (g_open) Refresh(*g_open);
}

Tables FetchTables(Viewer& viewer) {
    Tables t;
    unsigned int* host = viewer.hostTable.data();
    int isVolume = 0, count = kRampEntries;
    double minThr = 0, maxThr = 0, dataMin = 0, dataMax = 0;
    if (CQorColorDlg::GetColorTabEx(isVolume, count, minThr, maxThr, dataMin, dataMax))
        t.alpha.assign(host, host + kRampEntries);
    const auto* param = static_cast<const ColorTabParam*>(CQorColorDlg::GetColorTabParam());
    if (!param) return t;
    t.minThr = param->dMinThr, t.maxThr = param->dMaxThr;
    const qorcolor::DataType* type = qorcolor::FindDataType(viewer.volume.datatype);
    t.valueIndexed = type && type->tableEntries > 0;
    if (t.valueIndexed) {
        t.offset = type->tableOffset;
        if (CQorColorDlg::UpdateDataColorTab() == 1) t.colors.assign(host, host + type->tableEntries);
    } else {
        t.colors.resize(kRampEntries);
        if (CQorColorDlg::GenerateColorTab(t.colors.data()) != 0) t.colors.clear();
    }
    return t;
}

}  // namespace

void OpenInWindow(Viewer& viewer) {
    const nifti::Volume& v = viewer.volume;
    viewer.hostTable.assign(kValueIndexedEntries, 0);
    for (Axis a : {Axis::kAxial, Axis::kCoronal, Axis::kSagittal})
        viewer.slice[int(a)] = SliceCount(v, a) / 2;
    char label[300];
    std::snprintf(label, sizeof label, "%s %dx%dx%d %s", viewer.name.c_str(), v.dim[0], v.dim[1], v.dim[2],
                  nifti::TypeName(v.datatype));
    g_open = &viewer;
    CQorColorDlg::showInit(reinterpret_cast<void***>(const_cast<uint8_t*>(v.voxels.data())), -v.datatype,
                           v.dim[0], v.dim[1], v.dim[2], reinterpret_cast<void*>(&OnNotify), label,
                           viewer.hostTable.data());
    Refresh(viewer);
}

void Refresh(Viewer& viewer) {
    viewer.tables = FetchTables(viewer);
    viewer.image = PaintSlice(viewer.volume, viewer.axis, viewer.slice[int(viewer.axis)], viewer.tables);
    ++viewer.repaints;
    if (viewer.onRepaint) viewer.onRepaint(viewer);
}

void StepSlice(Viewer& viewer, int delta) {
    int& s = viewer.slice[int(viewer.axis)];
    s = std::clamp(s + delta, 0, SliceCount(viewer.volume, viewer.axis) - 1);
    Refresh(viewer);
}

void ShowAxis(Viewer& viewer, Axis axis) {
    viewer.axis = axis;
    Refresh(viewer);
}

std::string Title(const Viewer& viewer) {
    const nifti::Volume& v = viewer.volume;
    static const char* const kViews[] = {"axial", "coronal", "sagittal"};
    char scale[80] = "no scaling";
    if (v.slope != 0 && std::isfinite(v.slope) && !(v.slope == 1 && v.intercept == 0))
        std::snprintf(scale, sizeof scale, "value = %g x stored + %g", v.slope,
                      std::isfinite(v.intercept) ? v.intercept : 0.0);
    char volumes[40] = "";
    if (v.volumes > 1) std::snprintf(volumes, sizeof volumes, ", volume 1 of %d", v.volumes);
    char text[400];
    std::snprintf(text, sizeof text, "%s - %dx%dx%d %s%s%s - %s %d/%d - %s", viewer.name.c_str(), v.dim[0],
                  v.dim[1], v.dim[2], nifti::TypeName(v.datatype), v.bigEndian ? " big-endian" : "", volumes,
                  kViews[int(viewer.axis)], viewer.slice[int(viewer.axis)] + 1, SliceCount(v, viewer.axis),
                  scale);
    return text;
}

std::string NameOf(const std::string& path) {
    std::string name = path.substr(path.find_last_of("/\\") + 1);
    for (const char* ext : {".nii.gz", ".nii", ".gz"})
        if (name.size() > std::string(ext).size() && name.ends_with(ext))
            return name.substr(0, name.size() - std::string(ext).size());
    return name;
}

}  // namespace qview
