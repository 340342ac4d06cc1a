// The imitation IRC client driven with the messages Brisa sends a real one, and the driver
// helpers that read and press controls.
#include "driver.h"
#include "imitation_client.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

using EStep = CImitationClient::EStep;
using Lines = std::vector<std::string>;

// Brisa's walk from the client class: every window reached, up to the first step finding none.
std::vector<HWND> WalkPath(const char* pszClass) {
    std::vector<HWND> path;
    HWND hwnd = FindWindowA(pszClass, nullptr);
    for (const UINT nRelation : {GW_CHILD, GW_HWNDNEXT, GW_CHILD, GW_CHILD, GW_HWNDNEXT}) {
        if (!hwnd)
            return path;
        path.push_back(hwnd);
        hwnd = GetWindow(hwnd, nRelation);
    }
    if (hwnd)
        path.push_back(hwnd);
    return path;
}

// Brisa's way of typing a line into the edit line.
void TypeLine(HWND hwndEdit, const std::string& strLine, bool bEnter) {
    Ask(hwndEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(strLine.c_str()));
    Ask(hwndEdit, EM_SETSEL, 0, -1);
    Ask(hwndEdit, EM_SETSEL, static_cast<WPARAM>(-1), 0);
    if (bEnter)
        Ask(hwndEdit, WM_CHAR, 13, 1);
}

} // namespace

TEST(ImitationClient, WalkReachesTheActiveWindowEditLineAndNickList) {
    CImitationClient client("mIRC32", "#chat [+nt]: hello");
    const std::vector<HWND> path = WalkPath("mIRC32");
    ASSERT_EQ(path.size(), 6u);
    EXPECT_EQ(path[0], client.TopLevel());
    EXPECT_EQ(path[3], client.ActiveWindow());
    EXPECT_EQ(path[4], client.EditLine());
    EXPECT_EQ(path[5], client.NickList());
    EXPECT_EQ(ReadWindowText(path[3]), "#chat [+nt]: hello");
    EXPECT_EQ(FindWindowA("PIRCH", nullptr), nullptr);
}

TEST(ImitationClient, LineIsEnteredOnlyWithEnterAndReplacesTypedText) {
    const struct {
        std::string strLine;
        bool bEnter;
        Lines listEntered;
        std::string strLeft;
    } cases[] = {
        {"/sound #chat ding.wav plays ding", true, {"/sound #chat ding.wav plays ding"}, ""},
        {"/sound #chat ding.wav - ", false, {}, "/sound #chat ding.wav - "},
        {"", true, {""}, ""},
    };
    CImitationClient client;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.strLine);
        ASSERT_TRUE(client.SetEditText("half typed"));
        client.ClearRecords();
        TypeLine(client.EditLine(), c.strLine, c.bEnter);
        EXPECT_EQ(client.EnteredLines(), c.listEntered);
        EXPECT_EQ(client.EditText(), c.strLeft);
        // The caret waits after the last character, nothing selected.
        const auto nEnd = static_cast<DWORD>(c.strLeft.size());
        EXPECT_EQ(Ask(client.EditLine(), EM_GETSEL, 0, 0), MAKELRESULT(nEnd, nEnd));
        EXPECT_EQ(client.RaisedWindows(), Lines());
    }
}

TEST(ImitationClient, NicknamesKeepTheirOrderAndEachReadIsCounted) {
    const Lines listNicks = {"zed", "@op", "alice"};
    CImitationClient client("mIRC32", "#chat", listNicks);
    const HWND hwndList = client.NickList();
    ASSERT_EQ(Ask(hwndList, LB_GETCOUNT, 0, 0), 3);
    for (int i = 0; i < 3; ++i) {
        char szNick[256];
        Ask(hwndList, LB_GETTEXT, i, reinterpret_cast<LPARAM>(szNick));
        EXPECT_EQ(szNick, listNicks[i]);
    }
    EXPECT_EQ(client.NickTextReads(), 3);
    EXPECT_EQ(ReadListItems(hwndList), listNicks);
}

TEST(ImitationClient, RaisesOfTopLevelAndActiveWindowAreRecordedInOrder) {
    CImitationClient client;
    EXPECT_EQ(client.RaisedWindows(), Lines());
    BringWindowToTop(client.ActiveWindow());
    BringWindowToTop(client.TopLevel());
    EXPECT_TRUE(WaitUntil([&] { return client.RaisedWindows() == Lines{"active", "top"}; }));
    client.ClearRecords();
    EXPECT_EQ(client.RaisedWindows(), Lines());
}

