// The main window: fixed size, sized around the form.
#pragma once
#include "framework/frame.h"

#include <memory>

class CMainFrame : public fw::CFrameWnd {
public:
    static std::unique_ptr<fw::CFrameWnd> CreateObject() { return std::make_unique<CMainFrame>(); }

protected:
    void PreCreateWindow(CREATESTRUCTA& cs) override;
};
