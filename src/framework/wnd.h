// CWnd: a non-owning handle to a window, and the thin control wrappers built on it.
#pragma once
#include "framework/cmd_target.h"

#include <string>

namespace fw {

class CWnd : public CCmdTarget {
public:
    HWND m_hWnd = nullptr;

    HWND GetSafeHwnd() const { return m_hWnd; }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    void EnableWindow(bool enable) const { ::EnableWindow(m_hWnd, enable); }
    bool IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd) != FALSE; }
    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(m_hWnd, msg, wParam, lParam);
    }
    std::string GetWindowText() const;
    void SetWindowText(const std::string& text) const { ::SetWindowTextA(m_hWnd, text.c_str()); }
    // Held off, a window is not redrawn as it changes (a list box would redraw for every entry
    // added); let go, it is drawn once, whole.
    void SetRedraw(bool redraw) const {
        SendMessage(WM_SETREDRAW, redraw);
        if (redraw)
            ::InvalidateRect(m_hWnd, nullptr, TRUE);
    }
    // A message box owned by this window (through the application's one message-box call).
    int MessageBox(const std::string& text, const std::string& caption, UINT type) const;
};

// The window procedure of a class T whose windows are created with the object as their creation
// parameter: the object is bound to its window from WM_NCCREATE to WM_NCDESTROY and gets every
// message in between through T::WindowProc.
template <class T>
LRESULT CALLBACK ObjectWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<T*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->m_hWnd = hwnd;
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<T*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self)
        return ::DefWindowProcA(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->m_hWnd = nullptr;
        return ::DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    return self->WindowProc(msg, wParam, lParam);
}

// Reads any window's text of any length.
std::string GetWindowTextOf(HWND hwnd);

// Puts a window where WM_DPICHANGED suggests (lParam), on the monitor of its new scale.
void TakeSuggestedPlace(HWND hwnd, LPARAM suggestedRect);

class CButton : public CWnd {};

class CEdit : public CWnd {
public:
    void LimitText(int maxChars) const { SendMessage(EM_LIMITTEXT, maxChars); }
    void SetSel(int start, int end) const { SendMessage(EM_SETSEL, start, end); }
};

class CListBox : public CWnd {
public:
    int GetCount() const { return static_cast<int>(SendMessage(LB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(LB_GETCURSEL)); }
    void SetCurSel(int index) const { SendMessage(LB_SETCURSEL, index); }
    void ResetContent() const { SendMessage(LB_RESETCONTENT); }
    void AddString(const std::string& text) const {
        SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    void SelectString(int startAfter, const std::string& prefix) const {
        SendMessage(LB_SELECTSTRING, startAfter, reinterpret_cast<LPARAM>(prefix.c_str()));
    }
    // The entry's whole text of any length, or "" when the index names no entry.
    std::string GetText(int index) const;
    std::string GetSelectedText() const { return GetText(GetCurSel()); } // "" with none selected
};

} // namespace fw
