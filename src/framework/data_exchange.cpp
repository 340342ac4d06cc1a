#include "framework/data_exchange.h"

#include "framework/framework_ids.h"
#include "framework/module.h"
#include "framework/text.h"

namespace fw {

HWND CDataExchange::PrepareControl(int id) {
    m_hLastControl = m_bFailed ? nullptr : m_window.GetDlgItem(id);
    return m_hLastControl;
}

void CDataExchange::Fail() {
    m_bFailed = true;
    if (m_hLastControl) {
        ::SetFocus(m_hLastControl);
        ::SendMessageW(m_hLastControl, EM_SETSEL, 0, -1);
    }
}

void DDX_Control(CDataExchange& dx, int id, CWnd& control) {
    if (!dx.Failed() && !control.m_hWnd)
        control.m_hWnd = dx.m_window.GetDlgItem(id);
}

void DDX_Text(CDataExchange& dx, int id, std::string& value) {
    const HWND control = dx.PrepareControl(id);
    if (!control)
        return;
    if (dx.m_bSaveAndValidate)
        value = GetWindowTextOf(control);
    else
        SetWindowTextOf(control, value);
}

void DDX_Check(CDataExchange& dx, int id, int& value) {
    const HWND control = dx.PrepareControl(id);
    if (!control)
        return;
    if (dx.m_bSaveAndValidate)
        value = ::SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    else
        ::SendMessageW(control, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

void DDV_MaxChars(CDataExchange& dx, const std::string& value, int maxChars) {
    const HWND control = dx.LastControl();
    if (!control)
        return;
    if (!dx.m_bSaveAndValidate) {
        ::SendMessageW(control, EM_LIMITTEXT, maxChars, 0);
    } else if (Widen(value).size() > static_cast<std::size_t>(maxChars)) { // as the box counts
        Module().DoMessageBox(
            FormatText(Module().LoadString(AFX_IDP_PARSE_STRING_SIZE), {std::to_string(maxChars)}),
            MB_OK | MB_ICONEXCLAMATION);
        dx.Fail();
    }
}

} // namespace fw
