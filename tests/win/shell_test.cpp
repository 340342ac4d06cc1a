// The main window of a running Brisa.exe: caption, frame, menu, About box, help, the keys and
// how the program ends.
#include "framework/framework_ids.h"
#include "resource.h"
#include "support/driver.h"
#include "support/imitation_client.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Lines = std::vector<std::string>;

constexpr char kIndexTopic[] = "Brisa Help Index";
constexpr char kMainTopic[] = "The main window";

// A visible dialog or message box owned by that window.
HWND OwnedDialog(HWND hwndOwner) {
    HWND hwnd = nullptr;
    while ((hwnd = FindWindowExA(nullptr, hwnd, "#32770", nullptr)))
        if (GetWindow(hwnd, GW_OWNER) == hwndOwner && IsWindowVisible(hwnd))
            return hwnd;
    return nullptr;
}

// "text id" per command, "text" (with " >|" when right-justified) per pop-up, "-" per separator.
Lines MenuItems(HMENU hmenu) {
    Lines list;
    for (int i = 0; i < GetMenuItemCount(hmenu); ++i) {
        char szText[64] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
        info.dwTypeData = szText;
        info.cch = sizeof(szText);
        GetMenuItemInfoA(hmenu, i, TRUE, &info);
        list.push_back((info.fType & MFT_SEPARATOR) ? "-"
                       : info.hSubMenu
                           ? std::string(szText) + (info.fType & MFT_RIGHTJUSTIFY ? " >|" : "")
                           : std::string(szText) + " " + std::to_string(info.wID));
    }
    return list;
}

