// The main form in this process: the list that follows its folder, the buttons that act on it and
// follow the client; the soundboard's hotkeys, subfolders, search and volume.
#include "brisa_harness.h"
#include "imitation_client.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

TEST(WavListView, ListsAFolderAtOnceDropsAStaleListingAndEmptiesForOneUnlistable) {
    Lines many;
    for (int i = 0; i < 3000; ++i)
        many.push_back("s" + std::to_string(10000 + i) + ".wav");
    CBrisaHarness brisa("", many);
    const ULONGLONG start = GetTickCount64();
    brisa.Click(IDC_REFRESH);
    EXPECT_EQ(many, brisa.Files());
    EXPECT_LT(GetTickCount64() - start, 2000u); // a list redrawn per entry takes many seconds
    // One that cannot be listed empties the list and the name box; its late word is dropped.
    brisa.WriteOptions("WAVDir=" + brisa.PathOf("missing"));
    brisa.Open(IDC_OPTIONS, [](HWND) {});
    EXPECT_EQ(Lines(), brisa.Files());
    EXPECT_EQ("", brisa.FileName());
    brisa.Click(IDC_REFRESH); // asked again, it says again that it cannot
    const std::string unlistable = ResourceText(IDS_STATUS_UNLISTABLE, {brisa.PathOf("missing")});
    EXPECT_LE(0, brisa.PumpUntil([&] { return brisa.Status(0) == unlistable; }, 2000));
    brisa.WriteOptions("WAVDir=" + brisa.WavDir());
    brisa.Open(IDC_OPTIONS, [&](HWND) { brisa.Click(IDC_REFRESH); });
    EXPECT_EQ(many, brisa.Files());
}

TEST(WavListView, DeleteAsksThenRemovesExactlyTheListedFileForGoodOrToTheRecycleBin) {
    // A name ending in a space, which the shell would misread, is deleted for good; others binned.
    CBrisaHarness brisa("", {"a.wav", "ding.wav", "z.wav"});
    const std::string dir = brisa.WavDir() + "\\";
    WriteFileText("\\\\?\\" + dir + "ding.wav ", "RIFF");
    brisa.Click(IDC_REFRESH);
    ASSERT_EQ(4u, brisa.Files().size());
    const auto binned = [&] {
        SHQUERYRBINFO bin{};
        bin.cbSize = sizeof bin;
        SHQueryRecycleBinW(PathOf(dir).c_str(), &bin);
        return bin.i64NumItems;
    };
    const struct {
        int index;
        std::string name;
        UINT question;
        Lines left;
    } cases[] = {{2, "ding.wav ", IDS_DELETE_NAME_FOR_GOOD, {"a.wav", "ding.wav", "z.wav"}},
                 {0, "a.wav", IDS_DELETE_TO_RECYCLE_BIN, {"ding.wav", "z.wav"}}};
    for (const auto& c : cases) {
        const auto before = binned();
        SendMessageW(brisa.Item(IDC_FILE_LIST), LB_SETCURSEL, c.index, 0);
        brisa.m_answers = {IDYES};
        brisa.Click(IDC_DELETE);
        EXPECT_EQ(Lines{ResourceText(IDS_DELETE_QUESTION) + ": " +
                        ResourceText(c.question, {dir + c.name})},
                  brisa.TakeMessageBoxes());
        EXPECT_LE(0, brisa.PumpUntil([&] { return brisa.Files() == c.left; }, 2000));
        EXPECT_EQ(c.index, brisa.Selection()); // the entry that moved into its place
        EXPECT_EQ(before + (c.question == IDS_DELETE_TO_RECYCLE_BIN), binned());
    }
}

// The list's LB_RESETCONTENT, one a listing, and LB_SETCURSEL, one each time the folder tells.
static int g_nListings = 0, g_nTellings = 0;
static WNDPROC g_pfnListProc = nullptr;
static LRESULT CALLBACK CountListings(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    g_nListings += msg == LB_RESETCONTENT;
    g_nTellings += msg == LB_SETCURSEL;
    return CallWindowProcW(g_pfnListProc, hwnd, msg, wParam, lParam);
}

