// The main window of a running Brisa.exe: caption, frame, menu, About box, help, the keys and
// how the program ends.
#include "framework/framework_ids.h"
#include "support/brisa_fixture.h"

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

HWND HelpWindow() {
    return FindWindowA("fwHelpWindow", nullptr);
}

// Brisa on a WAV folder holding ding.wav and other.wav.
struct CShell : CBrisaCase {
    CShell() { UseWavDir(); }
    void PostKey(UINT nKey) const { PostMessageA(MainWindow(), WM_KEYDOWN, nKey, 1); }
    // A posted click on the frame over the control's middle, or near the form's corner, where no
    // control is, for 0: in context-help mode the frame has the mouse captured.
    void ClickFrameAt(int nId) const {
        POINT pt = {1, 1};
        RECT rc = {};
        if (nId && GetWindowRect(Item(nId), &rc)) {
            pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
            ScreenToClient(MainWindow(), &pt);
        }
        PostMessageA(MainWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    }
};

TEST(Shell, FixedFrameAroundTheFormWithItsMenu) {
    CShell brisa;
    ASSERT_TRUE(brisa.Start());
    const HWND hwndMain = brisa.MainWindow();
    EXPECT_EQ("Brisa Server - Brisa", ReadWindowText(hwndMain));
    const LONG nStyle = GetWindowLongA(hwndMain, GWL_STYLE);
    EXPECT_EQ(WS_MINIMIZEBOX | WS_SYSMENU,
              nStyle & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_SYSMENU));

    const HWND hwndForm = GetParent(brisa.Item(IDC_FILE_LIST));
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
    CShell brisa;
    ASSERT_TRUE(brisa.Start());
    PostCommand(brisa.MainWindow(), ID_APP_ABOUT);
    HWND hwndAbout = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (hwndAbout = OwnedDialog(brisa.MainWindow())) != nullptr; }));
    EXPECT_FALSE(IsEnabled(brisa.MainWindow()));
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

    ASSERT_TRUE(CloseDialog(hwndAbout, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return IsEnabled(brisa.MainWindow()); }));
}

TEST(Shell, EachHelpContextOpensItsTopicAndEscapeLeavesContextHelp) {
    CShell brisa;
    ASSERT_TRUE(brisa.Start());
    const HWND hwndMain = brisa.MainWindow();
    const auto command = [=](int nId) { return [=] { PostCommand(hwndMain, nId); }; };
    const auto contextClick = [&](int nControl) {
        return [&brisa, nControl] {
            PostCommand(brisa.MainWindow(), ID_CONTEXT_HELP);
            brisa.ClickFrameAt(nControl);
        };
    };
    struct {
        const char* pszWhat;
        std::function<void()> fnAct;
        const char* pszTopic;
    } const cases[] = {
        {"Help Index", command(ID_HELP_INDEX), kIndexTopic},
        {"Help button", [&] { Click(brisa.Item(IDC_HELP_BUTTON)); }, kMainTopic},
        {"F1", [&] { brisa.PostKey(VK_F1); }, kMainTopic},
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
        EXPECT_TRUE(WaitUntil([&] {
            return ReadWindowText(HelpWindow()) == std::string("Brisa Help - ") + c.pszTopic;
        })) << ReadWindowText(HelpWindow());
        // Closed each time, so the next case must open it afresh.
        const HWND hwndHelp = HelpWindow();
        PostMessageA(hwndHelp, WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(hwndHelp); }));
    }

    // After Escape a click is an ordinary one again.
    PostCommand(hwndMain, ID_CONTEXT_HELP);
    brisa.PostKey(VK_ESCAPE);
    brisa.ClickFrameAt(IDC_OPTIONS);
    ASSERT_TRUE(brisa.Sync());
    EXPECT_EQ(nullptr, HelpWindow());
}

TEST(Shell, NewRelistsTheFolderAndTheOtherDocumentAndPaneKeysDoNothing) {
    CShell brisa;
    ASSERT_TRUE(brisa.Start());
    ASSERT_TRUE(brisa.Select(1));
    ASSERT_FALSE(IsEnabled(brisa.Item(IDC_SEND)));
    CImitationClient client; // started after Brisa: New looks for it again
    brisa.MakeDir("wav", {"added.wav"});
    // Settings are read when the view is made and after its dialogs, not on New.
    brisa.WriteWavDir(brisa.MakeDir("other"));

    PostCommand(brisa.MainWindow(), ID_FILE_NEW);
    const Lines listAfter = {"added.wav", "ding.wav", "other.wav"};
    ASSERT_TRUE(WaitUntil([&] { return brisa.Files() == listAfter; }));
    EXPECT_EQ(0, brisa.Selection());
    EXPECT_EQ("added.wav", brisa.FileName());
    EXPECT_EQ(2, brisa.EnabledClientButtons());

    brisa.PostKey(VK_F6);
    for (const int nId : {ID_FILE_OPEN, ID_FILE_SAVE, ID_PREV_PANE})
        PostCommand(brisa.MainWindow(), nId);
    ASSERT_TRUE(brisa.Sync());
    EXPECT_EQ(nullptr, OwnedDialog(brisa.MainWindow()));
    EXPECT_EQ(CBrisaCase::kMainCaption, ReadWindowText(brisa.MainWindow()));
    EXPECT_EQ(listAfter, brisa.Files());
    EXPECT_EQ(0, brisa.Selection());
}

TEST(Shell, CopyActsOnTheFocusedNameBox) {
    CShell brisa;
    ASSERT_TRUE(brisa.Start());
    const HWND hwndName = brisa.Item(IDC_FILE_NAME);
    ASSERT_EQ("ding.wav", ReadWindowText(hwndName));
    PostMessageA(hwndName, WM_LBUTTONDOWN, MK_LBUTTON, 0); // a click focuses the box
    PostMessageA(hwndName, WM_LBUTTONUP, 0, 0);
    PostMessageA(hwndName, EM_SETSEL, 0, -1);
    PostCommand(brisa.MainWindow(), ID_EDIT_COPY);
    ASSERT_TRUE(brisa.Sync());
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
        CShell brisa;
        ASSERT_TRUE(brisa.Start());
        PostMessageA(brisa.MainWindow(), nMessage, nMessage == WM_COMMAND ? ID_APP_EXIT : 0, 0);
        EXPECT_TRUE(brisa.ProcessExited());
    }
}

} // namespace
