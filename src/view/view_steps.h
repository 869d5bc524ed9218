// The steps of the refresh, in the order UpdateView runs them.
//
// Routines: ClampThresholds, ClampIndices, FindPeak, PlaceHandles,
// DrawColumns, DrawHandles, DrawBinMarker, UpdatePercentages
#pragma once

#include "layout.h"

class CColorDlgBase;

namespace view {

// Sets m_dMinGapThr and keeps each threshold inside its own band of the data
// range; one threshold is never moved because of the other.
void ClampThresholds(CColorDlgBase& dlg, const ViewLayout& l);

// Sets m_nMinGapIndex and keeps each colour index inside its own band of the
// table, so that both always address an entry.
void ClampIndices(CColorDlgBase& dlg, const ViewLayout& l);

// Scans the counts for the largest one while the cached peak is unknown (0),
// then takes it as the scale of the bars.
void FindPeak(CColorDlgBase& dlg);

// The six handle points, in handle index order.
void PlaceHandles(CColorDlgBase& dlg, const ViewLayout& l);

// One pass over the histogram columns: the bar in the mapped colour and the
// colour bar below it.
void DrawColumns(CColorDlgBase& dlg, const ViewLayout& l);

// Connecting lines, then the triangular and the square handles.
void DrawHandles(CColorDlgBase& dlg, const ViewLayout& l);

// Outline around the column of the bin under the mouse.
void DrawBinMarker(CColorDlgBase& dlg, const ViewLayout& l);

// The thresholds again as percentages of the data range.
void UpdatePercentages(CColorDlgBase& dlg, const ViewLayout& l);

}  // namespace view
