#include "framework/dialog.h"

#include "framework/framework_ids.h"
#include "framework/module.h"

#include <algorithm>
#include <cstring>

namespace fw {
namespace {

// The fixed start of an extended dialog template, which the platform headers do not declare;
// the plain form is their DLGTEMPLATE.
#pragma pack(push, 2)
struct DialogTemplateEx {
    WORD dlgVer;
    WORD signature; // 0xFFFF
    DWORD helpID;
    DWORD exStyle;
    DWORD style;
    WORD cDlgItems;
    short x, y, cx, cy;
};
#pragma pack(pop)

// The position and size written in a dialog template, in dialog units: left, top, width and
// height; all 0 when it cannot be read.
RECT TemplateRect(UINT nIDTemplate) {
    const std::string_view bytes = Module().LoadRaw(nIDTemplate, RT_DIALOG);
    if (bytes.size() < sizeof(DialogTemplateEx))
        return {};
    DialogTemplateEx extended{};
    std::memcpy(&extended, bytes.data(), sizeof extended);
    if (extended.dlgVer == 1 && extended.signature == 0xFFFF)
        return {extended.x, extended.y, extended.cx, extended.cy};
    DLGTEMPLATE plain{};
    std::memcpy(&plain, bytes.data(), sizeof plain);
    return {plain.x, plain.y, plain.cx, plain.cy};
}

void CenterOver(HWND window, HWND owner) {
    RECT area{};
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner)) {
        ::GetWindowRect(owner, &area);
    } else {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
        area = monitor.rcWork;
    }
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromRect(&area, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;

    RECT rect{};
    ::GetWindowRect(window, &rect);
    const LONG width = rect.right - rect.left, height = rect.bottom - rect.top;
    LONG x = (area.left + area.right - width) / 2;
    LONG y = (area.top + area.bottom - height) / 2;
    x = std::max(work.left, std::min(x, work.right - width));
    y = std::max(work.top, std::min(y, work.bottom - height));
    ::SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

bool CDialogBase::UpdateData(bool saveAndValidate) {
    const bool wasInUpdateData = m_bInUpdateData;
    m_bInUpdateData = true;
    CDataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    m_bInUpdateData = wasInUpdateData;
    return !dx.Failed();
}

void CDialogBase::FollowTypedPrefix(std::string& value, const CListBox& list) {
    UpdateData(true);
    list.SelectString(-1, value);
}

void CDialogBase::TakeSelectedEntry(std::string& value, const CListBox& list) {
    value = list.GetSelectedText();
    UpdateData(false);
}

bool CDialogBase::OnUnhandledCommand(UINT, UINT) {
    return false;
}

INT_PTR CDialogBase::DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND: {
        const UINT id = LOWORD(wParam), code = HIWORD(wParam);
        // Control notifications raised by our own exchange (EN_CHANGE from writing an edit box)
        // must not run handlers that would exchange again.
        if (lParam && code != 0 && m_bInUpdateData)
            return TRUE;
        return OnCmdMsg(id, code) || OnUnhandledCommand(id, code);
    }
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK CDialogBase::StaticDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        auto* self = reinterpret_cast<CDialogBase*>(lParam);
        self->m_hWnd = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, lParam);
    }
    auto* self = reinterpret_cast<CDialogBase*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self)
        return FALSE;
    const INT_PTR result = self->DialogProc(msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->m_hWnd = nullptr;
    }
    return result;
}

