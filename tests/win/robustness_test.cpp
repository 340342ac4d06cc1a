// Brisa.exe fed bad input and hostile conditions: hand-edited and unusable profiles, odd and
// hostile WAV folders, an IRC client that freezes, loses windows, changes or closes. After every
// case Brisa still answers, has written no setting but by OK and removed no file but the one the
// user confirmed, and a Refresh still lists its folder.
#include "support/brisa_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

using Names = std::vector<std::string>;
using EStep = CImitationClient::EStep;

// Longer than any bounded call Brisa makes to the client (1.5 s), with room for a loaded host.
constexpr ULONGLONG kBoundMs = 4000;

int g_nCases = 0;

// Counts the case; its name goes into SCOPED_TRACE.
std::string Case(const std::string& strName) {
    ++g_nCases;
    return strName;
}

class CCaseCount : public ::testing::Environment {
    void TearDown() override { std::printf("Robustness: %d cases\n", g_nCases); }
};
::testing::Environment* const g_pCaseCount = ::testing::AddGlobalTestEnvironment(new CCaseCount);

// The files of a folder that match the pattern, as the ANSI listing names them.
Names DiskNames(const std::string& strDir, const char* pszPattern = "*") {
    Names list;
    WIN32_FIND_DATAA data;
    const HANDLE hFind = FindFirstFileA((strDir + "\\" + pszPattern).c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return list;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            list.push_back(data.cFileName);
    } while (FindNextFileA(hFind, &data));
    FindClose(hFind);
    return Sorted(list);
}

// The folder's name is ASCII; the path may be longer than an ANSI path may be.
std::wstring LongPath(const std::string& strDir, const std::wstring& strName) {
    return L"\\\\?\\" + std::wstring(strDir.begin(), strDir.end()) + L"\\" + strName;
}

// Makes the file, whatever its name; returns the name as the ANSI listing shows it, with '?'
// for characters outside the code page.
std::string MakeFile(const std::string& strDir, const std::wstring& strName) {
    CloseHandle(CreateFileW(LongPath(strDir, strName).c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, 0, nullptr));
    std::string strAnsi(strName.size() * 2, '\0');
    strAnsi.resize(WideCharToMultiByte(CP_ACP, 0, strName.c_str(), static_cast<int>(strName.size()),
                                       &strAnsi[0], static_cast<int>(strAnsi.size()), nullptr,
                                       nullptr));
    return strAnsi;
}

