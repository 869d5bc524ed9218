// A fixture with the colour table window shown on the demonstration
// histogram, and drivers that speak the view's terms: canvas points (rows
// counting upward from the bottom) and named handles; CountNotification
// counts the host's callbacks into g_notifications.
#pragma once

#include <gtest/gtest.h>
#include <qorcolor/qorcolor.h>

#include <vector>

#include "dialog/color_dlg.h"
#include "support/driver.h"

inline int g_notifications = 0;
inline void CountNotification(ColorTabParam*) { ++g_notifications; }

class ShownDialog : public ::testing::Test {
protected:
    void SetUp() override {
        g_notifications = 0;
        CQorColorDlg::show();
        hDlg = driver::FindDialog();
        dlg = g_pColorDlg;
        ASSERT_NE(hDlg, nullptr);
    }
    void TearDown() override { CQorColorDlg end; }

    HWND Item(int id) const { return GetDlgItem(hDlg, id); }

    // A signed 16-bit volume of 0 ... 999 whose changes reach `notify`.
    void ShowRamp(void (*notify)(ColorTabParam*) = &CountNotification) {
        for (int i = 0; i < 1000; ++i) voxels[i] = static_cast<int16_t>(i);
        CQorColorDlg::showInit(reinterpret_cast<void***>(voxels), -4, 10, 10, 10,
                               reinterpret_cast<void*>(notify), const_cast<char*>("ramp"), table.data());
        dlg = g_pColorDlg;
        hDlg = dlg->m_hWnd;
    }

    // Client coordinates of a canvas point, worked out here on their own.
    POINT Client(CPoint canvas) const {
        return {dlg->m_nViewLeft + canvas.x, dlg->m_nViewTop + dlg->m_nViewHeight - 1 - canvas.y};
    }
    void PressAt(CPoint canvas) { driver::MouseDown(hDlg, Client(canvas).x, Client(canvas).y); }
    void MoveTo(CPoint canvas, UINT keys = 0) {
        driver::MouseMove(hDlg, Client(canvas).x, Client(canvas).y, keys);
    }
    // Presses a handle where the view placed it and drags it dx pixels.
    void DragHandle(CColorDlgBase::Handle handle, int dx) {
        const CPoint at = dlg->HandlePoint(handle);
        PressAt(at);
        MoveTo(CPoint(at.x + dx, at.y), MK_LBUTTON);
    }
    void Release() { driver::MouseUp(hDlg, 0, 0); }
    // Focuses a control and turns the wheel once by `delta`.
    void WheelOn(int id, int delta) {
        SetFocus(Item(id));
        driver::Wheel(hDlg, 0, 0, delta);
    }

    driver::RecordingProviders providers;
    HWND hDlg = nullptr;
    CColorDlgBase* dlg = nullptr;
    int16_t voxels[1000] = {};
    std::vector<unsigned int> table = std::vector<unsigned int>(65535);
};