TEST(ImitationClient, HungClientLetsTimedSendsFailUntilResumed) {
    CImitationClient client;
    ASSERT_TRUE(client.Hang());
    const ULONGLONG nStart = GetTickCount64();
    DWORD_PTR nResult = 0;
    EXPECT_EQ(SendMessageTimeoutA(client.EditLine(), WM_SETTEXT, 0,
                                  reinterpret_cast<LPARAM>("late"), SMTO_ABORTIFHUNG | SMTO_BLOCK,
                                  500, &nResult),
              0);
    EXPECT_LT(GetTickCount64() - nStart, 2000u);
    EXPECT_FALSE(client.SetTitle("#other"));

    client.Resume();
    EXPECT_TRUE(client.SetTitle("#other"));
    EXPECT_EQ(ReadWindowText(client.ActiveWindow()), "#other");
}

TEST(ImitationClient, MissingWindowEndsTheWalkAtItsStep) {
    // Windows the walk reaches: the top-level window plus one per step before the missing one.
    const struct {
        EStep step;
        size_t nReached;
    } cases[] = {
        {EStep::FirstChild, 1}, {EStep::SecondChild, 2}, {EStep::ActiveWindow, 3},
        {EStep::EditLine, 4},   {EStep::NickList, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.step));
        CImitationClient client;
        ASSERT_TRUE(client.RemoveWindow(c.step));
        EXPECT_EQ(WalkPath("mIRC32").size(), c.nReached);
    }
}

TEST(ImitationClient, LongTitleAndFiveThousandNicknamesArriveWhole) {
    const std::string strTitle = "#big " + std::string(5000, 'x');
    Lines listNicks;
    for (int i = 0; i < 5000; ++i)
        listNicks.push_back("nick" + std::to_string(i));
    CImitationClient client;
    ASSERT_TRUE(client.SetTitle(strTitle));
    ASSERT_TRUE(client.SetNicknames(listNicks));
    EXPECT_EQ(ReadWindowText(client.ActiveWindow()), strTitle);
    EXPECT_EQ(ReadListItems(client.NickList()), listNicks);
    EXPECT_EQ(client.NickTextReads(), 5000);
}

TEST(ImitationClient, ClosedClientIsGone) {
    CImitationClient client("mIRC");
    client.Close();
    EXPECT_EQ(FindWindowA("mIRC", nullptr), nullptr);
    EXPECT_EQ(client.TopLevel(), nullptr);
    EXPECT_FALSE(client.SetTitle("#chat"));
}

TEST(Driver, PostedInputReachesTheControls) {
    CImitationClient client("mIRC32", "#chat", {"a", "b", "c"});
    TypeText(client.EditLine(), "hi there");
    EXPECT_TRUE(WaitUntil([&] { return client.EditText() == "hi there"; }));
    EXPECT_TRUE(SelectListItem(client.NickList(), 2));
    EXPECT_EQ(ListSelection(client.NickList()), 2);
    EXPECT_FALSE(SelectListItem(client.NickList(), 3));
    EnableWindow(client.EditLine(), FALSE);
    EXPECT_FALSE(IsEnabled(client.EditLine()));
    EXPECT_FALSE(Click(client.EditLine()));
}

TEST(Driver, MessageBoxIsFoundReadAndAnswered) {
    const struct {
        UINT nType;
        int nButton;
    } cases[] = {{MB_YESNO | MB_ICONQUESTION, IDNO}, {MB_OK | MB_ICONEXCLAMATION, IDOK}};
    for (const auto& c : cases) {
        int nAnswer = 0;
        std::atomic<DWORD> nThread{0};
        std::thread box([&] {
            nThread = GetCurrentThreadId();
            nAnswer = MessageBoxA(nullptr, "C:\\wav\\a.wav", "Caption", c.nType);
        });
        CMessageBox found;
        EXPECT_TRUE(
            WaitUntil([&] { return (found = FindMessageBox(GetCurrentProcessId())).m_hwnd; }));
        EXPECT_EQ(found.m_strCaption, "Caption");
        EXPECT_EQ(found.m_strText, "C:\\wav\\a.wav");
        const bool bPressed = PressButton(found.m_hwnd, c.nButton);
        EXPECT_TRUE(bPressed);
        if (!bPressed)
            PostThreadMessageA(nThread, WM_QUIT, 0, 0); // or the join would wait for ever
        box.join();
        EXPECT_EQ(nAnswer, c.nButton);
    }
}