void EmptyFolder(const std::string& strDir) {
    WIN32_FIND_DATAW data;
    const HANDLE hFind = FindFirstFileW(LongPath(strDir, L"*").c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    do {
        SetFileAttributesW(LongPath(strDir, data.cFileName).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(LongPath(strDir, data.cFileName).c_str());
    } while (FindNextFileW(hFind, &data));
    FindClose(hFind);
}

ULONGLONG Since(ULONGLONG nStart) {
    return GetTickCount64() - nStart;
}

struct CRobustCase : CBrisaCase {
    using CBrisaCase::CBrisaCase;
    // Still running, and handling what is posted to it.
    bool Answers() const { return !ProcessExited(0) && Sync() && NoMessageBox(); }
    // Refresh lists exactly the *.WAV files on disk. Of a long list only the entries are
    // counted: reading thousands from another process takes seconds under Wine.
    bool ListsFolder(const std::string& strDir) const {
        const Names listDisk = DiskNames(strDir, "*.WAV");
        if (!Press(IDC_REFRESH))
            return false;
        if (listDisk.size() > 100)
            return Ask(Item(IDC_FILE_LIST), LB_GETCOUNT) == static_cast<LRESULT>(listDisk.size());
        return Sorted(Files()) == listDisk;
    }
    // Selects the entry of that name, as a click would.
    bool SelectName(const std::string& strName) const {
        const HWND hwndList = Item(IDC_FILE_LIST);
        LRESULT nIndex = Ask(hwndList, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                             reinterpret_cast<LPARAM>(strName.c_str()), LB_ERR);
        if (nIndex == LB_ERR) { // the list holds the name's own characters, shown as '?'
            const Names list = Files();
            nIndex = std::find(list.begin(), list.end(), strName) - list.begin();
        }
        return Select(static_cast<int>(nIndex));
    }
};

// The six lines that OK must store for what the open Options dialog shows. With no radio button
// checked the stored selector is kept, as the platform reads it from strIni.
Names ShownOptions(const CBrisaCase& brisa, const std::string& strIni) {
    const auto checked = [&](int nId) {
        return std::to_string(IsChecked(brisa.DialogItem(nId)) ? 1 : 0);
    };
    int nClient =
        static_cast<int>(GetPrivateProfileIntA("Options", "Client", 1009, strIni.c_str()));
    for (const int nId : {IDC_RADIO_MIRC32, IDC_RADIO_MIRC, IDC_RADIO_PIRCH})
        if (IsChecked(brisa.DialogItem(nId)))
            nClient = nId;
    return Sorted({"TagPrompt=" + checked(IDC_PROMPT_FOR_TAG), "FallBack=" + checked(IDC_FALL_BACK),
                   "SendClose=" + checked(IDC_CLOSE_ON_SEND), "Client=" + std::to_string(nClient),
                   "TagText=" + ReadWindowText(brisa.DialogItem(IDC_TAG_TEXT)),
                   "WAVDir=" + ReadWindowText(brisa.DialogItem(IDC_WAV_DIR))});
}

// Options, then Cancel, stores nothing; Options, then OK, stores what the dialog shows, or, when
// a text there is longer than its box takes, says so and stores nothing.
void ExpectOnlyOkWrites(CRobustCase& brisa, const std::string& strIni) {
    const std::string strBefore = ReadFileText(strIni);
    ASSERT_TRUE(brisa.PassOptions(IDCANCEL));
    EXPECT_EQ(strBefore, ReadFileText(strIni));
    ASSERT_TRUE(brisa.OpenDialog(IDC_OPTIONS, CBrisaCase::kOptionsCaption));
    const Names listShown = ShownOptions(brisa, strIni);
    const bool bTooLong = ReadWindowText(brisa.DialogItem(IDC_TAG_TEXT)).size() > 50 ||
                          ReadWindowText(brisa.DialogItem(IDC_WAV_DIR)).size() > 256;
    ASSERT_TRUE(Click(brisa.DialogItem(IDOK)));
    if (bTooLong) {
        EXPECT_NE("", brisa.AnswerMessageBox(IDOK));
        ASSERT_TRUE(brisa.Sync());
        EXPECT_EQ(strBefore, ReadFileText(strIni));
        ASSERT_TRUE(brisa.CloseDialog(IDCANCEL));
        EXPECT_EQ(strBefore, ReadFileText(strIni));
    } else {
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(brisa.Dialog()); }));
        EXPECT_EQ(listShown, Sorted(OptionsLines(ReadFileText(strIni))));
    }
    ASSERT_TRUE(brisa.Sync());
}

