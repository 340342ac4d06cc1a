// The soundboard: hotkeys pressed through the system while another window has the focus, taken
// combinations and gone files; subfolders listed, followed and sent; the search in
// several scripts; the volume kept across a restart.
#include "brisa_harness.h"
#include "imitation_client.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace {

TEST(Soundboard, HotkeysSendFromAnotherProgramAndTheirDialogRefusesACombinationTaken) {
    // Ctrl+Alt+F8 held by another program, and at Brisa's start too.
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, VK_F8));
    CImitationClient client;
    CBrisaHarness brisa("\r\n[Hotkeys]\r\nCtrl+Alt+F9=fun\\zap.wav\r\nCtrl+Alt+F11=gone.wav\r\n"
                        "Ctrl+Alt+F8=a.wav\r\n",
                        {"a.wav", "fun\\zap.wav"});
    EXPECT_EQ(Lines{Message(IDS_HOTKEYS_TAKEN, {"Ctrl+Alt+F8"})}, brisa.TakeMessageBoxes());
    SendMessageW(brisa.Item(IDC_FILE_LIST), LB_SETCURSEL, 1, 0);
    Notify(brisa.Item(IDC_FILE_LIST), LBN_SELCHANGE);
    EXPECT_EQ(ResourceText(IDS_STATUS_HOTKEY, {"Ctrl+Alt+F9"}), brisa.Status(2));
    // Pressed while another window has the focus; a gone file's hotkey does nothing.
    SetForegroundWindow(client.TopLevel());
    brisa.Settle();
    PressHotkey(VK_F11);
    PressHotkey(VK_F9);
    EXPECT_LE(0, brisa.PumpUntil([&] { return !client.Entered().empty(); }, 3000));
    EXPECT_EQ(Lines{"/sound #chat zap.wav -plays Brisa: zap.wav"}, client.Entered());
    brisa.TypeFileName("a.wav");
    brisa.Open(IDC_HOTKEY, [&](HWND dialog) {
        EXPECT_EQ("a.wav", TextOf(GetDlgItem(dialog, IDC_HOTKEY_SOUND)));
        EXPECT_EQ((Lines{"Ctrl+Alt+F9\tfun\\zap.wav",
                         "Ctrl+Alt+F11\t" + ResourceText(IDS_HOTKEY_GONE, {"gone.wav"}),
                         "Ctrl+Alt+F8\ta.wav"}),
                  ItemsOf(GetDlgItem(dialog, IDC_HOTKEY_LIST)));
        const HWND hotkey = GetDlgItem(dialog, IDC_SOUND_HOTKEY);
        for (const UINT key : {VK_F9, VK_F8, VK_F7}) {
            SendMessageW(hotkey, HKM_SETHOTKEY, MAKEWORD(key, HOTKEYF_CONTROL | HOTKEYF_ALT), 0);
            ClickItem(dialog, IDOK);
        }
    });
    UnregisterHotKey(nullptr, 1);
    EXPECT_EQ((Lines{Message(IDS_HOTKEY_HELD, {"Ctrl+Alt+F9", "fun\\zap.wav"}),
                     Message(IDS_HOTKEY_TAKEN, {"Ctrl+Alt+F8"})}),
              brisa.TakeMessageBoxes());
    EXPECT_NE(std::string::npos, brisa.Ini().find("\r\nCtrl+Alt+F7=a.wav\r\n"));
    EXPECT_EQ(std::string::npos, brisa.Ini().find("F8"));
    EXPECT_EQ(ResourceText(IDS_STATUS_HOTKEY, {"Ctrl+Alt+F7"}), brisa.Status(2));
}

