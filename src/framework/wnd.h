// CWnd: a non-owning handle to a window, and the thin control wrappers built on it.
#pragma once
#include "framework/cmd_target.h"

#include <string>

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

// The whole text of a window of this program or another; "" when it does not answer within 5 s.
std::string GetWindowTextOf(HWND hwnd);
void SetWindowTextOf(HWND hwnd, const std::string& text);

// Puts a window where WM_DPICHANGED suggests (lParam), on the monitor of its new scale.
void TakeSuggestedPlace(HWND hwnd, LPARAM suggestedRect);

class CButton : public CWnd {};

class CEdit : public CWnd {};

class CListBox : public CWnd {
public:
    int GetCurSel() const { return static_cast<int>(SendMessage(LB_GETCURSEL)); }
    void SetCurSel(int index) const { SendMessage(LB_SETCURSEL, index); }
    void ResetContent() const { SendMessage(LB_RESETCONTENT); }
    void AddString(const std::string& text) const;
    void SelectString(int startAfter, const std::string& prefix) const;
    // The index of the entry of exactly this text, letter case ignored; LB_ERR when none.
    int FindStringExact(const std::string& text) const;
    // The entry's whole text, or "" when the index names no entry.
    std::string GetText(int index) const;
    std::string GetSelectedText() const { return GetText(GetCurSel()); } // "" with none selected
};

} // namespace fw
