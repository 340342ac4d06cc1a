#include "framework/wnd.h"

#include <algorithm>

namespace fw {

std::string GetWindowTextOf(HWND hwnd) {
    std::string text(::GetWindowTextLengthA(hwnd), '\0');
    if (text.empty())
        return text;
    const int copied = ::GetWindowTextA(hwnd, &text[0], static_cast<int>(text.size()) + 1);
    text.resize(copied > 0 ? copied : 0);
    return text;
}

std::string CWnd::GetWindowText() const {
    return GetWindowTextOf(m_hWnd);
}

std::string WideToAnsi(const std::wstring& text) {
    const int size = static_cast<int>(text.size());
    std::string result(
        ::WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), size, &result[0], static_cast<int>(result.size()),
                          nullptr, nullptr);
    return result;
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
    text.resize(copied > 0 ? std::min(static_cast<std::size_t>(copied), text.size() - 1) : 0);
    return WideToAnsi(text);
}

} // namespace fw
