// The main window: it grows with the user, keeps a status line along its bottom, and comes back
// where it was when Brisa last closed.
#pragma once
#include "framework/frame.h"
#include "framework/profile.h"

class CMainFrame : public fw::CFrameWnd {
public:
    explicit CMainFrame(const fw::CProfile& profile) : m_profile(profile) { m_nStatusParts = 3; }

    // Back on the monitor that still shows where it was, at that monitor's scale; maximized when
    // it was.
    void OnFirstShow(int& nCmdShow) override;

protected:
    void OnClosing() override;

private:
    const fw::CProfile& m_profile;
};
