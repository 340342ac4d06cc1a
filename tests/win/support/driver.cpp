#include "driver.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace {

const UINT kSendTimeoutMs = 5000;

LRESULT SendBounded(bool bWide, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                    LRESULT nFailed) {
    const auto send = bWide ? SendMessageTimeoutW : SendMessageTimeoutA;
    DWORD_PTR nResult = 0;
    return send(hwnd, msg, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &nResult)
               ? static_cast<LRESULT>(nResult)
               : nFailed;
}

std::string ClassOf(HWND hwnd) {
    char szClass[256];
    const int nLength = GetClassNameA(hwnd, szClass, sizeof(szClass));
    return std::string(szClass, nLength > 0 ? nLength : 0);
}

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM lParam) {
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> VisibleTopWindowsOf(DWORD nProcessId) {
    std::vector<HWND> listAll, listOwn;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&listAll));
    for (HWND hwnd : listAll) {
        DWORD nOwner = 0;
        GetWindowThreadProcessId(hwnd, &nOwner);
        if (nOwner == nProcessId && IsWindowVisible(hwnd))
            listOwn.push_back(hwnd);
    }
    return listOwn;
}

std::vector<HWND> DescendantsOf(HWND hwnd) {
    std::vector<HWND> list;
    EnumChildWindows(hwnd, CollectWindow, reinterpret_cast<LPARAM>(&list));
    return list;
}

// GetWindowTextA reads another process's caption without a message, so even a busy Brisa answers.
std::string CaptionOf(HWND hwnd) {
    std::vector<char> buffer(GetWindowTextLengthA(hwnd) + 1);
    const int nLength = GetWindowTextA(hwnd, buffer.data(), static_cast<int>(buffer.size()));
    return std::string(buffer.data(), nLength);
}

void NotifyParent(HWND hwndList, WORD nCode) {
    PostMessageA(GetParent(hwndList), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwndList), nCode),
                 reinterpret_cast<LPARAM>(hwndList));
}

} // namespace

