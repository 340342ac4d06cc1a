// Dialog data exchange: moves values between a window's controls and its members.
#pragma once
#include "framework/wnd.h"

#include <string>

namespace fw {

class CDataExchange {
public:
    CDataExchange(const CWnd& window, bool saveAndValidate)
        : m_window(window), m_bSaveAndValidate(saveAndValidate) {}

    const CWnd& m_window;
    const bool m_bSaveAndValidate; // true: controls to members; false: members to controls

    // The control that the next rule (DDV_…) applies to; nullptr once the exchange has failed,
    // so every later field is left alone.
    HWND PrepareControl(int id);
    HWND LastControl() const { return m_hLastControl; }
    bool Failed() const { return m_bFailed; }
    // Ends the exchange: focus and select the last control.
    void Fail();

private:
    HWND m_hLastControl = nullptr;
    bool m_bFailed = false;
};

// Binds a control object to the dialog's control the first time.
void DDX_Control(CDataExchange& dx, int id, CWnd& control);
void DDX_Text(CDataExchange& dx, int id, std::string& value);
// Check state: towards the control any non-zero value checks it; back it reads as 0 or 1.
void DDX_Check(CDataExchange& dx, int id, int& value);
// Towards the controls: the last edit box takes no more than maxChars characters.
// Back: a longer text is reported to the user and fails the exchange.
void DDV_MaxChars(CDataExchange& dx, const std::string& value, int maxChars);

} // namespace fw
