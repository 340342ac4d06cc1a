// What Brisa does with the IRC client, against a client faked in a few lines: the protocol of
// mIRC's interface, the choice between it and the windows, and the commands Send, DCC Send and
// the copy of the nicknames.
#include "resource.h"
#include "rules/client_session.h"
#include "rules/commands.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <set>

namespace {

Ticks g_now = 0;
Ticks Now() {
    return g_now;
}

using Lines = std::vector<std::string>;

// The client's windows: they answer as set and log what Brisa does.
struct FakeWindows : IClientWindows {
    ClientAnswer<ClientText> title{ClientOutcome::Done, {"#chat"}};
    ClientAnswer<ClientList> nicks;
    ClientOutcome typed = ClientOutcome::Done;
    Lines log;
    Ticks deadline = 0;

    ClientAnswer<ClientText> ActiveTitle(Ticks d) override {
        deadline = d;
        log.push_back("title");
        return title;
    }
    ClientAnswer<ClientList> NickList(Ticks) override { return log.push_back("nicks"), nicks; }
    ClientOutcome TypeLine(const std::string& line, bool prompt, Ticks) override {
        log.push_back((prompt ? "prompt " : "type ") + line);
        return typed;
    }
    void Raise(RaiseAfter which, Ticks) override {
        log.push_back(which == RaiseAfter::MainWindow ? "raise main" : "raise active");
    }
};

// The client's end of the interface: names held by other programs, values of identifiers, and
// its answers in turn (1 when none is left; nullopt goes unanswered). An ANSI code page that
// lacks every character beyond ASCII.
struct FakeLink : IMircLink {
    std::set<unsigned> inUse;
    std::map<std::string, std::string> values{{"$version", "7.72"}, {"$active", "#chat"}};
    std::deque<std::optional<long long>> answers;
    Ticks tickPerMessage = 0;
    unsigned index = 0;
    std::string put;
    bool kept = false;
    Lines log;

