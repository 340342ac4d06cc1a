// The Options dialog in this process: what it shows, what OK and Cancel leave in the profile,
// and how the view takes the settings up afterwards.
#include "brisa_harness.h"
#include "imitation_client.h"

#include <gtest/gtest.h>

namespace {

const int kRadios[] = {IDC_RADIO_MIRC32, IDC_RADIO_MIRC, IDC_RADIO_PIRCH};

bool Checked(HWND dialog, int id) {
    return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// Opens Options from the main form and runs whileOpen inside it.
void InOptions(CBrisaHarness& brisa, const std::function<void(HWND)>& whileOpen) {
    DuringModal([&] { brisa.Click(IDC_OPTIONS); }, whileOpen);
}

TEST(OptionsDialog, FirstRunShowsTheDefaultsAndOkWritesAllSixKeysInOrder) {
    CBrisaHarness brisa;
    brisa.WriteOptions("");
    InOptions(brisa, [&](HWND dialog) {
        EXPECT_EQ(brisa.Main(), GetWindow(dialog, GW_OWNER));
        EXPECT_EQ("C:\\WAV", TextOf(GetDlgItem(dialog, IDC_WAV_DIR)));
        EXPECT_EQ("plays a wav", TextOf(GetDlgItem(dialog, IDC_TAG_TEXT)));
        for (int id : {IDC_PROMPT_FOR_TAG, IDC_FALL_BACK, IDC_CLOSE_ON_SEND, IDC_RADIO_MIRC,
                       IDC_RADIO_PIRCH})
            EXPECT_FALSE(Checked(dialog, id)) << id;
        EXPECT_TRUE(Checked(dialog, IDC_RADIO_MIRC32));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_RADIO_PIRCH)));
        EXPECT_EQ(GetDlgItem(dialog, IDC_WAV_DIR), GetFocus());
        EXPECT_EQ(50, SendDlgItemMessageA(dialog, IDC_TAG_TEXT, EM_GETLIMITTEXT, 0, 0));
        EXPECT_EQ(256, SendDlgItemMessageA(dialog, IDC_WAV_DIR, EM_GETLIMITTEXT, 0, 0));
        ClickItem(dialog, IDOK);
    });
    EXPECT_EQ("[Options]\r\nTagPrompt=0\r\nFallBack=0\r\nSendClose=0\r\nClient=1009\r\n"
              "TagText=plays a wav\r\nWAVDir=C:\\WAV\r\n",
              brisa.Ini());
}

TEST(OptionsDialog, OkStoresTheEditsCancelNothingAndTheViewTakesThemUp) {
    CImitationClient client("mIRC");
    CBrisaHarness brisa;
    const std::string before = brisa.Ini();
    const std::string other = brisa.PathOf("other");
    CreateDirectoryA(other.c_str(), nullptr);
    WriteFileText(other + "\\o.wav", "RIFF");
    for (int button : {IDCANCEL, IDOK}) {
        InOptions(brisa, [&](HWND dialog) {
            SetDlgItemTextA(dialog, IDC_WAV_DIR, other.c_str());
            SetDlgItemTextA(dialog, IDC_TAG_TEXT, std::string(50, 't').c_str());
            for (int id : {IDC_RADIO_MIRC, IDC_FALL_BACK, IDC_CLOSE_ON_SEND})
                SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0);
            ClickItem(dialog, button);
        });
        EXPECT_TRUE(brisa.TakeMessageBoxes().empty());
        if (button == IDCANCEL) {
            EXPECT_EQ(before, brisa.Ini());
            EXPECT_FALSE(IsWindowEnabled(brisa.Item(IDC_SEND)));
        }
    }
    EXPECT_EQ("[Options]\r\nWAVDir=" + other + "\r\nTagPrompt=0\r\nFallBack=1\r\nSendClose=1\r\n" +
                  "Client=1011\r\nTagText=" + std::string(50, 't') + "\r\n",
              brisa.Ini());
    EXPECT_EQ(std::vector<std::string>{"o.wav"}, brisa.Files());
    EXPECT_TRUE(IsWindowEnabled(brisa.Item(IDC_SEND)));
}

