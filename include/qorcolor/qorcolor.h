// qorcolor public interface.
//
// Classes: CQorColorDlg (exported entry points of the colour table window)
// Records: ColorTabParam (what the window hands to the host)
// The caption and control ids: controls.h; the element types: datatypes.h.
#pragma once

#include <stddef.h>

#include "controls.h"
#include "datatypes.h"

#if defined(_WIN32)
#if defined(QORCOLOR_BUILDING)
#define QORCOLOR_API __declspec(dllexport)
#elif defined(QORCOLOR_STATIC)
#define QORCOLOR_API
#else
#define QORCOLOR_API __declspec(dllimport)
#endif
#else
#define QORCOLOR_API __attribute__((visibility("default")))
#endif

// The record a host reads by layout: the active colour table, its highest
// index, the data range, the two thresholds and the two colour indices.
// Each pair lists the upper value first.
struct ColorTabParam {
    unsigned int* pColorTab;  // entries are B, G, R, A bytes from the lowest
    int nMaxIndex;            // the table has nMaxIndex + 1 entries
    double dDataMax;
    double dDataMin;
    double dMaxThr;
    double dMinThr;
    int nHighIndex;
    int nLowIndex;
};

// The layout every compiler gives the record (natural alignment, no packing):
// an MSVC-built host and the MinGW-built library read the same offsets.
static_assert(sizeof(void*) != 8 ||
                  (offsetof(ColorTabParam, nMaxIndex) == 8 && offsetof(ColorTabParam, dDataMax) == 16 &&
                   offsetof(ColorTabParam, dMinThr) == 40 && offsetof(ColorTabParam, nHighIndex) == 48 &&
                   offsetof(ColorTabParam, nLowIndex) == 52 && sizeof(ColorTabParam) == 56),
              "ColorTabParam must keep its layout");

// Notification callback: called with the address of the window's ColorTabParam.
typedef void (*QorColorNotify)(ColorTabParam* param);

// All entry points are static and work on the one colour table window of the
// process. Everything but show and showInit returns 0 (or null) until one of
// them has created the window. Destroying any CQorColorDlg ends the window.
class QORCOLOR_API CQorColorDlg {
public:
    CQorColorDlg();
    ~CQorColorDlg();
    CQorColorDlg& operator=(const CQorColorDlg& other);

    static void show();
    // dataType: a QorDataType code for slice pointers, the code negated
    // for one flat buffer (datatypes.h).
    static void showInit(void*** data, int dataType, int dimX, int dimY, int dimZ, void* notify,
                         void* dataSetName, unsigned int* colorTab);
    static int UpdateDataColorTab();
    static int GenerateColorTab(unsigned int* table);
    static int GetColorTabEx(int& isVolume, int& count, double& minThr, double& maxThr, double& dataMin,
                             double& dataMax);
    static int UpdateDataColorTabEx(int& isVolume, int& count, double& minThr, double& maxThr,
                                    double& dataMin, double& dataMax);
    static int GenerateColorTabEx(unsigned int* table, int& count, double& minThr, double& maxThr,
                                  double& dataMin, double& dataMax);
    static void* GetData();
    static void* Initialize();
    static void RecomputeHistogram();
    static void* GetColorTabParam();
};
