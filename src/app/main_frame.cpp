#include "app/main_frame.h"

void CMainFrame::PreCreateWindow(CREATESTRUCTA& cs) {
    cs.style &= ~WS_THICKFRAME;
    cs.style &= ~WS_MAXIMIZEBOX;
}
