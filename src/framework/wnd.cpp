#include "framework/wnd.h"

#include "framework/module.h"
#include "framework/system_function.h"
#include "framework/text.h"

#include <climits>

namespace fw {
namespace {

// Long enough for any program that still answers, short enough that nobody waits on a frozen one.
constexpr UINT kTextTimeoutMs = 5000;

bool Ask(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pAnswer) {
    DWORD_PTR answer = 0;
    const bool answered = ::SendMessageTimeoutW(hwnd, msg, wParam, lParam, SMTO_ABORTIFHUNG,
                                                kTextTimeoutMs, &answer) != 0;
    *pAnswer = static_cast<LRESULT>(answer);
    return answered;
}

} // namespace

void RegisterWindowClass(const wchar_t* name, WNDPROC windowProc, HICON icon) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (::GetClassInfoExW(Module().m_hInstance, name, &wc))
        return;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = Module().m_hInstance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hIcon = icon;
    wc.lpszClassName = name;
    ::RegisterClassExW(&wc);
}

// Asked by message: GetWindowText reads only the caption of another program's window, never its
// edit box.
std::string GetWindowTextOf(HWND hwnd) {
    const auto text =
        ReadSizedText([&](LRESULT* length) { return Ask(hwnd, WM_GETTEXTLENGTH, 0, 0, length); },
                      [&](std::wstring& buffer, LRESULT* copied) {
                          return Ask(hwnd, WM_GETTEXT, buffer.size(),
                                     reinterpret_cast<LPARAM>(&buffer[0]), copied);
                      },
                      INT_MAX);
    return Narrow(text.value_or(L""));
}

void SetWindowTextOf(HWND hwnd, const std::string& text) {
    ::SetWindowTextW(hwnd, Widen(text).c_str());
}

void TakeSuggestedPlace(HWND hwnd, LPARAM suggestedRect) {
    const RECT& suggested = *reinterpret_cast<const RECT*>(suggestedRect);
    ::SetWindowPos(hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

int MonitorDpi(HMONITOR monitor) {
    using GetDpi = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto getDpi = LoadSystemFunction<GetDpi>(L"shcore.dll", "GetDpiForMonitor");
    UINT dpiX = 0, dpiY = 0;
    if (getDpi && SUCCEEDED(getDpi(monitor, 0, &dpiX, &dpiY)) && dpiY)
        return static_cast<int>(dpiY);
    const HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi;
}

void CWnd::SetWindowText(const std::string& text) const {
    SetWindowTextOf(m_hWnd, text);
}

void CWnd::SetRedraw(bool redraw) const {
    SendMessage(WM_SETREDRAW, redraw);
    if (redraw)
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

int CWnd::MessageBox(const std::string& text, const std::string& caption, UINT type) const {
    return Module().ShowMessageBox(m_hWnd, text, caption, type);
}

void CListBox::Fill(const std::vector<std::string>& entries) const {
    std::vector<std::wstring> wide;
    wide.reserve(entries.size());
    std::size_t characters = 0;
    for (const std::string& entry : entries) {
        wide.push_back(Widen(entry));
        characters += wide.back().size() + 1;
    }
    SetRedraw(false);
    ResetContent();
    SendMessage(LB_INITSTORAGE, wide.size(), characters * sizeof(wchar_t));
    for (const std::wstring& entry : wide)
        SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    SetRedraw(true);
}

void CListBox::InsertString(int index, const std::string& text) const {
    SendMessage(LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

void CListBox::SelectString(int startAfter, const std::string& prefix) const {
    SendMessage(LB_SELECTSTRING, startAfter, reinterpret_cast<LPARAM>(Widen(prefix).c_str()));
}

std::string CListBox::GetText(int index) const {
    const auto text = ReadSizedText(
        [&](LRESULT* length) { return *length = SendMessage(LB_GETTEXTLEN, index), true; },
        [&](std::wstring& buffer, LRESULT* copied) {
            return *copied = SendMessage(LB_GETTEXT, index, reinterpret_cast<LPARAM>(&buffer[0])),
                   true;
        },
        INT_MAX);
    return Narrow(*text);
}

} // namespace fw
