#include "framework/wnd.h"

#include "framework/app.h"
#include "framework/text.h"

#include <algorithm>

namespace fw {
namespace {

// Long enough for any program that still answers, short enough that nobody waits on a frozen one.
constexpr UINT kTextTimeoutMs = 5000;

LRESULT Ask(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR answer = 0;
    if (!::SendMessageTimeoutW(hwnd, msg, wParam, lParam, SMTO_ABORTIFHUNG, kTextTimeoutMs,
                               &answer))
        return 0;
    return static_cast<LRESULT>(answer);
}

} // namespace

// Asked by message, the length first: GetWindowText reads only the caption of another program's
// window, never its edit box.
std::string GetWindowTextOf(HWND hwnd) {
    const LRESULT length = Ask(hwnd, WM_GETTEXTLENGTH);
    std::wstring text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
    const LRESULT copied = Ask(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, length)));
    return Narrow(text);
}

void SetWindowTextOf(HWND hwnd, const std::string& text) {
    ::SetWindowTextW(hwnd, Widen(text).c_str());
}

void TakeSuggestedPlace(HWND hwnd, LPARAM suggestedRect) {
    const RECT& suggested = *reinterpret_cast<const RECT*>(suggestedRect);
    ::SetWindowPos(hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::SetWindowText(const std::string& text) const {
    SetWindowTextOf(m_hWnd, text);
}

int CWnd::MessageBox(const std::string& text, const std::string& caption, UINT type) const {
    return GetApp()->ShowMessageBox(m_hWnd, text, caption, type);
}

void CListBox::AddString(const std::string& text) const {
    SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

void CListBox::SelectString(int startAfter, const std::string& prefix) const {
    SendMessage(LB_SELECTSTRING, startAfter, reinterpret_cast<LPARAM>(Widen(prefix).c_str()));
}

int CListBox::FindStringExact(const std::string& text) const {
    return static_cast<int>(SendMessage(LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(Widen(text).c_str())));
}

std::string CListBox::GetText(int index) const {
    const LRESULT length = SendMessage(LB_GETTEXTLEN, index);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessage(LB_GETTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, length)));
    return Narrow(text);
}

} // namespace fw