TEST(Robustness, HandEditedProfileIsReadAndOnlyOkWritesIt) {
    const std::string strDigits(10000, '7'), strText(10000, 'x');
    // Each selector's client is running.
    CImitationClient mirc32("mIRC32"), mirc("mIRC"), pirch("PIRCH");
    CRobustCase brisa;
    const std::string strDir = brisa.MakeDir("wav", {"ding.wav", "other.wav"});
    const std::string strIni = brisa.PathOf("Brisa.INI");
    const std::string strOther = "[Other]\r\nKeep=this\r\n";
    // It starts on the worst of them: every value 10,000 characters long.
    brisa.WriteIni("[Options]\r\nWAVDir=" + strText + "\r\nTagText=" + strText +
                   "\r\nTagPrompt=" + strDigits + "\r\nFallBack=" + strText +
                   "\r\nSendClose=" + strDigits + "\r\nClient=" + strDigits + "\r\n" + strOther);
    const std::string strStarted = brisa.IniText();
    ASSERT_TRUE(brisa.Start());
    EXPECT_TRUE(brisa.Answers());
    EXPECT_EQ(Names(), brisa.Files());
    EXPECT_EQ(0, brisa.EnabledClientButtons());
    EXPECT_EQ(strStarted, brisa.IniText());

    struct {
        const char* pszCase;
        std::string strOptions;
        CImitationClient* pClient; // the client the selector names, or none
    } const cases[] = {
        {"10,000-character tag", "TagText=" + std::string(10000, '@') + "\r\n", &mirc32},
        {"10,000-character folder", "WAVDir=" + std::string(10000, 'd') + "\r\n", &mirc32},
        {"10,000-character numbers",
         "TagPrompt=" + strDigits + "\r\nFallBack=" + strText + "\r\nSendClose=-" + strDigits +
             "\r\nClient=" + strDigits + "\r\n",
         nullptr},
        {"words and negatives", "TagPrompt=abc\r\nFallBack=-1\r\nSendClose=-1\r\nClient=mIRC\r\n",
         nullptr},
        {"Client=1009", "Client=1009\r\n", &mirc32},
        {"Client=1011", "Client=1011\r\n", &mirc},
        {"Client=1012", "Client=1012\r\n", &pirch},
        {"Client=1010", "Client=1010\r\n", nullptr},
        {"Client=0", "Client=0\r\n", nullptr},
        {"Client=-1", "Client=-1\r\n", nullptr},
        {"Client=66545", "Client=66545\r\n", nullptr}, // 1009 + 65536
        {"Client=4294967295", "Client=4294967295\r\n", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Case(c.pszCase));
        const bool bOwnDir = c.strOptions.find("WAVDir=") != std::string::npos;
        brisa.WriteIni("[Options]\r\n" + (bOwnDir ? "" : "WAVDir=" + strDir + "\r\n") +
                       c.strOptions + strOther);
        ExpectOnlyOkWrites(brisa, strIni);
        if (HasFatalFailure())
            return;
        EXPECT_NE(std::string::npos, brisa.IniText().find("[Other]\r\nKeep=this"));
        // The settings the view took up after the dialog.
        EXPECT_EQ(c.pClient ? 2 : 0, brisa.EnabledClientButtons());
        if (c.pClient) {
            c.pClient->ClearRecords();
            ASSERT_TRUE(brisa.Select(0) && Click(brisa.Item(IDC_SEND)));
            const std::string strLine = WaitEnteredLine(*c.pClient, 0);
            EXPECT_EQ(0u, strLine.find("/sound #chat ding.wav ")) << strLine;
            EXPECT_LE(strLine.size(), std::string("/sound #chat ding.wav ").size() + 255);
        }
        EXPECT_TRUE(brisa.Answers());
        EXPECT_TRUE(brisa.ListsFolder(strDir));
    }
    const std::string strLast = brisa.IniText();
    brisa.Stop();
    EXPECT_EQ(strLast, brisa.IniText()); // nothing written at exit
}

