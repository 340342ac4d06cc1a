// The Options dialog in this process: what it shows, what OK and Cancel leave in the profile in
// any encoding, and how the view takes the settings up afterwards.
#include "brisa_harness.h"
#include "imitation_client.h"

#include <gtest/gtest.h>

namespace {

bool Checked(HWND dialog, int id) {
    return SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void ClickAll(HWND dialog, std::initializer_list<int> ids) {
    for (int id : ids)
        SendDlgItemMessageW(dialog, id, BM_CLICK, 0, 0);
}

TEST(OptionsDialog, FirstRunShowsTheDefaultsAndOkWritesAllSixKeys) {
    CBrisaHarness brisa;
    brisa.WriteOptions("");
    SetWindowPos(brisa.Main(), nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER); // off the edge
    brisa.Open(IDC_OPTIONS, [&](HWND dialog) {
        // Owned by the main window and, placed at 0,0 in its template, centred over it.
        EXPECT_EQ(brisa.Main(), GetWindow(dialog, GW_OWNER));
        RECT main = {}, rect = {};
        GetWindowRect(brisa.Main(), &main);
        GetWindowRect(dialog, &rect);
        EXPECT_NEAR(main.left + main.right, rect.left + rect.right, 1);
        EXPECT_EQ("C:\\WAV", TextOf(GetDlgItem(dialog, IDC_WAV_DIR)));
        EXPECT_EQ("plays a wav", TextOf(GetDlgItem(dialog, IDC_TAG_TEXT)));
        for (int id : {IDC_PROMPT_FOR_TAG, IDC_FALL_BACK, IDC_CLOSE_ON_SEND, IDC_RADIO_MIRC32})
            EXPECT_EQ(id == IDC_RADIO_MIRC32, Checked(dialog, id)) << id;
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_RADIO_PIRCH)));
        EXPECT_EQ(GetDlgItem(dialog, IDC_WAV_DIR), GetFocus());
        EXPECT_EQ(50, SendDlgItemMessageW(dialog, IDC_TAG_TEXT, EM_GETLIMITTEXT, 0, 0));
        EXPECT_EQ(256, SendDlgItemMessageW(dialog, IDC_WAV_DIR, EM_GETLIMITTEXT, 0, 0));
        ClickItem(dialog, IDOK);
    });
    // In UTF-16, which readers of every code page read whole.
    EXPECT_EQ(0u, ReadFileText(brisa.PathOf("Brisa.INI")).find("\xFF\xFE["));
    EXPECT_EQ("[Options]\r\nTagPrompt=0\r\nFallBack=0\r\nSendClose=0\r\nClient=1009\r\n"
              "TagText=plays a wav\r\nWAVDir=C:\\WAV\r\n",
              brisa.Ini());
}

TEST(OptionsDialog, OkStoresTheEditsCancelNothingAndTheViewTakesThemUp) {
    CImitationClient client({"mIRC"});
    CBrisaHarness brisa("Client=1012");
    const std::string before = brisa.Ini(), other = brisa.PathOf("other");
    std::filesystem::create_directory(PathOf(other));
    WriteFileText(other + "\\o.wav", "RIFF");
    for (int button : {IDCANCEL, IDOK}) {
        brisa.Open(IDC_OPTIONS, [&](HWND dialog) {
            EXPECT_TRUE(Checked(dialog, IDC_RADIO_PIRCH)); // stored by hand, shown though greyed
            // Browse: the platform's folder dialog, cancelled, then choosing a folder.
            for (const auto& chosen : {std::optional<std::string>(), std::optional(other)}) {
                brisa.m_chosenFolder = chosen;
                ClickItem(dialog, IDC_BROWSE);
                EXPECT_EQ(chosen.value_or(brisa.WavDir()), TextOf(GetDlgItem(dialog, IDC_WAV_DIR)));
            }
            SetText(GetDlgItem(dialog, IDC_TAG_TEXT), " plays: ");
            ClickAll(dialog, {IDC_RADIO_MIRC, IDC_FALL_BACK, IDC_CLOSE_ON_SEND});
            EXPECT_FALSE(Checked(dialog, IDC_RADIO_PIRCH));
            ClickItem(dialog, button);
        });
        EXPECT_EQ(button == IDOK, IsWindowEnabled(brisa.Item(IDC_SEND)) != FALSE);
        if (button == IDCANCEL) {
            EXPECT_EQ(before, brisa.Ini());
        }
    }
    EXPECT_EQ(Lines{"o.wav"}, brisa.Files());
    // Outer spaces and quotes come back as typed.
    brisa.Open(IDC_OPTIONS, [&](HWND dialog) {
        EXPECT_EQ(" plays: ", TextOf(GetDlgItem(dialog, IDC_TAG_TEXT)));
        EXPECT_TRUE(Checked(dialog, IDC_RADIO_MIRC));
        ClickItem(dialog, IDCANCEL);
    });
    for (const char* stored : {"Client=1011", "FallBack=1", "SendClose=1", "TagText=\" plays: \""})
        EXPECT_NE(std::string::npos, brisa.Ini().find(stored)) << stored;
}

