// CWnd: a non-owning handle to a window, and the thin control wrappers built on it.
#pragma once
#include "framework/cmd_target.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace fw {

class CWnd : public CCmdTarget {
public:
    HWND m_hWnd = nullptr;

    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    void EnableWindow(bool enable) const { ::EnableWindow(m_hWnd, enable); }
    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageW(m_hWnd, msg, wParam, lParam);
    }
    void SetWindowText(const std::string& text) const;
    // Held off, a window is not redrawn as it changes (a list box would redraw for every entry
    // added); let go, it is drawn once, whole.
    void SetRedraw(bool redraw) const;
    // A message box owned by this window (through the module's one message-box call).
    int MessageBox(const std::string& text, const std::string& caption, UINT type) const;
};

// The window procedure of a class T whose windows are created with the object as their creation
// parameter: the object is bound to its window from WM_NCCREATE to WM_NCDESTROY and gets every
// message in between through T::WindowProc.
template <class T>
LRESULT CALLBACK ObjectWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->m_hWnd = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<T*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self)
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->m_hWnd = nullptr;
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    return self->WindowProc(msg, wParam, lParam);
}

// Registers a window class of the module the first time; later calls find it there.
void RegisterWindowClass(const wchar_t* name, WNDPROC windowProc, HICON icon = nullptr);

// A text asked for in two steps, its length first, as windows of any program give theirs:
// askLength(&length), then askText(buffer, &copied), each false when it went unanswered. At most
// maxLength characters are read, *pCut telling whether there were more; nullopt when a step went
// unanswered.
template <class AskLength, class AskText>
std::optional<std::wstring> ReadSizedText(AskLength askLength, AskText askText, LRESULT maxLength,
                                          bool* pCut = nullptr) {
    LRESULT length = 0;
    if (!askLength(&length))
        return std::nullopt;
    if (pCut)
        *pCut = length > maxLength;
    length = std::clamp<LRESULT>(length, 0, maxLength);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    LRESULT copied = 0;
    if (length > 0 && !askText(text, &copied))
        return std::nullopt;
    text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, length)));
    return text;
}

// The whole text of a window of this program or another; "" when it does not answer within 5 s.
std::string GetWindowTextOf(HWND hwnd);
void SetWindowTextOf(HWND hwnd, const std::string& text);

// Puts a window where WM_DPICHANGED suggests (lParam), on the monitor of its new scale.
void TakeSuggestedPlace(HWND hwnd, LPARAM suggestedRect);
// The scale of a monitor in dots per inch: its own from Windows 8.1 on, else the system's.
int MonitorDpi(HMONITOR monitor);

class CButton : public CWnd {};

class CEdit : public CWnd {};

class CListBox : public CWnd {
public:
    int GetCurSel() const { return static_cast<int>(SendMessage(LB_GETCURSEL)); }
    void SetCurSel(int index) const { SendMessage(LB_SETCURSEL, index); }
    void ResetContent() const { SendMessage(LB_RESETCONTENT); }
    // Replaces the entries, drawn once when all are in: a list redrawn for every entry added
    // would take minutes to fill with a big folder or channel.
    void Fill(const std::vector<std::string>& entries) const;
    void InsertString(int index, const std::string& text) const;
    void SelectString(int startAfter, const std::string& prefix) const;
    // The entry's whole text, or "" when the index names no entry.
    std::string GetText(int index) const;
    std::string GetSelectedText() const { return GetText(GetCurSel()); } // "" with none selected
};

} // namespace fw