TEST(Robustness, UnusableProfileFileLosesNothing) {
    enum EHow { kFolder, kHeldOpen };
    for (const EHow how : {kFolder, kHeldOpen}) {
        SCOPED_TRACE(Case(how == kFolder ? "Brisa.INI is a folder" : "Brisa.INI is held open"));
        CRobustCase brisa(std::nullopt);
        const std::string strAppData = brisa.MakeDir("appdata");
        const std::string strUserIni = strAppData + "\\Brisa\\Brisa.INI";
        brisa.SetEnv("APPDATA", strAppData);
        const std::string strIni = brisa.PathOf("Brisa.INI");
        const std::string strText = "[Options]\r\nWAVDir=X:\\held\r\nClient=1011\r\n";
        HANDLE hHeld = INVALID_HANDLE_VALUE;
        if (how == kFolder) {
            brisa.MakeDir("Brisa.INI");
        } else {
            brisa.WriteIni(strText);
            hHeld =
                CreateFileA(strIni.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(INVALID_HANDLE_VALUE, hHeld);
        }
        ASSERT_TRUE(brisa.Start());
        EXPECT_TRUE(brisa.Answers());
        if (how == kFolder) {
            // A folder is no settings file: Brisa keeps its settings in the user's folder instead.
            ExpectOnlyOkWrites(brisa, strUserIni);
        } else {
            // A file it cannot read gives the defaults. OK cannot write there: it says so and
            // leaves the dialog open, so the choices are not lost unawares.
            ASSERT_TRUE(brisa.OpenDialog(IDC_OPTIONS, brisa.kOptionsCaption));
            EXPECT_EQ("C:\\WAV", ReadWindowText(brisa.DialogItem(IDC_WAV_DIR)));
            ASSERT_TRUE(Click(brisa.DialogItem(IDOK)));
            EXPECT_EQ(0u, brisa.AnswerMessageBox(IDOK).find("The settings could not be saved in " +
                                                            strIni + "."));
            ASSERT_TRUE(brisa.Sync());
            ASSERT_TRUE(brisa.CloseDialog(IDCANCEL));
        }
        EXPECT_TRUE(brisa.Answers());
        brisa.Stop();
        if (hHeld != INVALID_HANDLE_VALUE)
            CloseHandle(hHeld);
        if (how == kFolder) {
            const DWORD nAttributes = GetFileAttributesA(strIni.c_str());
            EXPECT_TRUE(nAttributes != INVALID_FILE_ATTRIBUTES &&
                        (nAttributes & FILE_ATTRIBUTE_DIRECTORY));
            EXPECT_EQ(6u, OptionsLines(ReadFileText(strUserIni)).size());
        } else {
            EXPECT_EQ(strText, ReadFileText(strIni));
            EXPECT_FALSE(FileExists(strUserIni));
        }
    }
}

TEST(Robustness, HostileWavFolderNeitherStopsBrisaNorLosesFiles) {
    CImitationClient client;
    CRobustCase brisa;
    const std::string strDir = brisa.MakeDir("wav");
    // ab.wav is what "??.wav" would match as a pattern.
    const auto refill = [&] { MakeFile(strDir, L"ding.wav"), MakeFile(strDir, L"ab.wav"); };
    refill();
    brisa.WriteWavDir(strDir, "TagText=@\r\n");
    ASSERT_TRUE(brisa.Start());
    const std::string strIni = brisa.IniText();

    enum { kRemoved = 1, kHeld = 2, kFolderGone = 4 };
    struct {
        const char* pszCase;
        std::wstring strName; // the file acted on
        int nMore;            // files made beside it
        int nFlags;           // held open, or the folder deleted, once listed; removed by Delete
    } const cases[] = {
        // Under Wine each new name costs a look through the whole folder: 10,000 files take
        // some 20 s to make.
        {"10,000 files", L"f05000.wav", 10000, kRemoved},
        {"name filling the path", std::wstring(259 - strDir.size() - 5, L'n') + L".wav", 0,
         kRemoved},
        // Joined to the folder it is longer than an ANSI path may be: Delete reports it.
        {"255-character name", std::wstring(251, L'n') + L".wav", 0, 0},
        {"spaces and accents", L"my  sound caf\u00e9.wav", 0, kRemoved},
        // No file has the name the ANSI listing shows.
        {"characters outside the code page", L"\u4e2d\u6587.wav", 0, 0},
        {"file held open without delete sharing", L"held.wav", 0, kHeld},
        {"folder deleted while listed", L"gone.wav", 0, kFolderGone},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Case(c.pszCase));
        ULONGLONG nStart = GetTickCount64();
        for (int i = 0; i < c.nMore; ++i)
            MakeFile(strDir, L"f" + std::to_wstring(100000 + i).substr(1) + L".wav");
        if (c.nMore)
            std::printf("Robustness: %d files made in %llu ms\n", c.nMore, Since(nStart));
        const std::string strName = MakeFile(strDir, c.strName);
        const std::string strPath = strDir + "\\" + strName;
        const HANDLE hHeld = c.nFlags & kHeld
                                 ? CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                               nullptr, OPEN_EXISTING, 0, nullptr)
                                 : INVALID_HANDLE_VALUE;
        nStart = GetTickCount64();
        ASSERT_TRUE(brisa.ListsFolder(strDir));
        EXPECT_LT(Since(nStart), kBoundMs);
        ASSERT_TRUE(brisa.SelectName(strName));
        if (c.nFlags & kFolderGone) {
            EmptyFolder(strDir);
            ASSERT_TRUE(RemoveDirectoryA(strDir.c_str()));
            const Names listShown = brisa.Files();
            ASSERT_TRUE(brisa.Press(IDC_REFRESH));
            EXPECT_EQ(listShown, brisa.Files());
            ASSERT_TRUE(brisa.SelectName(strName));
        }
        Names listLeft = DiskNames(strDir);
        if (c.nFlags & kRemoved)
            listLeft.erase(std::find(listLeft.begin(), listLeft.end(), strName));

        ASSERT_TRUE(brisa.Press(IDC_PLAY));
        EXPECT_EQ("1|" + strPath, brisa.LastSound());
        client.ClearRecords();
        ASSERT_TRUE(Click(brisa.Item(IDC_SEND)));
        EXPECT_EQ("/sound #chat " + strName + " " + strName.substr(0, 255),
                  WaitEnteredLine(client, 0));
        ASSERT_TRUE(Click(brisa.Item(IDC_DELETE)));
        EXPECT_EQ(strPath, brisa.AnswerMessageBox(IDYES, "Delete This File?"));
        if (!(c.nFlags & kRemoved)) {
            EXPECT_EQ("Unable to Remove File : " + strPath,
                      brisa.AnswerMessageBox(IDOK, "Error Removing File"));
        }
        ASSERT_TRUE(WaitUntil([&] { return brisa.NoMessageBox(); }));
        EXPECT_TRUE(brisa.Answers());
        EXPECT_EQ(listLeft, DiskNames(strDir));

        if (c.nFlags & kHeld)
            CloseHandle(hHeld);
        CreateDirectoryA(strDir.c_str(), nullptr);
        EmptyFolder(strDir);
        refill();
        EXPECT_TRUE(brisa.ListsFolder(strDir));
        EXPECT_EQ(strIni, brisa.IniText());
    }
}

