#include "framework/help_window.h"

#include "framework/module.h"
#include "framework/text.h"

#include <algorithm>

namespace fw {
namespace {

constexpr wchar_t kHelpClass[] = L"fwHelpWindow";
constexpr int kTopicListId = 100;
constexpr int kTopicTextId = 101;

// Edit controls break lines only at CR LF.
std::string ToWindowsLines(const std::string& text) {
    std::string result;
    result.reserve(text.size() + text.size() / 16);
    for (const char c : text) {
        if (c == '\r')
            continue;
        if (c == '\n')
            result += '\r';
        result += c;
    }
    return result;
}

// The scale of the screen at start, in dots per inch.
int ScreenDpi() {
    const HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi;
}

} // namespace

CHelpWindow::CHelpWindow(const HelpBook& book, std::string caption)
    : m_book(book), m_strCaption(std::move(caption)) {
    std::vector<UINT> ids{book.indexTopic};
    for (std::size_t i = 0; i < book.contextCount; ++i) {
        if (std::find(ids.begin(), ids.end(), book.contexts[i].topic) == ids.end())
            ids.push_back(book.contexts[i].topic);
    }
    for (const UINT id : ids) {
        const std::string text(Module().LoadRaw(id, kHelpTextType));
        const std::size_t lineEnd = std::min(text.find('\n'), text.size());
        std::string title = text.substr(0, lineEnd);
        if (!title.empty() && title.back() == '\r')
            title.pop_back();
        m_topics.push_back(
            {id, title, ToWindowsLines(text.substr(std::min(lineEnd + 1, text.size())))});
    }
}

CHelpWindow::~CHelpWindow() {
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
    if (m_hFont)
        ::DeleteObject(m_hFont);
}

void CHelpWindow::ShowContext(DWORD context) {
    UINT topic = m_book.indexTopic;
    for (std::size_t i = 0; i < m_book.contextCount; ++i) {
        if (context != 0 && m_book.contexts[i].context == context)
            topic = m_book.contexts[i].topic;
    }
    if (!m_hWnd && !Create())
        return;
    const auto found = std::find_if(m_topics.begin(), m_topics.end(),
                                    [topic](const Topic& t) { return t.id == topic; });
    ShowTopic(found == m_topics.end() ? 0 : static_cast<std::size_t>(found - m_topics.begin()));
    if (::IsIconic(m_hWnd))
        ::ShowWindow(m_hWnd, SW_RESTORE);
    ::ShowWindow(m_hWnd, SW_SHOW);
    ::SetForegroundWindow(m_hWnd);
    ::BringWindowToTop(m_hWnd);
}

bool CHelpWindow::PreTranslateMessage(MSG& msg) {
    if (!m_hWnd || (msg.hwnd != m_hWnd && !::IsChild(m_hWnd, msg.hwnd)))
        return false;
    return ::IsDialogMessageW(m_hWnd, &msg) != FALSE;
}

bool CHelpWindow::Create() {
    const HINSTANCE instance = Module().m_hInstance;
    RegisterWindowClass(kHelpClass, ObjectWindowProc<CHelpWindow>,
                        ::LoadIconW(nullptr, IDI_QUESTION));
    m_nDpi = ScreenDpi();
    if (!::CreateWindowExW(WS_EX_CONTROLPARENT, kHelpClass, Widen(m_strCaption).c_str(),
                           WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, Scaled(720),
                           Scaled(460), nullptr, nullptr, instance, this))
        return false;

    m_listTopics.m_hWnd = ::CreateWindowExW(
        WS_EX_CLIENTEDGE, L"LISTBOX", nullptr,
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 0, 0,
        0, 0, m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTopicListId)), instance,
        nullptr);
    m_editText.m_hWnd = ::CreateWindowExW(
        WS_EX_CLIENTEDGE, L"EDIT", nullptr,
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY, 0, 0, 0, 0,
        m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTopicTextId)), instance, nullptr);
    ApplyFont();
    std::vector<std::string> titles;
    for (const Topic& topic : m_topics)
        titles.push_back(topic.title);
    m_listTopics.Fill(titles);
    Layout();
    return true;
}

int CHelpWindow::Scaled(int pixels) const {
    return ::MulDiv(pixels, m_nDpi, 96);
}

// The system's message font, which it gives for the screen's scale at start, at the window's.
void CHelpWindow::ApplyFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return;
    metrics.lfMessageFont.lfHeight = ::MulDiv(metrics.lfMessageFont.lfHeight, m_nDpi, ScreenDpi());
    const HFONT previous = m_hFont;
    m_hFont = ::CreateFontIndirectW(&metrics.lfMessageFont);
    for (const CWnd* control :
         {static_cast<const CWnd*>(&m_listTopics), static_cast<const CWnd*>(&m_editText)})
        control->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_hFont), TRUE);
    if (previous)
        ::DeleteObject(previous);
}

void CHelpWindow::ShowTopic(std::size_t index) {
    if (index >= m_topics.size())
        return;
    m_listTopics.SetCurSel(static_cast<int>(index));
    m_editText.SetWindowText(m_topics[index].body);
    SetWindowTextOf(m_hWnd, m_strCaption + " - " + m_topics[index].title);
}

void CHelpWindow::Layout() const {
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    const int margin = Scaled(8);
    const int listWidth = std::min(Scaled(220), static_cast<int>(client.right / 3));
    const int height = std::max(0, static_cast<int>(client.bottom) - 2 * margin);
    ::MoveWindow(m_listTopics.m_hWnd, margin, margin, listWidth, height, TRUE);
    ::MoveWindow(m_editText.m_hWnd, 2 * margin + listWidth, margin,
                 std::max(0, static_cast<int>(client.right) - 3 * margin - listWidth), height,
                 TRUE);
}

LRESULT CHelpWindow::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SIZE:
        Layout();
        return 0;
    case WM_DPICHANGED: {
        // Moved to a monitor of another scale: the sizes and the font follow it.
        m_nDpi = HIWORD(wParam);
        ApplyFont();
        TakeSuggestedPlace(m_hWnd, lParam);
        Layout();
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == kTopicListId && HIWORD(wParam) == LBN_SELCHANGE)
            ShowTopic(static_cast<std::size_t>(std::max(0, m_listTopics.GetCurSel())));
        else if (LOWORD(wParam) == IDCANCEL)
            ::DestroyWindow(m_hWnd);
        return 0;
    case WM_SETFOCUS:
        ::SetFocus(m_listTopics.m_hWnd);
        return 0;
    default:
        return ::DefWindowProcW(m_hWnd, msg, wParam, lParam);
    }
}

} // namespace fw