TEST(Soundboard, SubfoldersAreListedFollowedAndSentAndANameTwiceIsAskedAbout) {
    CImitationClient client({"mIRC", "#chat", {}, true, true});
    CBrisaHarness brisa("Client=1011",
                        {"ding.wav", "fun\\ding.wav", "fun\\zap.mid", "a\\b\\c.mp3", "hid\\x.wav"});
    SetFileAttributesW(PathOf(brisa.WavDir() + "\\hid").c_str(), FILE_ATTRIBUTE_HIDDEN);
    brisa.Click(IDC_REFRESH);
    EXPECT_EQ((Lines{"ding.wav", "a\\b\\c.mp3", "fun\\ding.wav", "fun\\zap.mid"}), brisa.Files());
    WriteFileText(brisa.WavDir() + "\\new\\n.wav", "RIFF");
    std::filesystem::rename(PathOf(brisa.WavDir() + "\\a"), PathOf(brisa.WavDir() + "\\z"));
    EXPECT_LE(0, brisa.PumpUntil(
                     [&] {
                         return brisa.Files() == Lines{"ding.wav", "fun\\ding.wav", "fun\\zap.mid",
                                                       "new\\n.wav", "z\\b\\c.mp3"};
                     },
                     3000));
    // Inside the client's sounds folder a file goes by its bare name; a name that two files
    // have is sent only when the user wants it.
    client.Do([&](CModelClient& model) {
        model.SetInterface("7.72");
        model.SetSoundsFolder("midi", brisa.WavDir());
        model.SetSoundsFolder("wave", brisa.WavDir());
    });
    brisa.TypeFileName("fun\\zap.mid");
    brisa.Click(IDC_SEND);
    brisa.TypeFileName("fun\\ding.wav");
    brisa.m_answers = {IDNO, IDYES};
    brisa.Click(IDC_SEND);
    brisa.Click(IDC_SEND);
    EXPECT_EQ(Lines(2, Message(IDS_NAMESAKES, {"ding.wav"})), brisa.TakeMessageBoxes());
    EXPECT_EQ((Lines{"/sound #chat zap.mid -plays Brisa: zap.mid",
                     "/sound #chat ding.wav -plays Brisa: ding.wav"}),
              client.Entered());
}

TEST(Soundboard, TheSearchNarrowsTheListInAnyScriptUntilEscape) {
    CBrisaHarness brisa(
        "", {"Звонок.wav", "звон2.wav", "ベル.wav", "Été.wav", "ete.wav", "fun\\ÉTÉ2.mid"});
    const HWND search = brisa.Item(IDC_FILTER);
    const struct {
        const char* typed;
        Lines shown;
    } cases[] = {
        {"ЗВОН", {"звон2.wav", "Звонок.wav"}},
        {"", {"ete.wav", "Été.wav", "звон2.wav", "Звонок.wav", "ベル.wav", "fun\\ÉTÉ2.mid"}}};
    for (const auto& c : cases) {
        SetText(search, c.typed);
        EXPECT_EQ(c.shown, brisa.Files()) << c.typed;
    }
    SendMessageW(brisa.Item(IDC_FILE_LIST), LB_SETCURSEL, 1, 0); // Été.wav
    SetText(search, "ét");
    EXPECT_EQ(0, brisa.Selection()); // still Été.wav
    EXPECT_EQ(ResourceText(IDS_STATUS_FILTERED, {"2", "6"}), brisa.Status(0));
    SetFocus(search);
    brisa.PressKey(VK_ESCAPE);
    EXPECT_EQ("", TextOf(search));
    EXPECT_EQ(6u, brisa.Files().size());
}

TEST(Soundboard, TheVolumeIsKeptAcrossARestart) {
    CBrisaHarness brisa;
    const auto volume = [&] { return brisa.Item(IDC_VOLUME); };
    EXPECT_EQ(100, SendMessageW(volume(), TBM_GETPOS, 0, 0));
    SendMessageW(volume(), TBM_SETPOS, TRUE, 35);
    SendMessageW(GetParent(volume()), WM_HSCROLL, TB_ENDTRACK, reinterpret_cast<LPARAM>(volume()));
    brisa.Restart();
    EXPECT_EQ(35, SendMessageW(volume(), TBM_GETPOS, 0, 0));
    EXPECT_NE(std::string::npos, brisa.Ini().find("[Soundboard]\r\nVolume=35\r\n"));
}

} // namespace