TEST(Robustness, HostileClientNeitherHangsBrisaNorGetsStrayLines) {
    CRobustCase brisa;
    const std::string strDir = brisa.UseWavDir("TagText=@\r\n");
    ASSERT_TRUE(brisa.Start());
    const std::string strIni = brisa.IniText();
    const Names listFiles = DiskNames(strDir);

    Names listMany;
    for (int i = 0; i < 5000; ++i)
        listMany.push_back("nick" + std::to_string(10000 + i));
    // Wine passes no more than 767 characters of a list entry between processes, and breaks on
    // 2,000; these arrive cut, so only their beginning is checked.
    const Names listLong = {std::string(1000, 'a'), "@" + std::string(1000, 'b')};
    enum ESpoil { kNone, kHang, kNoChannel, kClose, kRemove }; // once Refresh found the client
    enum { kNothing = 0, kBox = 1, kTyped = 2 };               // what an operation leads to
    const Names listBob = {"bob"};
    struct {
        const char* pszCase;
        const Names& listNicks;
        ESpoil spoil;
        EStep step; // the window removed
        int nSend;
        int nOpen; // opening DCC Send, and its Refresh
        size_t nNicks;
        int nDccSend;
    } const cases[] = {
        {"5,000 nicknames", listMany, kNone, EStep::FirstChild, kTyped, kNothing, 5000, kTyped},
        // The first is longer than a nickname may be typed: DCC Send says so, and sends it.
        {"1,000-character nicknames", listLong, kNone, EStep::FirstChild, kTyped, kNothing, 2,
         kBox | kTyped},
        {"frozen", listBob, kHang, EStep::FirstChild, kBox, kBox, 0, kBox},
        {"no children", listBob, kRemove, EStep::FirstChild, kNothing, kNothing, 0, kNothing},
        {"no second child", listBob, kRemove, EStep::SecondChild, kNothing, kNothing, 0, kNothing},
        {"no active window", listBob, kRemove, EStep::ActiveWindow, kNothing, kNothing, 0,
         kNothing},
        {"no edit line", listBob, kRemove, EStep::EditLine, kNothing, kNothing, 0, kNothing},
        {"no nickname list", listBob, kRemove, EStep::NickList, kTyped, kNothing, 0, kTyped},
        {"title no longer a channel", listBob, kNoChannel, EStep::FirstChild, kBox, kNothing, 1,
         kTyped},
        {"closed", listBob, kClose, EStep::FirstChild, kNothing, kNothing, 0, kNothing},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Case(c.pszCase));
        CImitationClient client("mIRC32", "#chat", c.listNicks);
        ASSERT_TRUE(brisa.Press(IDC_REFRESH));
        ASSERT_EQ(2, brisa.EnabledClientButtons());
        ASSERT_TRUE(brisa.Select(0));
        switch (c.spoil) {
        case kNone:
            break;
        case kHang:
            ASSERT_TRUE(client.Hang());
            break;
        case kNoChannel:
            ASSERT_TRUE(client.SetTitle("Status"));
            break;
        case kClose:
            client.Close();
            break;
        case kRemove:
            ASSERT_TRUE(client.RemoveWindow(c.step));
            break;
        }
        // Each nickname copied costs two answered calls, and under Wine each takes about 1 ms.
        const ULONGLONG nBoundMs = kBoundMs + 4 * c.listNicks.size();
        // Runs one operation: it must end, with or without a message, within the bound.
        const auto expect = [&](const std::function<bool()>& start, int nResult,
                                const std::string& strLine) {
            const size_t nEntered = client.EnteredLines().size();
            const ULONGLONG nStart = GetTickCount64();
            ASSERT_TRUE(start());
            if (nResult & kBox) {
                EXPECT_NE("", brisa.AnswerMessageBox(IDOK));
            }
            if (nResult & kTyped) {
                EXPECT_EQ(strLine, WaitEnteredLine(client, nEntered));
            }
            EXPECT_TRUE(WaitUntil([&] { return brisa.Sync(); }, nBoundMs) && brisa.NoMessageBox());
            EXPECT_LT(Since(nStart), nBoundMs);
            if (Since(nStart) > 1000)
                std::printf("Robustness: %s: an operation took %llu ms\n", c.pszCase,
                            Since(nStart));
        };
        expect([&] { return Click(brisa.Item(IDC_SEND)); }, c.nSend,
               "/sound #chat ding.wav ding.wav");
        expect([&] { return Click(brisa.Item(IDC_DCC)); }, c.nOpen, "");
        ASSERT_TRUE(brisa.WaitDialog(brisa.kDccCaption));
        const HWND hwndNicks = brisa.DialogItem(IDC_NICK_LIST);
        EXPECT_EQ(static_cast<LRESULT>(c.nNicks), Ask(hwndNicks, LB_GETCOUNT));
        const std::string strNick = ReadWindowText(brisa.DialogItem(IDC_NICK));
        EXPECT_EQ(c.nNicks ? c.listNicks[0].substr(0, strNick.size()) : "", strNick);
        // Each entry is the client's, less one '@': whole, or at least its first 256 characters.
        const Names listShown = c.nNicks < 100 ? ReadListItems(hwndNicks) : Names();
        for (size_t i = 0; i < listShown.size() && i < c.listNicks.size(); ++i) {
            const std::string strWhole = c.listNicks[i].substr(c.listNicks[i][0] == '@');
            EXPECT_EQ(strWhole.substr(0, listShown[i].size()), listShown[i]);
            EXPECT_GE(listShown[i].size(), std::min<size_t>(strWhole.size(), 256));
        }
        expect([&] { return Click(brisa.DialogItem(IDC_DCC_SEND)); }, c.nDccSend,
               "/dcc send " + strNick + " " + strDir + "\\ding.wav");
        // The dialog shows by now, so its list is drawn as it is filled again.
        expect([&] { return Click(brisa.DialogItem(IDC_NICK_REFRESH)); }, c.nOpen & kBox, "");
        EXPECT_EQ(static_cast<LRESULT>(c.nNicks), Ask(hwndNicks, LB_GETCOUNT));
        ASSERT_TRUE(brisa.CloseDialog(IDCANCEL));

        // Once a frozen client answers again, whatever Brisa had sent it has been handled.
        client.Resume();
        client.SetTitle("#chat");
        const size_t nTyped = (c.nSend & kTyped ? 1 : 0) + (c.nDccSend & kTyped ? 1 : 0);
        EXPECT_EQ(nTyped, client.EnteredLines().size());
        EXPECT_TRUE(brisa.Answers());
        EXPECT_TRUE(brisa.ListsFolder(strDir));
        EXPECT_EQ(listFiles, DiskNames(strDir));
        EXPECT_EQ(strIni, brisa.IniText());
    }
}

} // namespace
