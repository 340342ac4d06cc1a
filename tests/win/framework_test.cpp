// Our framework's modal dialog in this process: data exchange and its length rule, the
// notifications it holds back, command tables, how DoModal ends and where the dialog appears.
#include "framework/app.h"
#include "framework/framework_ids.h"
#include "support/driver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

namespace {

// Templates and ids of framework_test.rc: a DIALOG and a DIALOGEX at 0,0, a DIALOGEX placed.
constexpr UINT kCentred = 101, kCentredEx = 102, kPlaced = 103, kTopic = 201;
constexpr LONG kPlacedX = 30, kPlacedY = 20;
constexpr int kName = 1001, kCheck = 1002, kMaxName = 8;
constexpr UINT kRunStep = WM_APP;

const fw::HelpContext kContexts[] = {{HID_BASE_RESOURCE + kCentred, kTopic}};
const fw::HelpBook kHelpBook = {kTopic, kContexts, 1};

class CTestApp : public fw::CWinApp {
public:
    CTestApp() { m_hInstance = GetModuleHandleA(nullptr); }

protected:
    bool InitInstance() override { return true; }
    const fw::HelpBook& GetHelpBook() const override { return kHelpBook; }
} g_app;

// Runs its steps inside its own modal loop, each from a message posted after the one before:
// once a step has ended the dialog, no later step runs.
class CTestDialog : public fw::CDialog {
public:
    using Step = std::function<void(CTestDialog&)>;
    CTestDialog(UINT nIDTemplate, HWND hwndOwner, std::vector<Step> listSteps)
        : CDialog(nIDTemplate, hwndOwner), m_listSteps(std::move(listSteps)) {}

    HWND Item(int nId) const { return GetDlgItem(nId); }
    void Click(int nId) const { ::SendMessageA(Item(nId), BM_CLICK, 0, 0); }
    void Notify(int nId, UINT nCode) const {
        SendMessage(WM_COMMAND, MAKEWPARAM(nId, nCode), reinterpret_cast<LPARAM>(Item(nId)));
    }

    fw::CEdit m_editName;
    std::string m_strName = "abc";
    int m_nCheck = 2;
    int m_nChanges = 0;
    int m_nClicks = 0;
    size_t m_nStepsRun = 0;

protected:
    void DoDataExchange(fw::CDataExchange& dx) override {
        fw::DDX_Control(dx, kName, m_editName);
        fw::DDX_Text(dx, kName, m_strName);
        fw::DDV_MaxChars(dx, m_strName, kMaxName);
        fw::DDX_Check(dx, kCheck, m_nCheck);
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        PostMessageA(m_hWnd, kRunStep, 0, 0);
        return TRUE;
    }
    INT_PTR DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg != kRunStep || m_nStepsRun >= m_listSteps.size())
            return CDialog::DialogProc(msg, wParam, lParam);
        m_listSteps[m_nStepsRun++](*this);
        if (m_nStepsRun < m_listSteps.size())
            PostMessageA(m_hWnd, kRunStep, 0, 0);
        return TRUE;
    }
    fw::CommandMap GetCommandMap() const override { return fw::MakeCommandMap(s_commands); }

private:
    void OnNameChange() { ++m_nChanges; }
    void OnCheckClicked() { ++m_nClicks; }

    std::vector<Step> m_listSteps;
    static const fw::CommandEntry s_commands[2];
};

const fw::CommandEntry CTestDialog::s_commands[2] = {
    fw::OnCommandCode(kName, EN_CHANGE, &CTestDialog::OnNameChange),
    fw::OnCommand(kCheck, &CTestDialog::OnCheckClicked),
};

// Runs action while another thread presses OK on the message box it shows, as the user would;
// returns the box's text, "" when none appeared.
std::string AnswerBoxDuring(const std::function<void()>& action) {
    std::atomic<bool> bDone{false};
    CMessageBox box;
    std::thread helper([&] {
        WaitUntil([&] { return bDone || (box = FindMessageBox(GetCurrentProcessId())).m_hwnd; });
        if (box.m_hwnd)
            PressButton(box.m_hwnd, IDOK);
    });
    action();
    bDone = true;
    helper.join();
    return box.m_strText;
}

POINT ClientOrigin(HWND hwnd) {
    POINT point = {0, 0};
    ClientToScreen(hwnd, &point);
    return point;
}