    EMapping MakeMapping(unsigned i) override {
        index = i;
        return inUse.count(i) ? EMapping::InUse : EMapping::Made;
    }
    bool Put(const std::string& text, bool unicode) override {
        for (const char c : text) {
            if (!unicode && (c & 0x80))
                return false;
        }
        put = text;
        return true;
    }
    std::string Get(bool) const override { return values.count(put) ? values.at(put) : ""; }
    std::optional<long long> Send(bool evaluate, unsigned method, Ticks) override {
        g_now += tickPerMessage;
        log.push_back((evaluate ? "eval " : "do ") + put + " " + std::to_string(method) + "/" +
                      std::to_string(index));
        if (answers.empty())
            return 1;
        const auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void KeepForLateAnswer() override { kept = true; }
};

constexpr std::nullopt_t kSilent = std::nullopt;

TEST(MircInterface, OpensOnTheFirstFreeNameInTheEncodingOfTheVersion) {
    const struct {
        std::set<unsigned> inUse;
        const char* version;
        std::deque<std::optional<long long>> answers;
        CMircInterface::EAnswer answer;
        const char* call; // the last message: method / index
    } cases[] = {
        {{}, "7.72", {}, CMircInterface::EAnswer::Done, "eval $active 8/0"},
        {{0, 1}, "7.72", {}, CMircInterface::EAnswer::Done, "eval $active 8/2"},
        {{}, "6.35", {}, CMircInterface::EAnswer::Done, "eval $active 0/0"},
        // A window that answers with no version has no such interface.
        {{}, "", {}, CMircInterface::EAnswer::Refused, "eval $version 0/0"},
        {{}, "mIRC", {}, CMircInterface::EAnswer::Refused, "eval $version 0/0"},
        {{}, "7.72", {0}, CMircInterface::EAnswer::Refused, "eval $version 0/0"},
        {{}, "7.72", {kSilent}, CMircInterface::EAnswer::NotAnswering, "eval $version 0/0"},
    };
    for (const auto& c : cases) {
        FakeLink link;
        link.inUse = c.inUse;
        link.values["$version"] = c.version;
        link.answers = c.answers;
        auto answer = CMircInterface::EAnswer::Refused;
        auto mirc = CMircInterface::Open(link, kNoDeadline, &answer);
        EXPECT_EQ(c.answer, answer) << c.version;
        if (mirc) {
            EXPECT_EQ("#chat", mirc->Evaluate("$active", kNoDeadline, &answer));
        }
        EXPECT_EQ(c.call, link.log.back()) << c.version;
    }
}

TEST(MircInterface, AnUnansweredMessageKeepsItsMappingAndNothingMoreIsHandedOver) {
    FakeLink link;
    auto answer = CMircInterface::EAnswer::Done;
    auto mirc = CMircInterface::Open(link, kNoDeadline, &answer);
    link.answers = {kSilent};
    EXPECT_EQ(CMircInterface::EAnswer::NotAnswering, mirc->Perform("/sound #a b c", kNoDeadline));
    EXPECT_TRUE(link.kept);
    EXPECT_EQ(CMircInterface::EAnswer::NotAnswering, mirc->Perform("/sound #a d e", kNoDeadline));
    EXPECT_EQ((Lines{"eval $version 0/0", "do /sound #a b c 9/0"}), link.log);
    // Version 6 reads the ANSI code page, which lacks these characters: nothing is handed over.
    link = FakeLink();
    link.values["$version"] = "6.35";
    mirc = CMircInterface::Open(link, kNoDeadline, &answer);
    EXPECT_EQ(CMircInterface::EAnswer::CannotCarry, mirc->Perform("/sound #чат ベル.wav", 0));
    EXPECT_EQ(Lines{"eval $version 0/0"}, link.log);
}

struct SessionCase {
    bool link;
    const char* version;
    std::deque<std::optional<long long>> answers; // after $version
    bool prompt;
    ClientOutcome outcome;
    Lines windows, interface; // after $version
};

TEST(ClientSession, TheInterfaceWhenItAnswersElseTheWindowsNeverBoth) {
    const std::string line = "/sound #c a.wav - ";
    const SessionCase cases[] = {
        {true, "7.72", {}, false, ClientOutcome::Done, {"raise main"}, {"do " + line + " 9/0"}},
        {true,
         "7.72",
         {},
         true,
         ClientOutcome::Done,
         {"raise main"},
         {"do /editbox -ap /sound #c a.wav - 9/0"}},
        // Carried out, but answered as failed: not typed again through the windows.
        {true, "7.72", {0}, false, ClientOutcome::Refused, {}, {"do " + line + " 9/0"}},
        {true,
         "7.72",
         {kSilent},
         false,
         ClientOutcome::EnterUnanswered,
         {},
         {"do " + line + " 9/0"}},
        // Refused, as by a user who locked other programs out: its windows.
        {true, "", {}, false, ClientOutcome::Done, {"type " + line, "raise main"}, {}},
        {false, "7.72", {}, true, ClientOutcome::Done, {"prompt " + line, "raise main"}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version + std::string(c.link ? " link" : "") + (c.prompt ? " prompt" : ""));
        FakeWindows windows;
        FakeLink link;
        link.values["$version"] = c.version;
        CClientSession session(windows, c.link ? &link : nullptr, Now);
        link.answers = c.answers;
        link.log.clear();
        EXPECT_EQ(c.outcome, session.Type(line, c.prompt, RaiseAfter::MainWindow));
        EXPECT_EQ(c.windows, windows.log);
        EXPECT_EQ(c.interface, link.log);
    }
    // Not answering the first question: nothing goes to its windows either.
    FakeWindows windows;
    FakeLink link;
    link.answers = {kSilent};
    CClientSession silent(windows, &link, Now);
    EXPECT_EQ(ClientOutcome::NotAnswering, silent.ActiveWindowName().outcome);
    EXPECT_EQ(ClientOutcome::NotAnswering, silent.Nicknames().outcome);
    EXPECT_EQ(ClientOutcome::NotAnswering, silent.Type(line, false, RaiseAfter::Nothing));
    EXPECT_EQ(Lines(), windows.log);
}

TEST(ClientSession, OneDeadlineForTheOperationAndTheSoundsFolderOnlyThroughTheInterface) {
    g_now = 5000;
    FakeWindows windows;
    CClientSession byWindows(windows, nullptr, Now);
    g_now = 7000;
    byWindows.ActiveWindowName();
    EXPECT_EQ(8000u, windows.deadline);
    const auto none = byWindows.SoundsFolder("wave");
    EXPECT_EQ(ClientOutcome::Done, none.outcome);
    EXPECT_EQ(std::nullopt, none.value);

    FakeLink link;
    link.values["$sound(midi)"] = "C:\\mIRC\\sounds";
    CClientSession byInterface(windows, &link, Now);
    EXPECT_EQ("C:\\mIRC\\sounds", byInterface.SoundsFolder("midi").value);
    EXPECT_EQ("", byInterface.SoundsFolder("mp3").value); // the client does not say
    link.answers = {kSilent};
    EXPECT_EQ(ClientOutcome::NotAnswering, byInterface.SoundsFolder("wave").outcome);
}

TEST(ClientSession, NicknamesThroughTheInterfaceWithinTheirBoundsKeepingWhatWasRead) {
    const struct {
        std::string count;
        std::deque<std::optional<long long>> answers; // after the count
        Ticks tickPerMessage;
        ClientList::EEnd end;
        std::size_t copied;
    } cases[] = {
        {"3", {}, 0, ClientList::EEnd::Whole, 3},
        {"3", {1, 1, 0}, 0, ClientList::EEnd::Refused, 2},
        {"3", {1, kSilent}, 0, ClientList::EEnd::NotAnswering, 1},
        {"20000", {}, 0, ClientList::EEnd::Cut, 10000},
        {"1000", {}, 10, ClientList::EEnd::Cut, 501}, // 5 s of 10 ms messages
    };
    for (const auto& c : cases) {
        FakeWindows windows;
        FakeLink link;
        link.values["$nick($active,0)"] = c.count;
        for (int n = 1; n <= 3; ++n)
            link.values["$nick($active," + std::to_string(n) + ")"] = "n" + std::to_string(n);
        CClientSession session(windows, &link, Now);
        link.answers = {1};
        link.answers.insert(link.answers.end(), c.answers.begin(), c.answers.end());
        link.tickPerMessage = c.tickPerMessage;
        const auto nicks = session.Nicknames();
        EXPECT_EQ(ClientOutcome::Done, nicks.outcome);
        EXPECT_EQ(c.end, nicks.value.end) << c.count;
        EXPECT_EQ(c.copied, nicks.value.items.size()) << c.count;
    }
}

// A client for the commands: it answers as set and logs what it is asked to type.
struct FakeClient : IClient {
    ClientAnswer<ClientText> title{ClientOutcome::Done, {"#chat [+nt]: hello"}};
    ClientAnswer<std::optional<std::string>> folder;
    ClientAnswer<ClientList> nicks;
    ClientOutcome typed = ClientOutcome::Done;
    Lines log;

