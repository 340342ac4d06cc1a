#include "framework/wnd.h"

#include "framework/app.h"
#include "framework/text.h"

#include <algorithm>

namespace fw {

// Read wide, the length asked first: texts of any length come back whole.
std::string GetWindowTextOf(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(hwnd)) + 1, L'\0');
    const int copied = ::GetWindowTextW(hwnd, &text[0], static_cast<int>(text.size()));
    return Narrow(text.data(), static_cast<std::size_t>(std::max(copied, 0)));
}

void TakeSuggestedPlace(HWND hwnd, LPARAM suggestedRect) {
    const RECT& suggested = *reinterpret_cast<const RECT*>(suggestedRect);
    ::SetWindowPos(hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string CWnd::GetWindowText() const {
    return GetWindowTextOf(m_hWnd);
}

int CWnd::MessageBox(const std::string& text, const std::string& caption, UINT type) const {
    return GetApp()->ShowMessageBox(m_hWnd, text, caption, type);
}

// Read wide: under Wine an ANSI LB_GETTEXT passes through a fixed 512-character buffer and
// overruns it on a longer entry.
std::string CListBox::GetText(int index) const {
    const LRESULT length = ::SendMessageW(m_hWnd, LB_GETTEXTLEN, index, 0);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied =
        ::SendMessageW(m_hWnd, LB_GETTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
    return Narrow(text.data(), static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, length)));
}

} // namespace fw