class Framework : public testing::Test {
protected:
    void SetUp() override {
        m_hwndOwner = CreateWindowExA(0, "STATIC", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 120,
                                      90, 640, 480, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(m_hwndOwner);
    }
    void TearDown() override { DestroyWindow(m_hwndOwner); }
    HWND m_hwndOwner = nullptr;
};

TEST_F(Framework, ExchangeFillsTheControlsAndStopsAtAnOverLongText) {
    const auto exchange = [](CTestDialog& d) {
        const HWND hwndName = d.Item(kName);
        EXPECT_EQ(hwndName, d.m_editName.m_hWnd);
        EXPECT_EQ("abc", ReadWindowText(hwndName));
        EXPECT_EQ(BST_CHECKED, SendMessageA(d.Item(kCheck), BM_GETCHECK, 0, 0));
        EXPECT_EQ(kMaxName, SendMessageA(hwndName, EM_GETLIMITTEXT, 0, 0));

        // In order: the failing row leaves the check value of the row before.
        struct {
            const char* pszText;
            WPARAM nCheckState;
            bool bOk;
            int nCheck;
        } const cases[] = {
            {"12345678", BST_UNCHECKED, true, 0},
            {"", BST_CHECKED, true, 1},
            {"123456789", BST_UNCHECKED, false, 1},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.pszText);
            SetWindowTextA(hwndName, c.pszText);
            SendMessageA(d.Item(kCheck), BM_SETCHECK, c.nCheckState, 0);
            SetFocus(d.Item(kCheck));
            const std::string strBox =
                AnswerBoxDuring([&] { EXPECT_EQ(c.bOk, d.UpdateData(true)); });
            EXPECT_EQ(c.pszText, d.m_strName);
            EXPECT_EQ(c.nCheck, d.m_nCheck);
            EXPECT_EQ(c.bOk, strBox.empty()) << strBox;
            if (!c.bOk) {
                EXPECT_NE(std::string::npos, strBox.find("no more than 8 characters")) << strBox;
                EXPECT_EQ(hwndName, GetFocus());
                const LRESULT nSel = SendMessageA(hwndName, EM_GETSEL, 0, 0);
                EXPECT_EQ(static_cast<LRESULT>(MAKELONG(0, 9)), nSel);
            }
        }
        d.EndDialog(IDCANCEL);
    };
    CTestDialog dialog(kCentred, m_hwndOwner, {exchange});
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
}

TEST_F(Framework, HandlersRunForTheirOwnPairOnlyAndNotForTheExchange) {
    const auto dispatch = [](CTestDialog& d) {
        // OnInitDialog's exchange wrote the edit box.
        EXPECT_EQ(0, d.m_nChanges);
        struct {
            int nId;
            UINT nCode;
            int nChanges, nClicks;
        } const cases[] = {
            {kName, EN_CHANGE, 1, 0},    {kName, EN_UPDATE, 0, 0},
            {kName, BN_CLICKED, 0, 0},   {kCheck, EN_CHANGE, 0, 0},
            {kCheck, BN_CLICKED, 0, 1},  {kCheck, BN_DOUBLECLICKED, 0, 0},
            {IDCANCEL, EN_CHANGE, 0, 0},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.nId << "/" << c.nCode);
            d.m_nChanges = d.m_nClicks = 0;
            d.Notify(c.nId, c.nCode);
            EXPECT_EQ(c.nChanges, d.m_nChanges);
            EXPECT_EQ(c.nClicks, d.m_nClicks);
        }

        const HWND hwndName = d.Item(kName);
        d.m_nChanges = 0;
        d.m_strName = "written";
        EXPECT_TRUE(d.UpdateData(false));
        EXPECT_EQ("written", ReadWindowText(hwndName));
        EXPECT_EQ(0, d.m_nChanges);
        SetWindowTextA(hwndName, "set");
        EXPECT_EQ(1, d.m_nChanges);
        TypeText(hwndName, "x");
        EXPECT_TRUE(WaitUntil([&] { return d.m_nChanges == 2; }));
        d.EndDialog(IDCANCEL);
    };
    CTestDialog dialog(kCentred, m_hwndOwner, {dispatch});
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
}

