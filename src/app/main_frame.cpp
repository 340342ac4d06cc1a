#include "app/main_frame.h"

#include "framework/wnd.h"
#include "rules/placement.h"

namespace {

WindowRect FromRect(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

// Where the window is not maximized nor minimized, in screen coordinates: the placement gives it
// relative to the primary monitor's work area.
RECT NormalRect(HWND window) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    ::GetWindowPlacement(window, &placement);
    MONITORINFO primary{};
    primary.cbSize = sizeof primary;
    ::GetMonitorInfoW(::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &primary);
    ::OffsetRect(&placement.rcNormalPosition, primary.rcWork.left - primary.rcMonitor.left,
                 primary.rcWork.top - primary.rcMonitor.top);
    return placement.rcNormalPosition;
}

} // namespace

void CMainFrame::OnFirstShow(int& nCmdShow) {
    const auto saved = settings::LoadPlace(m_profile);
    if (!saved)
        return;
    const RECT rect = {saved->rect.left, saved->rect.top, saved->rect.right, saved->rect.bottom};
    const HMONITOR monitor = ::MonitorFromRect(&rect, MONITOR_DEFAULTTONULL);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!monitor || !::GetMonitorInfoW(monitor, &info))
        return;
    RECT fitted{}; // around the form just now: the least the window may be
    ::GetWindowRect(m_hWnd, &fitted);
    const WindowRect place =
        PlaceOnMonitor(*saved, FromRect(info.rcWork), fw::MonitorDpi(monitor),
                       {0, 0, fitted.right - fitted.left, fitted.bottom - fitted.top});
    ::SetWindowPos(m_hWnd, nullptr, place.left, place.top, place.Width(), place.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
    if (saved->maximized && nCmdShow == SW_SHOWNORMAL)
        nCmdShow = SW_SHOWMAXIMIZED;
}

// A section of its own, which earlier versions pass over; a failure to write it is not worth a
// word at exit.
void CMainFrame::OnClosing() {
    const RECT normal = NormalRect(m_hWnd);
    settings::SavePlace(m_profile,
                        {FromRect(normal), ::IsZoomed(m_hWnd) != FALSE,
                         fw::MonitorDpi(::MonitorFromRect(&normal, MONITOR_DEFAULTTONEAREST))});
}
