// Commands beyond the window's basics, for hosts.
//
// Enums: QorResult (what every command returns), QorTableFormat (export formats)
// Records: QorHistogramInfo (the histogram as the window holds it)
// Functions: QorAutoContrast, QorUndo, QorRedo, QorCanUndo, QorCanRedo,
//   QorNudgeThreshold, QorReverseColors, QorImportColorTable,
//   QorExportColorTable, QorGetHistogram
//
// Each works on the one colour table window of the process, exactly as the
// window's own menu and keys do: one refresh, and one notification when the
// window's Refresh box is checked. Every function returns QOR_NO_WINDOW
// before show or showInit has created the window.
#pragma once

#include "qorcolor.h"

#ifdef __cplusplus
extern "C" {
#endif

enum QorResult {
    QOR_OK = 0,
    QOR_NO_WINDOW = -1,      // no window yet, or it has ended
    QOR_BAD_ARGUMENT = -2,   // out of range, NaN, or in the wrong order; nothing changed
    QOR_NOTHING_TO_DO = -3,  // e.g. nothing to undo, or data of one value: nothing changed
    QOR_REFUSED = -4,        // a file not in a form the window reads; nothing changed
    QOR_WRITE_FAILED = -5,   // the file could not be written; nothing was left behind
};

// Export formats. The 256-entry forms resample larger tables to 256 entries.
enum QorTableFormat {
    QOR_FORMAT_BINARY_768 = 0,   // 256 reds, 256 greens, 256 blues, one byte each
    QOR_FORMAT_JSON_PRESET = 1,  // a JSON preset: RGBPoints in data units, the alpha knots as Points
    QOR_FORMAT_CLUT = 2,         // INI-style nodes ([INT] numnodes, [BYT], [RGBA255])
    QOR_FORMAT_CMAP = 3,         // lines of "r g b" from 0 to 1
    QOR_FORMAT_TEXT = 4,         // lines of "index r g b a" from 0 to 255
};

// Thresholds become exact voxel values: with the N voxels (NaN left out)
// sorted ascending as s[0..N-1], each threshold is s[floor(p * (N - 1))].
// 0 <= lowFraction < highFraction <= 1. QOR_NOTHING_TO_DO when the data hold
// one value or no number at all (the thresholds stay).
QORCOLOR_API int QorAutoContrast(double lowFraction, double highFraction);

// The user's last gesture, and its undoing. At least 100 steps are kept;
// showInit and RecomputeHistogram start a new history.
QORCOLOR_API int QorUndo(void);
QORCOLOR_API int QorRedo(void);
// 1 when there is a step to undo (redo), else 0; QOR_NO_WINDOW without a window.
QORCOLOR_API int QorCanUndo(void);
QORCOLOR_API int QorCanRedo(void);

// Moves the upper (upper != 0) or lower threshold by `bins` histogram bins,
// at least one value for integer data; the other threshold follows as it
// does for typing. As Up/Down (1 bin) and Page Up/Page Down (10 bins) in the
// threshold edits.
QORCOLOR_API int QorNudgeThreshold(int upper, int bins);

// Entry i of the active table becomes entry N - 1 - i; the alpha curve stays.
QORCOLOR_API int QorReverseColors(void);

// Reads a colour table file of any form the window knows (its own forms and
// the JSON preset, XML colour map, .clut, .cmap, tagged-text and
// index-name-rgba forms) and makes it the active table. On QOR_REFUSED,
// `reason` (when not null) receives a zero-terminated explanation.
QORCOLOR_API int QorImportColorTable(const char* path, char* reason, int reasonSize);

// Writes the active table (with its alpha curve and thresholds where the
// format holds them) to `path`, through a temporary file and a rename.
QORCOLOR_API int QorExportColorTable(const char* path, int format);

// The histogram as the window shows it.
typedef struct QorHistogramInfo {
    int bins;                 // 1024
    double dataMin, dataMax;  // bin b covers [dataMin + b * binWidth, dataMin + (b + 1) * binWidth)
    double binWidth;
    int logScale;            // 1 when the window draws counts on a log scale
    double lowThresholdBin;  // the thresholds in bins, fractional: (thr - dataMin) / binWidth
    double highThresholdBin;
} QorHistogramInfo;

// Fills `info` (when not null) and up to `capacity` counts.
QORCOLOR_API int QorGetHistogram(QorHistogramInfo* info, int* counts, int capacity);

#ifdef __cplusplus
}
#endif
