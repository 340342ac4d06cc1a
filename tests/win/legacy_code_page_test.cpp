// Brisa on Windows older than 10 version 1903, which ignores the manifest's UTF-8 code page: this
// program is built with a manifest without it, so the ANSI code page is 1252 here.
#include "brisa_harness.h"
#include "framework/profile.h"
#include "imitation_client.h"
#include "settings/settings.h"

#include <gtest/gtest.h>

namespace {

std::wstring Wide(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(LegacyCodePage, NamesTheCodePageLacksShowAsQuestionMarksAndActOnNothingElse) {
    ASSERT_NE(static_cast<UINT>(CP_UTF8), GetACP());
    CImitationClient client("mIRC32", "#чат", {"Влад"});
    CBrisaHarness brisa("", {"abc.wav"});
    const std::wstring dir = Wide(brisa.WavDir());
    // A full-width a, which a best-fit conversion would make the a of abc.wav.
    for (const wchar_t* name : {L"\uFF41bc.wav", L"\u0417\u0432\u043E\u043D\u043E\u043A.wav"})
        CloseHandle(CreateFileW((dir + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, 0, nullptr));
    brisa.Click(IDC_REFRESH);
    Lines shown;
    for (int i = 0; i < 3; ++i) {
        SendMessageA(brisa.Item(IDC_FILE_LIST), LB_SETCURSEL, i, 0);
        Notify(brisa.Item(IDC_FILE_LIST), LBN_SELCHANGE);
        shown.push_back(brisa.FileName());
    }
    const int fullWidth =
        static_cast<int>(std::find(shown.begin(), shown.end(), "?bc.wav") - shown.begin());
    std::sort(shown.begin(), shown.end());
    EXPECT_EQ((Lines{"??????.wav", "?bc.wav", "abc.wav"}), shown);

    brisa.m_answers = {IDYES, IDOK};
    SendMessageA(brisa.Item(IDC_FILE_LIST), LB_SETCURSEL, fullWidth, 0);
    brisa.Click(IDC_DELETE);
    EXPECT_EQ(2u, brisa.TakeMessageBoxes().size()); // the question, then the failure
    EXPECT_TRUE(Exists(dir + L"\\abc.wav"));
    EXPECT_TRUE(Exists(dir + L"\\\uFF41bc.wav"));

    // A channel the code page cannot name is refused; a topic it cannot show does not matter.
    const Lines refused = {"Brisa: The channel's name has characters that this version of Windows "
                           "cannot give Brisa. Nothing was typed; Windows 10 version 1903 or "
                           "later passes every name."};
    brisa.Click(IDC_SEND);
    EXPECT_EQ(refused, brisa.TakeMessageBoxes());
    client.SetTitle("#chat Привет");
    brisa.TypeFileName("abc.wav");
    brisa.Click(IDC_SEND);
    EXPECT_EQ(Lines{"/sound #chat abc.wav -plays Brisa: abc.wav"}, client.EnteredLines());
    brisa.Open(IDC_DCC, [](HWND dialog) {
        EXPECT_EQ("????", TextOf(GetDlgItem(dialog, IDC_NICK)));
        ClickItem(dialog, IDCANCEL);
    });
    // The same channel named through mIRC's interface, in UTF-16.
    client.Close();
    CImitationClient current("mIRC32", "#чат", {}, true, true);
    brisa.Click(IDC_SEND);
    EXPECT_EQ(refused, brisa.TakeMessageBoxes());
    EXPECT_EQ(Lines(), current.EnteredLines());
}

TEST(LegacyCodePage, SettingsLiveInAFolderTheCodePageLacksAndOlderReadersGetWhatFits) {
    CBrisaHarness brisa; // for its temp folder
    const std::wstring temp = Wide(brisa.PathOf(""));
    const std::wstring account = temp + L"\u0141ukasz", beside = account + L"\\Brisa.INI";
    CreateDirectoryW(account.c_str(), nullptr);
    SetEnvironmentVariableW(L"APPDATA", account.c_str());
    const std::wstring userIni = account + L"\\Brisa\\Brisa.INI";
    EXPECT_EQ(userIni, fw::CProfile::Locate(temp + L"wav\\Brisa.exe"));
    CloseHandle(CreateFileW(beside.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    EXPECT_EQ(beside, fw::CProfile::Locate(account + L"\\Brisa.exe"));

    fw::CProfile profile;
    profile.Open(userIni);
    settings::Settings stored;
    stored.m_strWavDir = "C:\\Sons\\\xC9t\xE9"; // Été in code page 1252
    ASSERT_TRUE(settings::Save(profile, stored));
    EXPECT_EQ(stored.m_strWavDir, settings::Load(profile, settings::Reader::View).m_strWavDir);
    // An older Brisa reads the file with the ANSI calls.
    const std::string copy = brisa.PathOf("copy.ini");
    CopyFileW(userIni.c_str(), Wide(copy).c_str(), FALSE);
    char value[64] = {};
    GetPrivateProfileStringA("Options", "WAVDir", "", value, sizeof value, copy.c_str());
    EXPECT_EQ(stored.m_strWavDir, value);
}

} // namespace
