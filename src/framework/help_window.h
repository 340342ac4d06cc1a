// The help window: an index of topics beside the text of the chosen one.
#pragma once
#include "framework/help.h"
#include "framework/wnd.h"

#include <string>
#include <vector>

namespace fw {

class CHelpWindow {
public:
    CHelpWindow(const HelpBook& book, std::string caption);
    ~CHelpWindow();
    CHelpWindow(const CHelpWindow&) = delete;
    CHelpWindow& operator=(const CHelpWindow&) = delete;

    // Opens (or brings forward) the window on the topic of a context; 0 or an unknown context
    // opens the index.
    void ShowContext(DWORD context);
    // Tab and Escape in the help window.
    bool PreTranslateMessage(MSG& msg);

private:
    struct Topic {
        UINT id;
        std::string title;
        std::string body;
    };

    bool Create();
    // Sizes are given for 96 dpi: the manifest declares the program aware of each monitor's
    // scale, so Windows does not stretch its windows.
    int Scaled(int pixels) const;
    void ApplyFont();
    void ShowTopic(std::size_t index);
    void Layout() const;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    friend LRESULT CALLBACK ObjectWindowProc<CHelpWindow>(HWND, UINT, WPARAM, LPARAM);

    const HelpBook& m_book;
    const std::string m_strCaption;
    std::vector<Topic> m_topics; // the index order
    HWND m_hWnd = nullptr;
    CListBox m_listTopics;
    CEdit m_editText;
    HFONT m_hFont = nullptr;
    int m_nDpi = 96;
};

} // namespace fw