TEST(OptionsDialog, CheckBoxesEnableTheTagBoxAndFallBack) {
    const struct {
        const char* stored;
        int click;
        bool tagBox, fallBack, fallBackChecked;
    } cases[] = {
        {"TagPrompt=1", 0, false, true, false},
        {"TagPrompt=1", IDC_PROMPT_FOR_TAG, true, true, false},
        {"SendClose=1\r\nFallBack=1", 0, true, false, true},
        {"SendClose=1\r\nFallBack=1", IDC_CLOSE_ON_SEND, true, true, true},
        {"TagPrompt=2\r\nFallBack=2", 0, false, true, true}, // any value but 0 shows ticked
    };
    for (const auto& c : cases) {
        CBrisaHarness brisa(c.stored);
        brisa.Open(IDC_OPTIONS, [&](HWND dialog) {
            if (c.click)
                ClickAll(dialog, {c.click});
            EXPECT_EQ(c.tagBox, IsWindowEnabled(GetDlgItem(dialog, IDC_TAG_TEXT)) != FALSE);
            EXPECT_EQ(c.fallBack, IsWindowEnabled(GetDlgItem(dialog, IDC_FALL_BACK)) != FALSE);
            EXPECT_EQ(c.fallBackChecked, Checked(dialog, IDC_FALL_BACK));
            ClickItem(dialog, IDOK);
        });
        EXPECT_NE(std::string::npos,
                  brisa.Ini().find(c.fallBackChecked ? "FallBack=1" : "FallBack=0"))
            << c.stored << " " << c.click;
    }
}