TEST(OptionsDialog, CheckBoxesEnableTheTagBoxAndFallBack) {
    const struct {
        const char* stored;
        int click;
        bool tagBox, fallBack, fallBackChecked;
    } cases[] = {
        {"", 0, true, true, false},
        {"TagPrompt=1", 0, false, true, false},
        {"TagPrompt=1", IDC_PROMPT_FOR_TAG, true, true, false},
        {"", IDC_PROMPT_FOR_TAG, false, true, false},
        {"SendClose=1\r\nFallBack=1", 0, true, false, true},
        {"SendClose=1\r\nFallBack=1", IDC_CLOSE_ON_SEND, true, true, true},
        {"", IDC_CLOSE_ON_SEND, true, false, false},
    };
    for (const auto& c : cases) {
        CBrisaHarness brisa(c.stored);
        InOptions(brisa, [&](HWND dialog) {
            if (c.click)
                SendDlgItemMessageA(dialog, c.click, BM_CLICK, 0, 0);
            EXPECT_EQ(c.tagBox, IsWindowEnabled(GetDlgItem(dialog, IDC_TAG_TEXT)) != FALSE);
            EXPECT_EQ(c.fallBack, IsWindowEnabled(GetDlgItem(dialog, IDC_FALL_BACK)) != FALSE);
            EXPECT_EQ(c.fallBackChecked, Checked(dialog, IDC_FALL_BACK));
            ClickItem(dialog, IDOK);
        });
        const std::string ini = brisa.Ini();
        EXPECT_NE(std::string::npos, ini.find(c.fallBackChecked ? "FallBack=1" : "FallBack=0"))
            << c.stored << " " << c.click;
    }
}

TEST(OptionsDialog, StoredClientSelectsItsRadioButtonOnlyAndIsWrittenBack) {
    const struct {
        const char* stored;
        int checked; // 0: none
        int click;   // 0: none
        const char* written;
    } cases[] = {
        {"1009", IDC_RADIO_MIRC32, 0, "1009"},
        {"1011", IDC_RADIO_MIRC, 0, "1011"},
        {"1012", IDC_RADIO_PIRCH, 0, "1012"},
        {"1010", 0, 0, "1010"},
        {"42", 0, 0, "42"},
        {"42", 0, IDC_RADIO_MIRC, "1011"},
        {"1011", IDC_RADIO_MIRC, IDC_RADIO_MIRC32, "1009"},
    };
    for (const auto& c : cases) {
        CBrisaHarness brisa(std::string("Client=") + c.stored);
        InOptions(brisa, [&](HWND dialog) {
            for (int id : kRadios)
                EXPECT_EQ(id == c.checked, Checked(dialog, id)) << c.stored << " " << id;
            EXPECT_FALSE(Checked(dialog, IDC_PROMPT_FOR_TAG));
            if (c.click) {
                SendDlgItemMessageA(dialog, c.click, BM_CLICK, 0, 0);
                for (int id : kRadios) // exactly the one clicked, the disabled PIRCH too
                    EXPECT_EQ(id == c.click, Checked(dialog, id)) << c.stored << " " << id;
            }
            ClickItem(dialog, IDOK);
        });
        EXPECT_NE(std::string::npos, brisa.Ini().find(std::string("Client=") + c.written + "\r"))
            << c.stored;
    }
}