// Brisa on a WAV folder holding ding.wav and other.wav.
class CShell {
public:
    CShell() {
        m_strWavDir = m_brisa.MakeDir("wav");
        for (const char* pszName : {"ding.wav", "other.wav"})
            WriteFileText(m_strWavDir + "\\" + pszName, "RIFF");
        m_brisa.WriteIni("[Options]\r\nWAVDir=" + m_strWavDir + "\r\n");
    }
    HWND Main() const { return m_brisa.MainWindow(); }
    HWND Item(int nId) const { return FindControl(Main(), nId); }
    void PostKey(UINT nKey) const { PostMessageA(Main(), WM_KEYDOWN, nKey, 1); }
    // A posted click on the frame over the control's middle, or near the form's corner, where no
    // control is, for 0: in context-help mode the frame has the mouse captured.
    void ClickFrameAt(int nId) const {
        POINT pt = {1, 1};
        RECT rc = {};
        if (nId && GetWindowRect(Item(nId), &rc)) {
            pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
            ScreenToClient(Main(), &pt);
        }
        PostMessageA(Main(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    }
    static HWND HelpWindow() { return FindWindowA("fwHelpWindow", nullptr); }
    bool WaitHelpTopic(const std::string& strTitle) const {
        return WaitUntil(
            [&] { return ReadWindowText(HelpWindow()) == "Brisa Help - " + strTitle; });
    }
    // Returns once Brisa has handled everything posted to it before: a posted margin change of
    // the name box must show.
    bool Sync() {
        const HWND hwnd = Item(IDC_FILE_NAME);
        m_nMarker = m_nMarker % 20 + 1;
        PostMessageA(hwnd, EM_SETMARGINS, EC_LEFTMARGIN, MAKELPARAM(m_nMarker, 0));
        return WaitUntil(
            [&] { return LOWORD(SendMessageA(hwnd, EM_GETMARGINS, 0, 0)) == m_nMarker; });
    }

    CBrisaCase m_brisa;
    std::string m_strWavDir;
    int m_nMarker = 0;
};

TEST(Shell, FixedFrameAroundTheFormWithItsMenu) {
    CShell shell;
    ASSERT_TRUE(shell.m_brisa.Start());
    const HWND hwndMain = shell.Main();
    EXPECT_EQ("Brisa Server - Brisa", ReadWindowText(hwndMain));
    const LONG nStyle = GetWindowLongA(hwndMain, GWL_STYLE);
    EXPECT_EQ(WS_MINIMIZEBOX | WS_SYSMENU,
              nStyle & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_SYSMENU));

    const HWND hwndForm = GetParent(shell.Item(IDC_FILE_LIST));
    EXPECT_EQ(hwndForm, GetWindow(hwndMain, GW_CHILD));
    EXPECT_EQ(nullptr, GetWindow(hwndForm, GW_HWNDNEXT));
    RECT rcClient = {}, rcForm = {};
    GetClientRect(hwndMain, &rcClient);
    GetWindowRect(hwndForm, &rcForm);
    EXPECT_EQ(rcForm.right - rcForm.left, rcClient.right);
    EXPECT_EQ(rcForm.bottom - rcForm.top, rcClient.bottom);

    HMENU hmenu = GetMenu(hwndMain);
    ASSERT_NE(nullptr, hmenu);
    // Wine keeps a menu's items in the process that owns it, where Windows lets any process
    // read them; under Wine they are read from the program's resources instead.
    if (GetMenuItemCount(hmenu) < 0)
        hmenu = LoadMenuA(LoadLibraryExA((TestBinDir() + "\\Brisa.exe").c_str(), nullptr,
                                         LOAD_LIBRARY_AS_DATAFILE),
                          MAKEINTRESOURCEA(IDR_MAINFRAME));
    EXPECT_EQ((Lines{"&File", "&Help >|"}), MenuItems(hmenu));
    const auto item = [](const char* pszText, int nId) { return pszText + std::to_string(nId); };
    EXPECT_EQ((Lines{item("E&xit ", ID_APP_EXIT)}), MenuItems(GetSubMenu(hmenu, 0)));
    EXPECT_EQ(
        (Lines{item("&Help Index ", ID_HELP_INDEX), "-", item("&About Brisa... ", ID_APP_ABOUT)}),
        MenuItems(GetSubMenu(hmenu, 1)));
}

TEST(Shell, AboutBoxShowsTheVersionAndOkClosesIt) {
    CShell shell;
    ASSERT_TRUE(shell.m_brisa.Start());
    PostCommand(shell.Main(), ID_APP_ABOUT);
    HWND hwndAbout = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (hwndAbout = OwnedDialog(shell.Main())) != nullptr; }));
    EXPECT_FALSE(IsEnabled(shell.Main()));
    Lines listTexts;
    for (HWND hwnd = GetWindow(hwndAbout, GW_CHILD); hwnd; hwnd = GetWindow(hwnd, GW_HWNDNEXT)) {
        char szClass[16] = {};
        GetClassNameA(hwnd, szClass, sizeof(szClass));
        if (_stricmp(szClass, "Static") == 0 &&
            (GetWindowLongA(hwnd, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
            listTexts.push_back(ReadWindowText(hwnd));
    }
    ASSERT_EQ(3u, listTexts.size());
    EXPECT_EQ("Brisa32 - Brisa Server", listTexts[0]);
    EXPECT_EQ("Version 1.2", listTexts[1]);
    EXPECT_FALSE(listTexts[2].empty());

    ASSERT_TRUE(Click(GetDlgItem(hwndAbout, IDOK)));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(hwndAbout) && IsEnabled(shell.Main()); }));
}

TEST(Shell, EachHelpContextOpensItsTopicAndEscapeLeavesContextHelp) {
    CShell shell;
    ASSERT_TRUE(shell.m_brisa.Start());
    const auto command = [&](int nId) { return [&shell, nId] { PostCommand(shell.Main(), nId); }; };
    const auto contextClick = [&](int nControl) {
        return [&shell, nControl] {
            PostCommand(shell.Main(), ID_CONTEXT_HELP);
            shell.ClickFrameAt(nControl);
        };
    };
    struct {
        const char* pszWhat;
        std::function<void()> fnAct;
        const char* pszTopic;
    } const cases[] = {
        {"Help Index", command(ID_HELP_INDEX), kIndexTopic},
        {"Help button", [&] { Click(shell.Item(IDC_HELP_BUTTON)); }, kMainTopic},
        {"F1", [&] { shell.PostKey(VK_F1); }, kMainTopic},
        // Help Topics and the default help name no context: the index opens.
        {"Help Topics", command(ID_HELP_FINDER), kIndexTopic},
        {"default help", command(ID_DEFAULT_HELP), kIndexTopic},
        {"Shift+F1 Send", contextClick(IDC_SEND), "Announcing a sound"},
        {"Shift+F1 Options", contextClick(IDC_OPTIONS), "The Options dialog"},
        {"Shift+F1 DCC", contextClick(IDC_DCC), "The DCC Send dialog"},
        {"Shift+F1 list", contextClick(IDC_FILE_LIST), kMainTopic},
        {"Shift+F1 no control", contextClick(0), kMainTopic},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        c.fnAct();
        EXPECT_TRUE(shell.WaitHelpTopic(c.pszTopic)) << ReadWindowText(shell.HelpWindow());
        // Closed each time, so the next case must open it afresh.
        const HWND hwndHelp = shell.HelpWindow();
        PostMessageA(hwndHelp, WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(hwndHelp); }));
    }

    // After Escape a click is an ordinary one again.
    PostCommand(shell.Main(), ID_CONTEXT_HELP);
    shell.PostKey(VK_ESCAPE);
    shell.ClickFrameAt(IDC_OPTIONS);
    ASSERT_TRUE(shell.Sync());
    EXPECT_EQ(nullptr, shell.HelpWindow());
}

