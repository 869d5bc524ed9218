#include "phantom.h"

#include <qorcolor/datatypes.h>

#include <cmath>
#include <cstring>

namespace qview {

namespace {

constexpr int kNx = 128, kNy = 152, kNz = 112;

// Squared distance from a centre in units of the semi-axes (1 on the surface),
// in voxel coordinates relative to the middle of the volume.
double Ellipsoid(double x, double y, double z, double cx, double cy, double cz, double ax, double ay,
                 double az) {
    const double dx = (x - cx) / ax, dy = (y - cy) / ay, dz = (z - cz) / az;
    return dx * dx + dy * dy + dz * dz;
}

double Tissue(double x, double y, double z) {
    const double head = Ellipsoid(x, y, z, 0, 0, -6, 56, 70, 54);
    if (head > 1) return 0;
    if (Ellipsoid(x, y, z, 24, 20, 0, 7, 7, 7) < 1) return 1500;  // lesion
    for (double side : {-11.0, 11.0})
        if (Ellipsoid(x, y, z, side, 6, 6, 6, 22, 10) < 1) return 140;  // ventricles
    const double brain = Ellipsoid(x, y, z, 0, 0, -2, 48, 62, 46);
    const double folds =
        0.12 * std::sin(x * 0.35 + 0.7) * std::sin(y * 0.35 + 1.9) * std::sin(z * 0.35 + 1.1);
    if (brain < 0.55 + folds) return 860;  // white matter, its border folded
    if (brain < 0.85) return 620;          // grey matter
    if (brain < 1) return 160;             // fluid around the brain
    if (head < 0.86) return 70;            // skull
    return 420;                            // scalp
}

// Deterministic noise of -20 ... 20 from the voxel's position.
int Noise(uint32_t i) {
    i ^= i >> 16, i *= 0x7feb352dU, i ^= i >> 15, i *= 0x846ca68bU, i ^= i >> 16;
    return int(i % 41) - 20;
}

}  // namespace

nifti::Volume MakePhantom() {
    nifti::Volume v;
    v.datatype = qorcolor::CodeOf<int16_t>();
    v.dim[0] = kNx, v.dim[1] = kNy, v.dim[2] = kNz;
    v.pixdim[0] = v.pixdim[1] = v.pixdim[2] = 1.5f;
    v.description = "head phantom";
    v.voxels.resize(v.Count() * sizeof(int16_t));
    uint32_t i = 0;
    for (int z = 0; z < kNz; ++z)
        for (int y = 0; y < kNy; ++y)
            for (int x = 0; x < kNx; ++x, ++i) {
                const double t = Tissue(x - kNx / 2.0, y - kNy / 2.0, z - kNz / 2.0);
                const int16_t value = int16_t(t == 0 ? 0 : t + Noise(i));
                std::memcpy(&v.voxels[size_t(i) * sizeof value], &value, sizeof value);
            }
    return v;
}

}  // namespace qview