TEST(OptionsDialog, OverLongStoredTextOrAFileThatCannotBeWrittenKeepsItOpen) {
    const struct {
        std::string stored;
        int box; // the box that gets the focus and has its text selected, 0 for none
        int length;
        std::string message;
    } cases[] = {
        {"TagText=" + std::string(51, 'x'), IDC_TAG_TEXT, 51,
         Message(AFX_IDP_PARSE_STRING_SIZE, {"50"})},
        {"WAVDir=" + std::string(257, 'x'), IDC_WAV_DIR, 257,
         Message(AFX_IDP_PARSE_STRING_SIZE, {"256"})},
        {"", 0, 0, ""}, // held open by another program
    };
    for (const auto& c : cases) {
        CBrisaHarness brisa;
        brisa.WriteOptions(c.stored);
        const std::string before = brisa.Ini();
        const HANDLE held = c.box
                                ? INVALID_HANDLE_VALUE
                                : CreateFileW(PathOf(brisa.PathOf("Brisa.INI")).c_str(),
                                              GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        brisa.Open(IDC_OPTIONS, [&](HWND dialog) {
            ClickItem(dialog, IDOK);
            EXPECT_EQ(Lines{c.box ? c.message
                                  : Message(IDS_SETTINGS_NOT_SAVED, {brisa.PathOf("Brisa.INI")})},
                      brisa.TakeMessageBoxes());
            if (c.box) {
                EXPECT_EQ(GetDlgItem(dialog, c.box), GetFocus());
                EXPECT_EQ(MAKELONG(0, c.length),
                          SendDlgItemMessageW(dialog, c.box, EM_GETSEL, 0, 0));
            }
            EXPECT_TRUE(IsWindowVisible(dialog));
            ClickItem(dialog, IDCANCEL);
        });
        CloseHandle(held);
        EXPECT_EQ(before, brisa.Ini());
    }
}

TEST(OptionsDialog, ASettingsFileInAnyEncodingIsReadAndKeptWhole) {
    const std::wstring text = L"[Other]\r\nKeep=1\r\n[Options]\r\nWAVDir=C:\\Sons\\Été Ж\r\n";
    std::string utf16le = "\xFF\xFE", utf16be = "\xFE\xFF";
    for (const wchar_t c : text) {
        utf16le += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
        utf16be += {static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
    }
    const std::string utf8 = FromUtf16(utf16le), dir = "C:\\Sons\\Été Ж";
    const struct {
        std::string bytes, wavDir;
    } cases[] = {
        // Earlier versions wrote the system's ANSI code page, 1252 here.
        {"[Other]\r\nKeep=1\r\n[Options]\r\nWAVDir=C:\\Sons\\\xC9t\xE9\r\n", "C:\\Sons\\Été"},
        {utf8, dir},
        {"\xEF\xBB\xBF" + utf8, dir},
        {utf16be, dir},
    };
    // 50 characters in the box, 95 bytes of UTF-8.
    const std::string tag = "Звонок ベル \U0001F514 Łódź @ жжжжжжжжжжжжжжжжжжжжжжжжжжжжжж";
    for (const auto& c : cases) {
        CBrisaHarness brisa;
        WriteFileText(brisa.PathOf("Brisa.INI"), c.bytes);
        brisa.Restart();
        brisa.Open(IDC_OPTIONS, [&](HWND dialog) {
            EXPECT_EQ(c.wavDir, TextOf(GetDlgItem(dialog, IDC_WAV_DIR)));
            SetText(GetDlgItem(dialog, IDC_TAG_TEXT), tag);
            ClickItem(dialog, IDOK);
        });
        EXPECT_EQ(0u, brisa.Ini().find("[Other]\r\nKeep=1\r\n[Options]\r\nWAVDir=" + c.wavDir));
        EXPECT_NE(std::string::npos, brisa.Ini().find("TagText=" + tag));
    }
    // An earlier version's file held by another program while Brisa starts is read in its own
    // encoding and never written garbled; once free, OK converts it. A plain ASCII file stays as
    // it is until OK writes it; one far beyond any settings file is read as it is and left alone.
    CBrisaHarness brisa;
    const std::string legacy = "[Options]\r\nWAVDir=C:\\Sons\\Été\r\n",
                      big = "[Options]\r\nWAVDir=C:\\Sons\\\xC9t\xE9\r\n;" +
                            std::string(1 << 20, 'x'),
                      ascii = ReadFileText(brisa.PathOf("Brisa.INI"));
    const std::wstring ini = PathOf(brisa.PathOf("Brisa.INI"));
    const struct {
        std::string bytes;
        bool held;
        int button;
        bool rewritten;
    } kept[] = {{legacy, true, IDOK, false},
                {legacy, false, IDOK, true},
                {ascii, false, IDCANCEL, false},
                {big, false, IDCANCEL, false}};
    for (const auto& c : kept) {
        WriteFileText(brisa.PathOf("Brisa.INI"), c.bytes);
        const HANDLE held = c.held ? CreateFileW(ini.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                 nullptr, OPEN_EXISTING, 0, nullptr)
                                   : INVALID_HANDLE_VALUE;
        brisa.Restart();
        brisa.Open(IDC_OPTIONS, [&](HWND dialog) {
            if (c.bytes != ascii) {
                EXPECT_EQ("C:\\Sons\\Été", TextOf(GetDlgItem(dialog, IDC_WAV_DIR)));
            }
            ClickItem(dialog, c.button);
            if (IsWindowVisible(dialog))
                ClickItem(dialog, IDCANCEL);
        });
        CloseHandle(held);
        brisa.TakeMessageBoxes();
        EXPECT_EQ(c.rewritten, ReadFileText(brisa.PathOf("Brisa.INI")) != c.bytes);
    }
}

} // namespace