bool WaitUntil(const std::function<bool()>& predicate, DWORD timeoutMs) {
    const ULONGLONG nDeadline = GetTickCount64() + timeoutMs;
    while (!predicate()) {
        if (GetTickCount64() >= nDeadline)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return true;
}

std::string TestBinDir() {
    char szPath[MAX_PATH];
    const DWORD nLength = GetModuleFileNameA(nullptr, szPath, sizeof(szPath));
    const std::string strPath(szPath, nLength);
    return strPath.substr(0, strPath.find_last_of('\\'));
}

std::string ReadFileText(const std::string& strPath) {
    std::ifstream file(strPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool WriteFileText(const std::string& strPath, const std::string& strText) {
    std::ofstream file(strPath, std::ios::binary | std::ios::trunc);
    file << strText;
    return file.good();
}

bool FileExists(const std::string& strPath) {
    return GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

LRESULT Ask(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT nFailed) {
    return SendBounded(false, hwnd, msg, wParam, lParam, nFailed);
}

HWND FindProcessWindow(DWORD nProcessId, const std::string& strCaption) {
    for (HWND hwnd : VisibleTopWindowsOf(nProcessId)) {
        if (CaptionOf(hwnd) == strCaption)
            return hwnd;
    }
    return nullptr;
}

HWND WaitProcessWindow(DWORD nProcessId, const std::string& strCaption) {
    HWND hwnd = nullptr;
    WaitUntil([&] { return (hwnd = FindProcessWindow(nProcessId, strCaption)) != nullptr; });
    return hwnd;
}

HWND FindControl(HWND hwndTop, int nId) {
    for (HWND hwnd : DescendantsOf(hwndTop)) {
        if (GetDlgCtrlID(hwnd) == nId)
            return hwnd;
    }
    return nullptr;
}

std::string ReadWindowText(HWND hwnd) {
    std::vector<char> buffer(Ask(hwnd, WM_GETTEXTLENGTH) + 1);
    Ask(hwnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    return buffer.data();
}

bool IsEnabled(HWND hwnd) {
    return hwnd && IsWindowEnabled(hwnd);
}

bool IsChecked(HWND hwndButton) {
    return Ask(hwndButton, BM_GETCHECK) == BST_CHECKED;
}

bool Click(HWND hwndButton) {
    // Under a modal dialog the owner window is disabled, and so, for the user, is its button.
    if (!IsEnabled(hwndButton) || !IsEnabled(GetAncestor(hwndButton, GA_ROOT)))
        return false;
    return PostMessageA(hwndButton, BM_CLICK, 0, 0) != FALSE;
}

bool CloseDialog(HWND hwndDialog, int nButton) {
    return Click(GetDlgItem(hwndDialog, nButton)) &&
           WaitUntil([&] { return !IsWindow(hwndDialog); });
}

void PostCommand(HWND hwnd, int nId) {
    PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(nId, 0), 0);
}

void TypeText(HWND hwnd, const std::string& strText) {
    for (const char ch : strText)
        PostMessageA(hwnd, WM_CHAR, static_cast<unsigned char>(ch), 1);
}

void ReplaceText(HWND hwndEdit, const std::string& strText) {
    PostMessageA(hwndEdit, EM_SETSEL, 0, -1);
    TypeText(hwndEdit, strText);
}

bool SelectListItem(HWND hwndList, int nIndex) {
    if (Ask(hwndList, LB_SETCURSEL, nIndex, 0, LB_ERR) == LB_ERR && nIndex != -1)
        return false;
    NotifyParent(hwndList, LBN_SELCHANGE);
    return true;
}

bool DoubleClickListItem(HWND hwndList, int nIndex) {
    // The first click of the pair selects; only a change of selection is notified.
    if (ListSelection(hwndList) != nIndex && !SelectListItem(hwndList, nIndex))
        return false;
    NotifyParent(hwndList, LBN_DBLCLK);
    return true;
}

std::vector<std::string> ReadListItems(HWND hwndList) {
    // Wine 8 hands an ANSI LB_GETTEXT from another process the raw UTF-16 text; the wide
    // messages arrive intact on Wine and Windows alike.
    std::vector<std::string> list;
    const LRESULT nCount = SendBounded(true, hwndList, LB_GETCOUNT, 0, 0, LB_ERR);
    for (LRESULT i = 0; i < nCount; ++i) {
        const LRESULT nLength = SendBounded(true, hwndList, LB_GETTEXTLEN, i, 0, LB_ERR);
        std::vector<wchar_t> wide(nLength + 1);
        if (nLength == LB_ERR || SendBounded(true, hwndList, LB_GETTEXT, i,
                                             reinterpret_cast<LPARAM>(wide.data()), LB_ERR) < 0)
            break;
        const int nWide = static_cast<int>(wcsnlen(wide.data(), wide.size()));
        std::string strItem(
            WideCharToMultiByte(CP_ACP, 0, wide.data(), nWide, nullptr, 0, nullptr, nullptr), '\0');
        WideCharToMultiByte(CP_ACP, 0, wide.data(), nWide, &strItem[0],
                            static_cast<int>(strItem.size()), nullptr, nullptr);
        list.push_back(strItem);
    }
    return list;
}

int ListSelection(HWND hwndList) {
    return static_cast<int>(Ask(hwndList, LB_GETCURSEL, 0, 0, LB_ERR));
}

CMessageBox FindMessageBox(DWORD nProcessId) {
    // A message box is a #32770 dialog holding one text (static 0xFFFF), buttons with the
    // standard ids, and at most an icon: that tells it from Brisa's own dialogs.
    for (HWND hwnd : VisibleTopWindowsOf(nProcessId)) {
        if (ClassOf(hwnd) != "#32770")
            continue;
        CMessageBox box;
        int nTexts = 0, nButtons = 0, nOthers = 0;
        for (HWND hwndChild : DescendantsOf(hwnd)) {
            const bool bStatic = _stricmp(ClassOf(hwndChild).c_str(), "Static") == 0;
            const int nId = GetDlgCtrlID(hwndChild) & 0xFFFF;
            if (bStatic && (GetWindowLongA(hwndChild, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
                continue;
            if (bStatic && nId == 0xFFFF) {
                ++nTexts;
                box.m_strText = ReadWindowText(hwndChild);
            } else if (_stricmp(ClassOf(hwndChild).c_str(), "Button") == 0 && nId >= IDOK &&
                       nId <= IDCONTINUE) {
                ++nButtons;
            } else {
                ++nOthers;
            }
        }
        if (nTexts == 1 && nButtons > 0 && nOthers == 0) {
            box.m_hwnd = hwnd;
            box.m_strCaption = CaptionOf(hwnd);
            return box;
        }
    }
    return CMessageBox();
}

CMessageBox WaitMessageBox(DWORD nProcessId, const std::string& strCaption) {
    // A box is found while it is being filled in, so wait for its text.
    CMessageBox box;
    const bool bFound = WaitUntil([&] {
        box = FindMessageBox(nProcessId);
        return !box.m_strText.empty() && (strCaption.empty() || box.m_strCaption == strCaption);
    });
    return bFound ? box : CMessageBox();
}

bool PressButton(HWND hwndBox, int nId) {
    return Click(GetDlgItem(hwndBox, nId));
}

std::vector<std::string> Sorted(std::vector<std::string> list) {
    std::sort(list.begin(), list.end());
    return list;
}