TEST(Shell, NewRelistsTheFolderAndTheOtherDocumentAndPaneKeysDoNothing) {
    CShell shell;
    ASSERT_TRUE(shell.m_brisa.Start());
    const HWND hwndList = shell.Item(IDC_FILE_LIST);
    ASSERT_TRUE(SelectListItem(hwndList, 1));
    ASSERT_FALSE(IsEnabled(shell.Item(IDC_SEND)));
    CImitationClient client; // started after Brisa: New looks for it again
    WriteFileText(shell.m_strWavDir + "\\added.wav", "RIFF");
    // Settings are read when the view is made and after its dialogs, not on New.
    shell.m_brisa.WriteIni("[Options]\r\nWAVDir=" + shell.m_brisa.MakeDir("other") + "\r\n");

    PostCommand(shell.Main(), ID_FILE_NEW);
    const Lines listAfter = {"added.wav", "ding.wav", "other.wav"};
    ASSERT_TRUE(WaitUntil([&] { return ReadListItems(hwndList) == listAfter; }));
    EXPECT_EQ(0, ListSelection(hwndList));
    EXPECT_EQ("added.wav", ReadWindowText(shell.Item(IDC_FILE_NAME)));
    EXPECT_TRUE(IsEnabled(shell.Item(IDC_SEND)));
    EXPECT_TRUE(IsEnabled(shell.Item(IDC_DCC)));

    shell.PostKey(VK_F6);
    for (const int nId : {ID_FILE_OPEN, ID_FILE_SAVE, ID_PREV_PANE})
        PostCommand(shell.Main(), nId);
    ASSERT_TRUE(shell.Sync());
    EXPECT_EQ(nullptr, OwnedDialog(shell.Main()));
    EXPECT_EQ(CBrisaCase::kMainCaption, ReadWindowText(shell.Main()));
    EXPECT_EQ(listAfter, ReadListItems(hwndList));
    EXPECT_EQ(0, ListSelection(hwndList));
}

TEST(Shell, CopyActsOnTheFocusedNameBox) {
    CShell shell;
    ASSERT_TRUE(shell.m_brisa.Start());
    const HWND hwndName = shell.Item(IDC_FILE_NAME);
    ASSERT_EQ("ding.wav", ReadWindowText(hwndName));
    PostMessageA(hwndName, WM_LBUTTONDOWN, MK_LBUTTON, 0); // a click focuses the box
    PostMessageA(hwndName, WM_LBUTTONUP, 0, 0);
    PostMessageA(hwndName, EM_SETSEL, 0, -1);
    PostCommand(shell.Main(), ID_EDIT_COPY);
    ASSERT_TRUE(shell.Sync());
    ASSERT_TRUE(OpenClipboard(nullptr));
    std::string strCopied;
    if (const HANDLE hData = GetClipboardData(CF_TEXT)) {
        strCopied = static_cast<const char*>(GlobalLock(hData));
        GlobalUnlock(hData);
    }
    CloseClipboard();
    EXPECT_EQ("ding.wav", strCopied);
}

TEST(Shell, ExitAndCloseEndTheProcess) {
    for (const UINT nMessage : {WM_COMMAND, WM_CLOSE}) {
        SCOPED_TRACE(nMessage);
        CShell shell;
        ASSERT_TRUE(shell.m_brisa.Start());
        PostMessageA(shell.Main(), nMessage, nMessage == WM_COMMAND ? ID_APP_EXIT : 0, 0);
        EXPECT_TRUE(shell.m_brisa.ProcessExited());
    }
}

} // namespace