    ClientAnswer<ClientText> ActiveWindowName() override { return title; }
    ClientAnswer<std::optional<std::string>> SoundsFolder(const std::string& kind) override {
        log.push_back("folder " + kind);
        return folder;
    }
    ClientAnswer<ClientList> Nicknames() override { return nicks; }
    ClientOutcome Type(const std::string& line, bool prompt, RaiseAfter raise) override {
        const char* raised[] = {"", " +main", " +active"};
        log.push_back((prompt ? "prompt " : "type ") + line + raised[static_cast<int>(raise)]);
        return typed;
    }
};

settings::Settings StoredSettings(int prompt, int fallBack, int close) {
    settings::Settings s;
    s.m_strWavDir = "C:\\WAV";
    s.m_strTagText = settings::kDefaultSendTagText;
    s.m_bTagPrompt = prompt, s.m_bFallBack = fallBack, s.m_bSendClose = close;
    return s;
}

TEST(Commands, SendAnnouncesTheNameToTheActiveChannelAndSaysWhyNot) {
    const std::string sent = "type /sound #chat ding.wav -plays Brisa: ding.wav";
    const struct {
        ClientAnswer<ClientText> title;
        std::string file;
        settings::Settings stored;
        ClientOutcome typed;
        Lines log;
        int message;
        bool closes;
    } cases[] = {
        {{}, "ding.wav", StoredSettings(0, 0, 0), {}, {"folder wave", sent}, 0, false},
        {{}, "ding.wav", StoredSettings(0, 1, 2), {}, {"folder wave", sent + " +main"}, 0, false},
        {{},
         "ding.wav",
         StoredSettings(2, 0, 1),
         {},
         {"folder wave", "prompt /sound #chat ding.wav -  +main"},
         0,
         true},
        {{},
         "a b.MID",
         StoredSettings(0, 0, 1),
         {},
         {"folder midi", "type /sound #chat \"a b.MID\" -plays Brisa: a b.MID"},
         0,
         true},
        // Typed, but not entered: closing would leave the user unaware.
        {{},
         "ding.wav",
         StoredSettings(0, 0, 1),
         ClientOutcome::EnterUnanswered,
         {"folder wave", sent},
         IDS_CLIENT_ENTER_UNANSWERED,
         false},
        {{},
         "ding.wav",
         StoredSettings(0, 0, 0),
         ClientOutcome::NoEditLine,
         {"folder wave", sent},
         IDS_CLIENT_NO_EDIT_LINE,
         false},
        {{}, "", StoredSettings(0, 0, 1), {}, {}, IDS_NO_SOUND_NAME, false},
        {{ClientOutcome::Done, {"Status"}},
         "ding.wav",
         StoredSettings(0, 0, 1),
         {},
         {},
         IDS_CHANNEL_NOT_ACTIVE,
         false},
        // A title cut before its first space may hold only part of the channel's name.
        {{ClientOutcome::Done, {"#chat", true}},
         "ding.wav",
         {},
         {},
         {},
         IDS_CHANNEL_NOT_ACTIVE,
         false},
        {{ClientOutcome::Done, {"#chat topic", true}},
         "ding.wav",
         StoredSettings(0, 0, 0),
         {},
         {"folder wave", sent},
         0,
         false},
        {{ClientOutcome::NotAnswering}, "ding.wav", {}, {}, {}, IDS_CLIENT_NOT_ANSWERING, false},
    };
    for (const auto& c : cases) {
        FakeClient client;
        if (!c.title.value.text.empty() || c.title.outcome != ClientOutcome::Done)
            client.title = c.title;
        client.typed = c.typed;
        const SendResult result =
            SendSound(client, c.file, c.stored, [](const auto&) { return std::nullopt; });
        EXPECT_EQ(c.log, client.log) << c.file << " " << c.title.value.text;
        EXPECT_EQ(c.message, result.notice.message) << c.title.value.text;
        EXPECT_EQ(c.closes, result.closeBrisa);
    }
    // Outside the client's sounds folder a file goes by its path; its notices name the client.
    FakeClient client;
    client.folder = {ClientOutcome::Done, std::string("D:\\mIRC\\sounds")};
    const auto namer = [](const std::optional<std::string>& folder) {
        return folder == "D:\\mIRC\\sounds" ? std::optional<std::string>("C:\\WAV") : std::nullopt;
    };
    SendSound(client, "ding.wav", StoredSettings(0, 0, 0), namer);
    EXPECT_EQ("type /sound #chat C:\\WAV\\ding.wav -plays Brisa: ding.wav", client.log.back());
    client.folder.outcome = ClientOutcome::Refused;
    settings::Settings mirc = StoredSettings(0, 0, 0);
    mirc.m_nClient = 1011;
    const Notice refused = SendSound(client, "ding.wav", mirc, namer).notice;
    EXPECT_EQ(IDS_CLIENT_REFUSED, refused.message);
    EXPECT_EQ("mIRC", refused.arg);
}

TEST(Commands, DccSendOffersTheFileOfTheFolderToTheNickname) {
    const struct {
        std::string nick, file;
        int fallBack;
        ClientOutcome typed;
        Lines log;
        int message;
    } cases[] = {
        {"bob", "ding.wav", 0, {}, {"type /dcc send bob C:\\WAV\\ding.wav"}, 0},
        {"Влад", "a b.wav", 2, {}, {"type /dcc send Влад \"C:\\WAV\\a b.wav\" +active"}, 0},
        {"bob",
         "ding.wav",
         1,
         ClientOutcome::CannotCarry,
         {"type /dcc send bob C:\\WAV\\ding.wav +active"},
         IDS_CLIENT_CANNOT_CARRY},
        {"", "ding.wav", 0, {}, {}, IDS_NO_NICKNAME},
        {"bob", "", 0, {}, {}, IDS_NO_SOUND_NAME},
    };
    for (const auto& c : cases) {
        FakeClient client;
        client.typed = c.typed;
        const OfferResult result =
            OfferFile(client, c.nick, c.file, StoredSettings(0, c.fallBack, 1));
        EXPECT_EQ(c.log, client.log) << c.nick;
        EXPECT_EQ(c.message, result.notice.message) << c.nick;
        EXPECT_EQ(c.message == 0, result.typed) << c.nick;
    }
}

TEST(Commands, TheCopiedNicknamesLoseTheirMarksAndAnEmptyCopyKeepsTheList) {
    using EEnd = ClientList::EEnd;
    const struct {
        ClientAnswer<ClientList> nicks;
        std::optional<Lines> listed;
        int message;
    } cases[] = {
        {{ClientOutcome::Done, {{"@alice", "", "@", "+@bob"}}}, Lines{"alice", "", "bob"}, 0},
        {{ClientOutcome::Done, {{}}}, std::nullopt, 0},
        {{ClientOutcome::Done, {{"a"}, EEnd::Cut}}, Lines{"a"}, IDS_NICKNAMES_CUT},
        {{ClientOutcome::Done, {{"a"}, EEnd::Refused}}, Lines{"a"}, IDS_NICKNAMES_REFUSED},
        {{ClientOutcome::Done, {{}, EEnd::NotAnswering}}, std::nullopt, IDS_NICKNAMES_UNANSWERED},
        {{ClientOutcome::NoEditLine}, std::nullopt, 0},
        {{ClientOutcome::NotAnswering}, std::nullopt, IDS_CLIENT_NOT_ANSWERING},
    };
    for (const auto& c : cases) {
        FakeClient client;
        client.nicks = c.nicks;
        const NickCopy copy = CopyNicknames(client, "mIRC32");
        EXPECT_EQ(c.listed, copy.nicks) << c.message;
        EXPECT_EQ(c.message, copy.notice.message);
    }
}

} // namespace