TEST(WavListView, TheListFollowsItsFolderOnceABurstPausesKeepsWhatIsChosenAndBearsItsAbsence) {
    // Look-alikes are other files: the one chosen stays chosen.
    CBrisaHarness brisa("", {"ding.wav", "strasse.wav", "straße.wav"}, ViewTiming());
    const HWND list = brisa.Item(IDC_FILE_LIST);
    g_pfnListProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountListings)));
    SendMessageW(list, LB_SETCURSEL, 1, 0);
    brisa.TypeFileName("x"); // which no entry begins with: the selection stays
    g_nListings = g_nTellings = 0;
    // A burst of a hundred files added and one renamed: taken up at once within a second of the
    // last change, from the names changed, without listing the folder.
    Lines expected = {"strasse.wav", "straße.wav", "zing.mid"};
    for (int i = 0; i < 100; ++i)
        expected.push_back("a" + std::to_string(100 + i) + ".mp3");
    for (std::size_t i = 3; i < expected.size(); ++i) {
        WriteFileText(brisa.WavDir() + "\\" + expected[i], "ID3");
        Sleep(1);
    }
    std::filesystem::rename(PathOf(brisa.WavDir() + "\\ding.wav"),
                            PathOf(brisa.WavDir() + "\\zing.mid"));
    const ULONGLONG burstEnd = GetTickCount64();
    EXPECT_LE(0, brisa.PumpUntil([&] { return Sorted(brisa.Files()) == Sorted(expected); }, 5000));
    EXPECT_LT(GetTickCount64() - burstEnd, 1000u);
    // A file that is no sound costs nothing.
    WriteFileText(brisa.WavDir() + "\\download.tmp", "");
    brisa.Pump(1000);
    EXPECT_EQ(0, g_nListings);
    EXPECT_EQ(1, g_nTellings);
    EXPECT_EQ(brisa.Files()[brisa.Selection()], "strasse.wav");
    EXPECT_EQ("x", brisa.FileName());
    SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_pfnListProc));
    // Gone, back, and another folder put in its place, as a share reconnected to other files.
    const std::string wav = brisa.WavDir(), away = brisa.PathOf("away");
    EXPECT_TRUE(MoveFileW(PathOf(wav).c_str(), PathOf(away).c_str()));
    EXPECT_LE(0, brisa.PumpUntil([&] { return ItemsOf(list).empty(); }, 3000));
    EXPECT_TRUE(MoveFileW(PathOf(away).c_str(), PathOf(wav).c_str()));
    EXPECT_LE(0, brisa.PumpUntil([&] { return ItemsOf(list).size() == expected.size(); }, 3000));
    EXPECT_TRUE(MoveFileW(PathOf(wav).c_str(), PathOf(away).c_str()));
    WriteFileText(wav + "\\x.mid", "MThd");
    EXPECT_LE(0, brisa.PumpUntil([&] { return ItemsOf(list) == Lines{"x.mid"}; }, 3000));
}

TEST(WavListView,
     SoundsDroppedAreCopiedInOthersRefusedOneOfTheSameNameReplacedIfAskedAndTheVolumeKept) {
    CBrisaHarness brisa;
    // The packed paths Explorer hands over, in fixed memory (its own handle).
    std::wstring paths;
    for (const char* file : {"new.mid", "notes.txt", "ding.wav"}) {
        WriteFileText(brisa.PathOf(file), "dropped");
        paths += PathOf(brisa.PathOf(file)).wstring() + L'\0';
    }
    auto* drop = static_cast<DROPFILES*>(
        GlobalAlloc(GPTR, sizeof(DROPFILES) + (paths.size() + 1) * sizeof(wchar_t)));
    drop->pFiles = sizeof(DROPFILES), drop->fWide = TRUE;
    memcpy(drop + 1, paths.c_str(), (paths.size() + 1) * sizeof(wchar_t));
    brisa.m_answers = {IDOK, IDYES};
    SendMessageW(GetWindow(brisa.Main(), GW_CHILD), WM_DROPFILES, reinterpret_cast<WPARAM>(drop),
                 0);
    EXPECT_EQ(
        (Lines{Message(IDS_DROP_REFUSED, {"notes.txt"}), Message(IDS_DROP_REPLACE, {"ding.wav"})}),
        brisa.TakeMessageBoxes());
    EXPECT_LE(0, brisa.PumpUntil([&] { return brisa.Files().size() == 3; }, 2000));
    EXPECT_EQ("dropped", ReadFileText(brisa.WavDir() + "\\new.mid"));
    EXPECT_EQ("dropped", ReadFileText(brisa.WavDir() + "\\ding.wav"));
    // The volume is kept once the slider is let go.
    const HWND volume = brisa.Item(IDC_VOLUME);
    SendMessageW(volume, TBM_SETPOS, TRUE, 35);
    SendMessageW(GetParent(volume), WM_HSCROLL, TB_ENDTRACK, reinterpret_cast<LPARAM>(volume));
    EXPECT_NE(std::string::npos, brisa.Ini().find("[Soundboard]\r\nVolume=35\r\n"));
}

TEST(WavListView, SendAndDccFollowTheClient) {
    // Absent at start: disabled; a double-click finds the client, enables them and sends.
    CBrisaHarness brisa;
    const auto enabled = [&] {
        return IsWindowEnabled(brisa.Item(IDC_SEND)) + IsWindowEnabled(brisa.Item(IDC_DCC));
    };
    EXPECT_EQ(0, enabled());
    auto client = std::make_unique<CImitationClient>();
    Notify(brisa.Item(IDC_FILE_LIST), LBN_DBLCLK);
    EXPECT_EQ(2, enabled());
    EXPECT_EQ(Lines{"/sound #chat ding.wav -plays Brisa: ding.wav"}, client->Entered());
    client.reset();
    brisa.Click(IDC_REFRESH);
    EXPECT_EQ(0, enabled());
}

