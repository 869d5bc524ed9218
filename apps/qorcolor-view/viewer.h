// The viewer's state and its side of the loop with the colour table window:
// volume -> showInit -> notification -> host tables -> painted slice.
//
// Structs: Viewer
// Functions: OpenInWindow, Refresh, StepSlice, ShowAxis, Title, NameOf
//
// The front ends (a window of their own, or pictures) show `image` and call
// StepSlice and ShowAxis for the user's keys; everything else happens here.
#pragma once

#include <string>
#include <vector>

#include "nifti.h"
#include "slice.h"

namespace qview {

struct Viewer {
    nifti::Volume volume;
    std::string name;  // shown in the window's label and the title; names the pictures
    Axis axis = Axis::kAxial;
    int slice[3] = {0, 0, 0};             // the slice shown in each view, by Axis
    std::vector<unsigned int> hostTable;  // given to the window: room for a 16-bit value-indexed table
    Tables tables;
    Image image;
    int repaints = 0;
    void (*onRepaint)(Viewer&) = nullptr;  // the front end shows the new image
};

// Hands the voxels to the colour table window as one flat buffer, with a
// callback that repaints, starts in the middle slice of each view and paints.
// Only one viewer can be open: the window has one callback.
void OpenInWindow(Viewer& viewer);
// Fetches the tables from the window and repaints the current slice.
void Refresh(Viewer& viewer);
void StepSlice(Viewer& viewer, int delta);
void ShowAxis(Viewer& viewer, Axis axis);
// File, size, type, byte order, view and slice, scale slope and intercept.
std::string Title(const Viewer& viewer);
// "scan" for "/data/scan.nii.gz".
std::string NameOf(const std::string& path);

}  // namespace qview
