// The main window: fixed size, sized around the form.
#pragma once
#include "framework/frame.h"

class CMainFrame : public fw::CFrameWnd {
protected:
    void PreCreateWindow(CREATESTRUCTW& cs) override {
        cs.style &= ~WS_THICKFRAME;
        cs.style &= ~WS_MAXIMIZEBOX;
    }
};
