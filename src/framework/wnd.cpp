#include "framework/wnd.h"

namespace fw {

std::string GetWindowTextOf(HWND hwnd) {
    std::string text(::GetWindowTextLengthA(hwnd), '\0');
    if (text.empty())
        return text;
    const int copied = ::GetWindowTextA(hwnd, &text[0], static_cast<int>(text.size()) + 1);
    text.resize(copied > 0 ? copied : 0);
    return text;
}

std::string CWnd::GetWindowText() const { return GetWindowTextOf(m_hWnd); }

std::string CListBox::GetText(int index) const {
    const LRESULT length = SendMessage(LB_GETTEXTLEN, index);
    if (length == LB_ERR)
        return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT copied = SendMessage(LB_GETTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(copied == LB_ERR ? 0 : static_cast<std::size_t>(copied));
    return text;
}

} // namespace fw