TEST(Soundboard, HotkeysSendFromAnotherProgramAndTheirDialogRefusesACombinationTaken) {
    // Ctrl+Alt+F8 held by another program, and at Brisa's start too.
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, VK_F8));
    CImitationClient client;
    CBrisaHarness brisa("\r\n[Hotkeys]\r\nCtrl+Alt+F9=fun\\zap.wav\r\nCtrl+Alt+F11=gone.wav\r\n"
                        "Ctrl+Alt+F8=a.wav\r\n",
                        {"a.wav", "fun\\zap.wav"});
    EXPECT_EQ(Lines{Message(IDS_HOTKEYS_TAKEN, {"Ctrl+Alt+F8"})}, brisa.TakeMessageBoxes());
    // Pressed in another program; a gone file's hotkey does nothing.
    SetForegroundWindow(client.TopLevel());
    brisa.Pump(500);
    PressHotkey(VK_F11);
    PressHotkey(VK_F9);
    EXPECT_LE(0, brisa.PumpUntil([&] { return !client.Entered().empty(); }, 3000));
    EXPECT_EQ(Lines{"/sound #chat zap.wav -plays Brisa: zap.wav"}, client.Entered());
    brisa.Open(IDC_HOTKEY, [&](HWND dialog) { // for a.wav, the name box's
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
    EXPECT_EQ(ResourceText(IDS_STATUS_HOTKEY, {"Ctrl+Alt+F7"}), brisa.Status(2));
}

TEST(Soundboard, SubfoldersAreListedSearchedFollowedAndSentAndANameTwiceIsAskedAbout) {
    CImitationClient client({"mIRC", "#chat", {}, true, true});
    CBrisaHarness brisa("Client=1011", {"ding.wav", "Звонок.wav", "fun\\ding.wav", "fun\\звон2.mid",
                                        "a\\b\\c.mp3", "hid\\x.wav"});
    SetFileAttributesW(PathOf(brisa.WavDir() + "\\hid").c_str(), FILE_ATTRIBUTE_HIDDEN);
    brisa.Click(IDC_REFRESH);
    EXPECT_EQ((Lines{"ding.wav", "Звонок.wav", "a\\b\\c.mp3", "fun\\ding.wav", "fun\\звон2.mid"}),
              brisa.Files());
    // The search, in any script and case, keeps the entry chosen while it shows; Esc ends it.
    const HWND search = brisa.Item(IDC_FILTER);
    SendMessageW(brisa.Item(IDC_FILE_LIST), LB_SETCURSEL, 1, 0);
    SetText(search, "ЗВОН");
    EXPECT_EQ((Lines{"Звонок.wav", "fun\\звон2.mid"}), brisa.Files());
    EXPECT_EQ(0, brisa.Selection());
    EXPECT_EQ(ResourceText(IDS_STATUS_FILTERED, {"2", "5"}), brisa.Status(0));
    std::filesystem::remove(PathOf(brisa.WavDir() + "\\Звонок.wav")); // taken from what shows
    EXPECT_LE(0, brisa.PumpUntil([&] { return brisa.Files() == Lines{"fun\\звон2.mid"}; }, 3000));
    SetFocus(search);
    brisa.PressKey(VK_ESCAPE);
    EXPECT_EQ("", TextOf(search));
    WriteFileText(brisa.WavDir() + "\\new\\n.wav", "RIFF");
    std::filesystem::rename(PathOf(brisa.WavDir() + "\\a"), PathOf(brisa.WavDir() + "\\z"));
    const Lines followed = {"ding.wav", "fun\\ding.wav", "fun\\звон2.mid", "new\\n.wav",
                            "z\\b\\c.mp3"};
    EXPECT_LE(0, brisa.PumpUntil([&] { return brisa.Files() == followed; }, 3000));
    // In the client's sounds folder a file goes by its bare name; one two files have, if wanted.
    client.Do([&](CModelClient& model) {
        model.SetInterface("7.72");
        model.SetSoundsFolder("midi", brisa.WavDir());
        model.SetSoundsFolder("wave", brisa.WavDir());
    });
    brisa.TypeFileName("fun\\звон2.mid");
    brisa.Click(IDC_SEND);
    brisa.TypeFileName("fun\\ding.wav");
    brisa.m_answers = {IDNO, IDYES};
    brisa.Click(IDC_SEND);
    brisa.Click(IDC_SEND);
    EXPECT_EQ(Lines(2, Message(IDS_NAMESAKES, {"ding.wav"})), brisa.TakeMessageBoxes());
    EXPECT_EQ((Lines{"/sound #chat звон2.mid -plays Brisa: звон2.mid",
                     "/sound #chat ding.wav -plays Brisa: ding.wav"}),
              client.Entered());
}
