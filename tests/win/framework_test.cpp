// Our framework's dialogs in this process: command table rows, the notifications held back while
// data exchange runs, how DoModal ends, help, and where a dialog appears.
#include "controls.h"
#include "framework/app.h"
#include "framework/framework_ids.h"

#include <gtest/gtest.h>

namespace {

// Templates and ids of framework_test.rc: a DIALOG and a DIALOGEX at 0,0, a DIALOGEX placed.
constexpr UINT kCentred = 101, kCentredEx = 102, kPlaced = 103, kTopic = 201;
constexpr int kName = 1001, kCheck = 1002;

const fw::HelpContext kContexts[] = {{HID_BASE_RESOURCE + kCentred, kTopic}};
const fw::HelpBook kHelpBook = {kTopic, kContexts, 1};

class CTestApp : public fw::CWinApp {
public:
    CTestApp() { m_hInstance = GetModuleHandleA(nullptr); }
    int ShowMessageBox(HWND, const std::string& text, const std::string&, UINT) override {
        m_listBoxes.push_back(text);
        return IDOK;
    }
    std::vector<std::string> m_listBoxes;

protected:
    bool InitInstance() override { return true; }
    const fw::HelpBook& GetHelpBook() const override { return kHelpBook; }
} g_app;

class CTestDialog : public fw::CDialog {
public:
    using CDialog::CDialog;
    std::string m_strName = "abc";
    std::vector<std::string> m_listHandled;

protected:
    void DoDataExchange(fw::CDataExchange& dx) override {
        fw::DDX_Text(dx, kName, m_strName);
        fw::DDV_MaxChars(dx, m_strName, 8);
    }
    fw::CommandMap GetCommandMap() const override { return fw::MakeCommandMap(s_commands); }

private:
    void OnNameChange() { m_listHandled.push_back("change"); }
    void OnCheckClicked() { m_listHandled.push_back("check"); }
    void OnRange(UINT id) { m_listHandled.push_back(std::to_string(id)); }

    static const fw::CommandEntry s_commands[3];
};

const fw::CommandEntry CTestDialog::s_commands[3] = {
    fw::OnCommandCode(kName, EN_CHANGE, &CTestDialog::OnNameChange),
    fw::OnCommand(kCheck, &CTestDialog::OnCheckClicked),
    fw::OnCommandRange(1010, 1012, &CTestDialog::OnRange),
};

INT_PTR RunDialog(CTestDialog& dialog, const std::function<void(HWND)>& whileOpen) {
    INT_PTR result = 0;
    DuringModal([&] { result = dialog.DoModal(); }, whileOpen);
    return result;
}

TEST(Framework, HandlersRunForTheirOwnRowsButNotForTheExchange) {
    CTestDialog dialog(kCentred);
    RunDialog(dialog, [&](HWND hwnd) {
        const struct {
            int id;
            UINT code;
            std::vector<std::string> handled;
        } cases[] = {{kName, EN_CHANGE, {"change"}},
                     {kName, EN_UPDATE, {}},
                     {kName, 0, {}},
                     {kCheck, 0, {"check"}},
                     {kCheck, EN_CHANGE, {}},
                     {1010, 0, {"1010"}},
                     {1012, 0, {"1012"}},
                     {1013, 0, {}},
                     {1011, 1, {}}};
        for (const auto& c : cases) {
            dialog.m_listHandled.clear();
            SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(c.id, c.code),
                         reinterpret_cast<LPARAM>(GetDlgItem(hwnd, c.id)));
            EXPECT_EQ(c.handled, dialog.m_listHandled) << c.id << "/" << c.code;
        }
        dialog.m_listHandled.clear();
        dialog.m_strName = "written";
        dialog.UpdateData(false); // writes the box, which notifies EN_CHANGE
        SetWindowTextA(GetDlgItem(hwnd, kName), "typed");
        EXPECT_EQ(std::vector<std::string>{"change"}, dialog.m_listHandled);
        ClickItem(hwnd, IDCANCEL);
    });
}

TEST(Framework, DoModalEndsWithOkOnlyWhenTheExchangeSucceedsAndHelpOpensTheTopic) {
    const auto escape = [](HWND d) {
        MSG msg = {GetDlgItem(d, kName), WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
        IsDialogMessageA(d, &msg);
    };
    const struct {
        const char* text;
        std::vector<std::function<void(HWND)>> inputs;
        INT_PTR result;
        bool box, help;
    } cases[] = {
        {"fine", {[](HWND d) { ClickItem(d, IDOK); }}, IDOK, false, false},
        {"123456789",
         {[](HWND d) { ClickItem(d, IDOK), ClickItem(d, IDCANCEL); }},
         IDCANCEL,
         true,
         false},
        {"fine", {escape}, IDCANCEL, false, false},
        {"fine", {[](HWND d) { SendMessageA(d, WM_CLOSE, 0, 0); }}, IDCANCEL, false, false},
        {"fine", {[](HWND d) { ClickItem(d, ID_HELP), ClickItem(d, IDOK); }}, IDOK, false, true},
    };
    for (const auto& c : cases) {
        CTestDialog dialog(kCentred);
        EXPECT_EQ(c.result, RunDialog(dialog, [&](HWND hwnd) {
                      SetDlgItemTextA(hwnd, kName, c.text);
                      for (const auto& input : c.inputs)
                          input(hwnd);
                  }));
        EXPECT_EQ(c.box ? std::vector<std::string>{"Please enter no more than 8 characters."}
                        : std::vector<std::string>{},
                  std::exchange(g_app.m_listBoxes, {}));
        // An exchange that ran, even one that failed, has stored the text.
        EXPECT_EQ(c.result == IDOK || c.box ? c.text : "abc", dialog.m_strName);
        const HWND help = FindWindowA("fwHelpWindow", nullptr);
        EXPECT_EQ(c.help ? " Help - Test dialog" : "", TextOf(help));
        DestroyWindow(help);
    }
}

TEST(Framework, TemplateAtOriginIsCentredOverItsOwnerAndAPlacedOneStaysWhereItSays) {
    const HWND owner = CreateWindowExA(0, "STATIC", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 120,
                                       90, 640, 480, nullptr, nullptr, nullptr, nullptr);
    const struct {
        UINT id;
        HWND owner;
    } cases[] = {{kCentred, owner}, {kCentredEx, owner}, {kCentred, nullptr}, {kPlaced, owner}};
    for (const auto& c : cases) {
        RECT area = {}, rect = {}, placed = {30, 20, 0, 0};
        if (c.owner)
            GetWindowRect(c.owner, &area);
        else
            SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
        POINT client = {}, ownerClient = {};
        CTestDialog dialog(c.id, c.owner);
        RunDialog(dialog, [&](HWND hwnd) {
            GetWindowRect(hwnd, &rect);
            MapDialogRect(hwnd, &placed);
            ClientToScreen(hwnd, &client);
            ClickItem(hwnd, IDCANCEL);
        });
        if (c.id != kPlaced) {
            EXPECT_NEAR(area.left + area.right, rect.left + rect.right, 1) << c.id;
            EXPECT_NEAR(area.top + area.bottom, rect.top + rect.bottom, 1) << c.id;
        } else {
            ClientToScreen(c.owner, &ownerClient);
            EXPECT_EQ(ownerClient.x + placed.left, client.x);
            EXPECT_EQ(ownerClient.y + placed.top, client.y);
        }
    }
    DestroyWindow(owner);
}

} // namespace
