// The Options dialog: what it shows and exchanges, and what OK and Cancel leave in the settings
// file, in any encoding.
#include "brisa_harness.h"
#include "imitation_client.h"

#include <gtest/gtest.h>

TEST(OptionsDialog, ShowsTheSettingsCentredStoresTheEditsOnOkOnlyAndKeepsOpenWhenItCannot) {
    CImitationClient client({"mIRC"});
    CBrisaHarness brisa("Client=1012");
    SetWindowPos(brisa.Main(), nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    const std::string before = brisa.Ini(), other = brisa.PathOf("other");
    // 50 characters, 95 bytes of UTF-8, and a space at its end that must come back.
    const std::string tag = "Звонок ベル \U0001F514 Łódź @ жжжжжжжжжжжжжжжжжжжжжжжжжжжжж ";
    WriteFileText(other + "\\o.wav", "RIFF");
    for (int button : {IDCANCEL, IDOK}) {
        brisa.Open(IDC_OPTIONS, [&](HWND dialog) {
            // At 0,0 in its template: centred over the main window.
            RECT main = {}, rect = {};
            GetWindowRect(brisa.Main(), &main);
            GetWindowRect(dialog, &rect);
            EXPECT_NEAR(main.left + main.right, rect.left + rect.right, 1);
            EXPECT_EQ(50, SendDlgItemMessageW(dialog, IDC_TAG_TEXT, EM_GETLIMITTEXT, 0, 0));
            for (int id :
                 {IDC_RADIO_MIRC32, IDC_RADIO_MIRC, IDC_RADIO_PIRCH}) // PIRCH though greyed
                EXPECT_EQ(id == IDC_RADIO_PIRCH, BST_CHECKED == IsDlgButtonChecked(dialog, id));
            brisa.m_chosenFolder = other; // what Browse chooses
            ClickItem(dialog, IDC_BROWSE);
            EXPECT_EQ(other, TextOf(GetDlgItem(dialog, IDC_WAV_DIR)));
            SetText(GetDlgItem(dialog, IDC_TAG_TEXT), tag);
            for (int id : {IDC_RADIO_MIRC, IDC_FALL_BACK, IDC_CLOSE_ON_SEND})
                SendDlgItemMessageW(dialog, id, BM_CLICK, 0, 0);
            EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(dialog, IDC_RADIO_PIRCH));
            ClickItem(dialog, button);
        });
        // Cancel leaves the file as it was; OK writes it in UTF-16 and the view takes it up.
        EXPECT_EQ(button == IDCANCEL, before == brisa.Ini());
        EXPECT_EQ(button == IDOK, IsWindowEnabled(brisa.Item(IDC_SEND)) != FALSE);
    }
    EXPECT_EQ(0u, ReadFileText(brisa.PathOf("Brisa.INI")).find("\xFF\xFE["));
    for (const std::string& stored :
         Lines{"Client=1011", "FallBack=1", "SendClose=1", "TagText=\"" + tag + "\"\r\n"})
        EXPECT_NE(std::string::npos, brisa.Ini().find(stored)) << stored;
    EXPECT_EQ(Lines{"o.wav"}, brisa.Files());
    // Prompt for Tag disables the tag box, Close on Send Fall Back; any value but 0 is ticked.
    for (const bool click : {true, false}) {
        brisa.WriteOptions(click ? "TagPrompt=1\r\nSendClose=1" : "TagPrompt=2\r\nFallBack=2");
        brisa.Open(IDC_OPTIONS, [&](HWND dialog) {
            for (int id : {IDC_PROMPT_FOR_TAG, IDC_CLOSE_ON_SEND})
                SendDlgItemMessageW(dialog, id, click ? BM_CLICK : WM_NULL, 0, 0);
            EXPECT_EQ(click, IsWindowEnabled(GetDlgItem(dialog, IDC_TAG_TEXT)) != FALSE);
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_FALL_BACK)));
            EXPECT_EQ(!click, BST_CHECKED == IsDlgButtonChecked(dialog, IDC_FALL_BACK));
        });
    }
    // An over-long stored text (a hand edit) keeps it open, focused and selected.
    brisa.WriteOptions("WAVDir=" + std::string(257, 'x'));
    const std::string overLong = brisa.Ini();
    brisa.Open(IDC_OPTIONS, [&](HWND dialog) {
        ClickItem(dialog, IDOK);
        EXPECT_EQ(Lines{Message(AFX_IDP_PARSE_STRING_SIZE, {"256"})}, brisa.TakeMessageBoxes());
        EXPECT_EQ(GetDlgItem(dialog, IDC_WAV_DIR), GetFocus());
        EXPECT_EQ(MAKELONG(0, 257), SendDlgItemMessageW(dialog, IDC_WAV_DIR, EM_GETSEL, 0, 0));
        EXPECT_TRUE(IsWindowVisible(dialog));
    });
    EXPECT_EQ(overLong, brisa.Ini());
}

TEST(OptionsDialog, ASettingsFileInAnyEncodingIsReadAndKeptWhole) {
    const std::string utf8 = "[Other]\r\nKeep=1\r\n[Options]\r\nWAVDir=C:\\Sons\\Été Ж\r\n",
                      dir = "C:\\Sons\\Été Ж";
    const std::string legacy = "[Options]\r\nWAVDir=C:\\Sons\\\xC9t\xE9\r\n"; // code page 1252
    // Another encoding is converted at the start; held by another program, the file is read in
    // its own and never written garbled: OK says so and stays open. ASCII stays until OK; a file
    // far beyond any settings file is read and left alone.
    const struct {
        std::string bytes, wavDir;
        bool held, rewritten; // OK is clicked on a held file
    } cases[] = {
        {"[Other]\r\nKeep=1\r\n" + legacy, "C:\\Sons\\Été", false, true},
        {"\xEF\xBB\xBF" + utf8, dir, false, true},
        {utf8, dir, true, false},
        {"[Options]\r\nTagPrompt=1\r\n", "C:\\WAV", false, false},
        {legacy + ";" + std::string(1 << 20, 'x'), "C:\\Sons\\Été", false, false},
    };
    CBrisaHarness brisa;
    for (const auto& c : cases) {
        WriteFileText(brisa.PathOf("Brisa.INI"), c.bytes);
        const HANDLE held =
            c.held ? CreateFileW(PathOf(brisa.PathOf("Brisa.INI")).c_str(), GENERIC_READ,
                                 FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr)
                   : INVALID_HANDLE_VALUE;
        brisa.Restart();
        brisa.Open(IDC_OPTIONS, [&](HWND dialog) {
            EXPECT_EQ(c.wavDir, TextOf(GetDlgItem(dialog, IDC_WAV_DIR)));
            ClickItem(dialog, c.held ? IDOK : IDCANCEL);
            EXPECT_EQ(c.held, IsWindowVisible(dialog) != FALSE);
        });
        CloseHandle(held);
        EXPECT_EQ(c.held ? Lines{Message(IDS_SETTINGS_NOT_SAVED, {brisa.PathOf("Brisa.INI")})}
                         : Lines(),
                  brisa.TakeMessageBoxes());
        EXPECT_EQ(c.rewritten, ReadFileText(brisa.PathOf("Brisa.INI")) != c.bytes);
        if (c.rewritten) {
            EXPECT_EQ(0u, brisa.Ini().find("[Other]\r\nKeep=1\r\n[Options]\r\nWAVDir=" + c.wavDir));
        }
    }
}