INT_PTR CDialog::DoModal() {
    const HWND owner = m_hParent ? m_hParent : Module().GetMainWindow();
    return ::DialogBoxParamW(Module().m_hInstance, MAKEINTRESOURCEW(GetTemplateId()), owner,
                             StaticDialogProc, reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::OnInitDialog() {
    UpdateData(false);
    return TRUE;
}

void CDialog::OnOK() {
    if (UpdateData(true))
        EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::ShowHelp() const {
    Module().WinHelp(HID_BASE_RESOURCE + GetTemplateId());
}

bool CDialog::OnUnhandledCommand(UINT id, UINT code) {
    if (code != BN_CLICKED)
        return false;
    switch (id) {
    case IDOK:
        OnOK();
        return true;
    case IDCANCEL:
        OnCancel();
        return true;
    case ID_HELP:
        ShowHelp();
        return true;
    default:
        return false;
    }
}

INT_PTR CDialog::DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        const RECT placed = TemplateRect(GetTemplateId());
        if (placed.left == 0 && placed.top == 0)
            CenterOver(m_hWnd, ::GetWindow(m_hWnd, GW_OWNER));
    } else if (msg == WM_HELP) {
        ShowHelp();
        return TRUE;
    }
    return CDialogBase::DialogProc(msg, wParam, lParam);
}

bool CFormView::Create(HWND parentFrame) {
    if (!::CreateDialogParamW(Module().m_hInstance, MAKEINTRESOURCEW(GetTemplateId()), parentFrame,
                              StaticDialogProc, reinterpret_cast<LPARAM>(this)))
        return false;
    ::ShowWindow(m_hWnd, SW_SHOW);
    return true;
}

// The template's size in the form's dialog units, which follow the form's font: on a monitor of
// another scale the system gives the form a font of that scale.
SIZE CFormView::TemplateSize() const {
    const RECT placed = TemplateRect(GetTemplateId());
    RECT size = {0, 0, placed.right, placed.bottom};
    ::MapDialogRect(m_hWnd, &size);
    return {size.right, size.bottom};
}

void CFormView::ResizeParentToFit(bool growOnly) const {
    const SIZE size = TemplateSize();
    const HWND frame = ::GetParent(m_hWnd);
    // A second pass catches a menu bar that wraps onto another line after the first resize.
    for (int pass = 0; pass < 2; ++pass) {
        RECT client{}, window{}, form{};
        ::GetClientRect(frame, &client);
        ::GetWindowRect(frame, &window);
        // A frame not yet shown has not laid the form out in its client area yet.
        ::SendMessageW(frame, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
        ::GetClientRect(m_hWnd, &form);
        LONG dx = size.cx - form.right, dy = size.cy - form.bottom;
        if (growOnly) {
            dx = std::max(dx, 0L);
            dy = std::max(dy, 0L);
        }
        if (dx == 0 && dy == 0)
            return;
        ::SetWindowPos(frame, nullptr, 0, 0, window.right - window.left + dx,
                       window.bottom - window.top + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

INT_PTR CFormView::DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        RECT units = {0, 0, 400, 800}; // pixels per 100 dialog units, for a precise inverse
        ::MapDialogRect(m_hWnd, &units);
        for (const Anchor& anchor : GetAnchors()) {
            const HWND control = GetDlgItem(anchor.id);
            RECT rect{};
            ::GetWindowRect(control, &rect);
            ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
            m_placed.emplace_back(control, RECT{::MulDiv(rect.left, 400, units.right),
                                                ::MulDiv(rect.top, 800, units.bottom),
                                                ::MulDiv(rect.right, 400, units.right),
                                                ::MulDiv(rect.bottom, 800, units.bottom)});
        }
    } else if (msg == WM_SIZE) {
        Layout();
    }
    return CDialogBase::DialogProc(msg, wParam, lParam);
}

// Anchored controls move and grow by as much as the form is larger than its template.
void CFormView::Layout() {
    const std::vector<Anchor> anchors = GetAnchors();
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    const SIZE size = TemplateSize();
    const LONG dx = std::max(0L, client.right - size.cx),
               dy = std::max(0L, client.bottom - size.cy);
    for (std::size_t i = 0; i < m_placed.size() && i < anchors.size(); ++i) {
        RECT rect = m_placed[i].second;
        ::MapDialogRect(m_hWnd, &rect);
        const Anchor& anchor = anchors[i];
        ::SetWindowPos(m_placed[i].first, nullptr, rect.left + (anchor.moveX ? dx : 0), rect.top,
                       rect.right - rect.left + (anchor.growX ? dx : 0),
                       rect.bottom - rect.top + (anchor.growY ? dy : 0),
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // Not every system redraws a control moved over the place another one left.
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

} // namespace fw