TEST_F(Framework, DoModalEndsWithOkOnlyWhenTheExchangeSucceeds) {
    // Escape and WM_CLOSE come last: the modal loop takes them up after the step.
    using Input = void (*)(CTestDialog&);
    const Input ok = [](CTestDialog& d) { d.Click(IDOK); };
    const Input cancel = [](CTestDialog& d) { d.Click(IDCANCEL); };
    const Input help = [](CTestDialog& d) { d.Click(ID_HELP); };
    const Input escape = [](CTestDialog& d) {
        PostMessageA(d.Item(kName), WM_KEYDOWN, VK_ESCAPE, 0);
    };
    const Input close = [](CTestDialog& d) { PostMessageA(d.m_hWnd, WM_CLOSE, 0, 0); };
    const Input okDoubleClicked = [](CTestDialog& d) { d.Notify(IDOK, BN_DOUBLECLICKED); };
    struct {
        const char* pszName;
        const char* pszText;
        std::vector<Input> listInputs;
        INT_PTR nResult;
        bool bBox, bHelp;
    } const cases[] = {
        {"OK", "fine", {ok}, IDOK, false, false},
        {"over-long OK stays open", "123456789", {ok, cancel}, IDCANCEL, true, false},
        {"Cancel", "fine", {cancel}, IDCANCEL, false, false},
        {"Escape", "fine", {escape}, IDCANCEL, false, false},
        {"WM_CLOSE", "fine", {close}, IDCANCEL, false, false},
        {"Help stays open", "fine", {help, ok}, IDOK, false, true},
        {"OK double-click is no click", "fine", {okDoubleClicked, ok}, IDOK, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        std::string strBoxes;
        std::vector<CTestDialog::Step> listSteps;
        for (const Input input : c.listInputs) {
            listSteps.push_back([&, input](CTestDialog& d) {
                if (d.m_nStepsRun == 1)
                    SetWindowTextA(d.Item(kName), c.pszText);
                strBoxes += AnswerBoxDuring([&] { input(d); });
            });
        }
        CTestDialog dialog(kCentred, m_hwndOwner, listSteps);
        EXPECT_EQ(c.nResult, dialog.DoModal());
        EXPECT_EQ(c.listInputs.size(), dialog.m_nStepsRun);
        EXPECT_EQ(c.bBox, !strBoxes.empty()) << strBoxes;
        // An exchange that ran, even one that failed, has stored the text.
        EXPECT_EQ(c.nResult == IDOK || c.bBox ? c.pszText : "abc", dialog.m_strName);

        const HWND hwndHelp = FindWindowA("fwHelpWindow", nullptr);
        EXPECT_EQ(c.bHelp, hwndHelp && IsWindowVisible(hwndHelp));
        if (hwndHelp) {
            const std::string strCaption = ReadWindowText(hwndHelp);
            EXPECT_NE(std::string::npos, strCaption.find("Help - Test dialog")) << strCaption;
            DestroyWindow(hwndHelp);
        }
    }
}

TEST_F(Framework, TemplateAtOriginIsCentredAndAPlacedOneStaysWhereItSays) {
    struct {
        const char* pszName;
        UINT nTemplate;
        bool bOwner, bCentred;
    } const cases[] = {
        {"DIALOG at 0,0", kCentred, true, true},
        {"DIALOGEX at 0,0", kCentredEx, true, true},
        {"at 0,0 without owner", kCentred, false, true},
        {"placed", kPlaced, true, false},
        {"placed without owner", kPlaced, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        const HWND hwndOwner = c.bOwner ? m_hwndOwner : nullptr;
        RECT rectArea = {}; // what a centred dialog centres on
        if (hwndOwner) {
            GetWindowRect(hwndOwner, &rectArea);
        } else {
            SystemParametersInfoA(SPI_GETWORKAREA, 0, &rectArea, 0);
        }
        RECT rect = {}, rectPlace = {kPlacedX, kPlacedY, 0, 0};
        POINT pointClient = {};
        const auto measure = [&](CTestDialog& d) {
            GetWindowRect(d.m_hWnd, &rect);
            MapDialogRect(d.m_hWnd, &rectPlace);
            pointClient = ClientOrigin(d.m_hWnd);
            d.EndDialog(IDCANCEL);
        };
        CTestDialog dialog(c.nTemplate, hwndOwner, {measure});
        ASSERT_EQ(IDCANCEL, dialog.DoModal());
        if (c.bCentred) {
            EXPECT_NEAR(rectArea.left + rectArea.right, rect.left + rect.right, 1);
            EXPECT_NEAR(rectArea.top + rectArea.bottom, rect.top + rect.bottom, 1);
        } else {
            const POINT pointOrigin = hwndOwner ? ClientOrigin(hwndOwner) : POINT{0, 0};
            EXPECT_EQ(pointOrigin.x + rectPlace.left, pointClient.x);
            EXPECT_EQ(pointOrigin.y + rectPlace.top, pointClient.y);
        }
    }
}

} // namespace