TEST(OptionsDialog, OverLongStoredTextOrAFileThatCannotBeWrittenKeepsItOpen) {
    const struct {
        const char* name;
        std::string stored;
        int box; // the box that gets the focus and has its text selected, 0 for none
        int length;
        const char* message;
    } cases[] = {
        {"tag", "TagText=" + std::string(51, 'x'), IDC_TAG_TEXT, 51,
         "Please enter no more than 50 characters."},
        {"folder", "WAVDir=" + std::string(257, 'x'), IDC_WAV_DIR, 257,
         "Please enter no more than 256 characters."},
        {"held open", "", 0, 0, "The settings could not be saved in "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CBrisaHarness brisa;
        brisa.WriteOptions(c.stored);
        const std::string before = brisa.Ini();
        const HANDLE held = c.box ? INVALID_HANDLE_VALUE
                                  : CreateFileA(brisa.PathOf("Brisa.INI").c_str(), GENERIC_READ, 0,
                                                nullptr, OPEN_EXISTING, 0, nullptr);
        InOptions(brisa, [&](HWND dialog) {
            SendDlgItemMessageA(dialog, IDC_FALL_BACK, BM_CLICK, 0, 0);
            ClickItem(dialog, IDOK);
            const auto boxes = brisa.TakeMessageBoxes();
            ASSERT_EQ(1u, boxes.size());
            EXPECT_EQ(0u, boxes[0].find("Brisa: " + std::string(c.message))) << boxes[0];
            if (c.box) {
                EXPECT_EQ(GetDlgItem(dialog, c.box), GetFocus());
                EXPECT_EQ(MAKELONG(0, c.length),
                          SendDlgItemMessageA(dialog, c.box, EM_GETSEL, 0, 0));
            }
            EXPECT_TRUE(IsWindow(dialog));
            ClickItem(dialog, IDCANCEL);
        });
        CloseHandle(held);
        EXPECT_EQ(before, brisa.Ini());
    }
}

TEST(OptionsDialog, SettingsFileInAnyEncodingIsReadAndOkKeepsEveryScript) {
    const std::string utf8 = "[Other]\r\nKeep=1\r\n[Options]\r\nWAVDir=C:\\Sons\\Été Ж\r\n";
    const std::wstring utf16 = L"[Other]\r\nKeep=1\r\n[Options]\r\nWAVDir=C:\\Sons\\Été Ж\r\n";
    std::string utf16le = "\xFF\xFE", utf16be = "\xFE\xFF";
    for (const wchar_t c : utf16) {
        utf16le += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
        utf16be += {static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
    }
    const struct {
        const char* name;
        std::string bytes;
        const char* wavDir;
    } cases[] = {
        // Earlier versions wrote the system's ANSI code page, 1252 here.
        {"ANSI", "[Other]\r\nKeep=1\r\n[Options]\r\nWAVDir=C:\\Sons\\\xC9t\xE9\r\n",
         "C:\\Sons\\Été"},
        {"UTF-8", utf8, "C:\\Sons\\Été Ж"},
        {"UTF-8 with its mark", "\xEF\xBB\xBF" + utf8, "C:\\Sons\\Été Ж"},
        {"UTF-16", utf16le, "C:\\Sons\\Été Ж"},
        {"UTF-16 big-endian", utf16be, "C:\\Sons\\Été Ж"},
    };
    const std::string tag = "Звонок ベル \U0001F514 Łódź @";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CBrisaHarness brisa;
        WriteFileText(brisa.PathOf("Brisa.INI"), c.bytes);
        brisa.Restart();
        for (const bool again : {false, true}) {
            InOptions(brisa, [&](HWND dialog) {
                EXPECT_EQ(c.wavDir, TextOf(GetDlgItem(dialog, IDC_WAV_DIR)));
                EXPECT_EQ(again, tag == TextOf(GetDlgItem(dialog, IDC_TAG_TEXT)));
                SetDlgItemTextA(dialog, IDC_TAG_TEXT, tag.c_str());
                ClickItem(dialog, IDOK);
            });
        }
        EXPECT_EQ(0u, brisa.Ini().find("[Other]\r\nKeep=1\r\n[Options]\r\nWAVDir=" +
                                       std::string(c.wavDir)));
    }
    // A plain ASCII file stays as it is, byte for byte, until OK writes.
    CBrisaHarness brisa;
    const std::string ascii = ReadFileText(brisa.PathOf("Brisa.INI"));
    brisa.Restart();
    InOptions(brisa, [](HWND dialog) { ClickItem(dialog, IDCANCEL); });
    EXPECT_EQ(ascii, ReadFileText(brisa.PathOf("Brisa.INI")));
}

} // namespace
