// What Brisa does with the IRC client, against a client faked in a few lines: mIRC's interface,
// the choice between it and the windows, and the commands Send, DCC Send and Copy Nicknames.
#include "resource.h"
#include "rules/client_session.h"
#include "rules/commands.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <set>

namespace {

using Lines = std::vector<std::string>;
using Answers = std::deque<std::optional<long long>>; // nullopt: not answered in time
using EAnswer = CMircInterface::EAnswer;
constexpr std::nullopt_t kSilent = std::nullopt;
constexpr ClientOutcome kDone = ClientOutcome::Done;
constexpr RaiseAfter kMain = RaiseAfter::MainWindow, kActive = RaiseAfter::ActiveWindow;

Ticks g_now = 0;
Ticks (*const Now)() = [] { return g_now; };

// The client's windows: they answer as set and log what Brisa does. The active window is 7.
struct FakeWindows : IClientWindows {
    Lines log;
    Ticks deadline = 0;

    ClientAnswer<ClientText> ActiveTitle(Ticks d) override {
        return deadline = d, ClientAnswer<ClientText>{kDone, {"#chat"}};
    }
    ClientAnswer<ClientList> NickList(Ticks) override { return {}; }
    ClientOutcome TypeLine(const std::string& line, bool prompt, Ticks,
                           ClientWindowId* into) override {
        log.push_back((prompt ? "prompt " : "type ") + line);
        return *into = 7, kDone;
    }
    ClientWindowId FindActive(Ticks) override { return log.push_back("find"), 7; }
    void Raise(ClientWindowId window) override { log.push_back("raise " + std::to_string(window)); }
};

// The client's end of the interface: names other programs hold, the values of identifiers, and
// its answers in turn (1 once none is left). Its ANSI code page lacks all beyond ASCII.
struct FakeLink : IMircLink {
    std::set<unsigned> inUse;
    std::map<std::string, std::string> values{{"$version", "7.72"}, {"$active", "#chat"}};
    Answers answers;
    Ticks tickPerMessage = 0;
    unsigned index = 0, released = 0;
    std::string put;
    Lines log;

    EMapping MakeMapping(unsigned i) override {
        return index = i, inUse.count(i) ? EMapping::InUse : EMapping::Made;
    }
    bool Put(const std::string& text, bool unicode) override {
        const bool carried =
            unicode || std::all_of(text.begin(), text.end(), [](char c) { return c > 0; });
        return carried && (put = text, true);
    }
    std::string Get(bool) const override {
        std::string result;
        for (std::size_t start = 0, end = 0; start < put.size(); start = end + 1) {
            end = std::min(put.find(' ', start), put.size());
            const auto value = values.find(put.substr(start, end - start));
            result += (start ? " " : "") + (value == values.end() ? "" : value->second);
        }
        return result;
    }
    std::optional<long long> Send(bool evaluate, unsigned method, Ticks) override {
        g_now += tickPerMessage;
        log.push_back((evaluate ? "" : "do ") + put + " " + std::to_string(method) + "/" +
                      std::to_string(index));
        const auto answer = answers.empty() ? 1 : answers.front();
        return answers.empty() ? answer : (answers.pop_front(), answer);
    }
    void KeepForLateAnswer() override { inUse.insert(index); }
    void ReleaseKept() override { ++released; }
};

TEST(MircInterface, OpensOnTheFirstFreeNameInTheEncodingOfTheVersionAskedOnce) {
    const struct {
        std::set<unsigned> inUse;
        const char* version;
        std::optional<bool> known; // what an earlier operation learnt
        Answers answers;
        EAnswer answer;
        Lines log; // with the method and the mapping's index of each message
    } cases[] = {
        {{}, "7.72", {}, {}, EAnswer::Done, {"$version 0/0", "$active 8/0"}},
        {{0, 1}, "6.35", {}, {}, EAnswer::Done, {"$version 0/2", "$active 0/2"}},
        {{}, "", true, {}, EAnswer::Done, {"$active 8/0"}},
        // A window that answers with no version has no such interface.
        {{}, "mIRC", {}, {}, EAnswer::Refused, {"$version 0/0"}},
        {{}, "7.72", {}, {kSilent}, EAnswer::NotAnswering, {"$version 0/0"}},
    };
    for (const auto& c : cases) {
        FakeLink link;
        MircMemory memory;
        memory.unicode = c.known;
        link.inUse = c.inUse;
        link.values["$version"] = c.version;
        link.answers = c.answers;
        auto answer = EAnswer::Refused;
        auto mirc = CMircInterface::Open(link, memory, kNoDeadline, &answer);
        EXPECT_EQ(c.answer, answer) << c.version;
        EXPECT_EQ(c.answer == EAnswer::Done, mirc && mirc->Evaluate("$active", 0, &answer));
        EXPECT_EQ(c.log, link.log) << c.version;
    }
}

// A mapping of an unanswered message stays the client's until a later answer; only a few are.
TEST(MircInterface, UnansweredMappingsAreKeptUntilALaterAnswerAndBounded) {
    FakeLink link;
    MircMemory memory;
    memory.unicode = true;
    auto answer = EAnswer::Done;
    for (unsigned late = 1; late <= kMaxKeptMappings; ++late) {
        auto mirc = CMircInterface::Open(link, memory, kNoDeadline, &answer);
        link.answers = {kSilent};
        EXPECT_EQ(EAnswer::NotAnswering, mirc->Perform("/a", 0));
        EXPECT_EQ(EAnswer::NotAnswering, mirc->Perform("/b", 0)); // not handed over
        EXPECT_EQ(late, memory.kept);
    }
    EXPECT_EQ(kMaxKeptMappings, link.log.size());
    EXPECT_EQ("do /a 9/7", link.log.back());
    EXPECT_FALSE(CMircInterface::Open(link, memory, kNoDeadline, &answer));
    EXPECT_EQ(EAnswer::NotAnswering, answer);
    memory.kept = 1;
    EXPECT_TRUE(
        CMircInterface::Open(link, memory, kNoDeadline, &answer)->Evaluate("$active", 0, &answer));
    EXPECT_EQ(0u, memory.kept);
    EXPECT_EQ(1u, link.released);
    // Version 6 reads the ANSI code page, which lacks these characters: nothing is handed over.
    memory = MircMemory();
    memory.unicode = false;
    auto ansi = CMircInterface::Open(link, memory, kNoDeadline, &answer);
    EXPECT_EQ(EAnswer::CannotCarry, ansi->Perform("/sound #чат ベル.wav", 0));
    EXPECT_EQ("$active 8/8", link.log.back());
}

TEST(ClientSession, TheInterfaceWhenItAnswersElseTheWindowsNeverBoth) {
    const std::string line = "/sound #c a.wav - ", done = "do " + line + " 9/0",
                      edited = "do /editbox -ap " + line.substr(0, 17) + " 9/0";
    const struct {
        bool link;
        const char* version;
        Answers answers; // after $version
        bool prompt;
        RaiseAfter raise;
        ClientOutcome outcome;
        Lines windows, interface;
    } cases[] = {
        {true, "7.72", {}, false, kMain, kDone, {"raise 0"}, {done}},
        {true, "7.72", {}, true, kActive, kDone, {"find", "raise 7"}, {edited}},
        // Carried out, but answered as failed: not typed again through the windows.
        {true, "7.72", {0}, false, kMain, ClientOutcome::Refused, {}, {done}},
        {true, "7.72", {kSilent}, false, kMain, ClientOutcome::EnterUnanswered, {}, {done}},
        // Refused, as by a user who locked other programs out: its windows.
        {true, "", {}, false, kActive, kDone, {"type " + line, "raise 7"}, {}},
        {false, "7.72", {}, true, kMain, kDone, {"prompt " + line, "raise 0"}, {}},
    };
    for (const auto& c : cases) {
        FakeWindows windows;
        FakeLink link;
        MircMemory memory;
        link.values["$version"] = c.version;
        CClientSession session(windows, c.link ? &link : nullptr, &memory, Now);
        link.answers = c.answers;
        link.log.clear();
        EXPECT_EQ(c.outcome, session.Type(line, c.prompt, c.raise)) << c.version;
        EXPECT_EQ(c.windows, windows.log) << c.version;
        EXPECT_EQ(c.interface, link.log) << c.version;
    }
    // Silent at the first question, or no name free after answering before: never its windows.
    for (const bool answeredBefore : {false, true}) {
        FakeWindows windows;
        FakeLink link;
        MircMemory memory;
        memory.unicode = answeredBefore ? std::optional<bool>(true) : std::nullopt;
        link.answers = {kSilent};
        for (unsigned name = 0; answeredBefore && name < 100; ++name)
            link.inUse.insert(name);
        CClientSession session(windows, &link, &memory, Now);
        EXPECT_NE(kDone, session.Active("wave").outcome);
        EXPECT_NE(kDone, session.Nicknames().outcome);
        EXPECT_NE(kDone, session.Type(line, false, RaiseAfter::Nothing));
        EXPECT_EQ(Lines(), windows.log);
    }
}

TEST(ClientSession, TheActiveWindowAndTheSoundsFolderInOneMessageWithinOneDeadline) {
    g_now = 5000;
    FakeWindows windows;
    CClientSession byWindows(windows, nullptr, nullptr, Now);
    g_now = 7000;
    EXPECT_EQ(std::nullopt, byWindows.Active("wave").value.soundsFolder);
    EXPECT_EQ(8000u, windows.deadline);
    const struct {
        const char *active, *folder, *name, *named;
    } cases[] = {{"#chat", "C:\\My Sounds", "#chat", "C:\\My Sounds"},
                 {"#chat", "", "#chat", ""},                          // the client does not say
                 {"Status Window", "C:\\", "Status", "Window C:\\"}}; // no channel in any case
    for (const auto& c : cases) {
        FakeLink link;
        MircMemory memory;
        link.values = {{"$version", "7.72"}, {"$active", c.active}, {"$sound(midi)", c.folder}};
        const auto active = CClientSession(windows, &link, &memory, Now).Active("midi");
        EXPECT_EQ(c.name, active.value.name.text);
        EXPECT_EQ(c.named, active.value.soundsFolder);
        EXPECT_EQ("$active $sound(midi) 8/0", link.log.back());
    }
}

TEST(ClientSession, NicknamesThroughTheInterfaceInBatchesWithinTheirBounds) {
    using EEnd = ClientList::EEnd;
    const struct {
        const char* count;
        Answers answers; // after $version
        Ticks tickPerMessage;
        EEnd end;
        std::size_t copied, messages;
    } cases[] = {
        {"45", {}, 0, EEnd::Whole, 45, 5},
        {"45", {1, 1, 0}, 0, EEnd::Refused, 20, 4},
        {"45", {1, 1, kSilent}, 0, EEnd::NotAnswering, 20, 4},
        {"50", {}, 0, EEnd::Whole, 45, 5}, // five have left since the count
        {"20000", {}, 0, EEnd::Cut, 10000, 502},
        {"2000", {}, 100, EEnd::Cut, 1020, 53}, // 5 s of 100 ms messages
    };
    for (const auto& c : cases) {
        FakeWindows windows;
        FakeLink link;
        MircMemory memory;
        link.values["$nick($active,0)"] = c.count;
        for (int n = 1; n <= (*c.count == '5' ? 45 : 20000); ++n)
            link.values["$nick($active," + std::to_string(n) + ")"] = "n";
        CClientSession session(windows, &link, &memory, Now);
        link.answers = c.answers;
        link.tickPerMessage = c.tickPerMessage;
        const auto nicks = session.Nicknames();
        EXPECT_EQ(c.end, nicks.value.end) << c.count;
        EXPECT_EQ(c.copied, nicks.value.items.size()) << c.count;
        EXPECT_EQ(c.messages, link.log.size()) << c.count;
    }
}

// A client for the commands: it answers as set and logs what it is asked.
struct FakeClient : IClient {
    ClientAnswer<ActiveWindow> active{kDone, {{"#chat [+nt]: hello"}, std::nullopt}};
    ClientAnswer<ClientList> nicks;
    ClientOutcome typed = kDone;
    Lines log;

    ClientAnswer<ActiveWindow> Active(const std::string& kind) override {
        return log.push_back(kind), active;
    }
    ClientAnswer<ClientList> Nicknames() override { return nicks; }
    ClientOutcome Type(const std::string& line, bool prompt, RaiseAfter raise) override {
        const char* raised[] = {"", " +main", " +active"};
        log.push_back((prompt ? "prompt " : "") + line + raised[static_cast<int>(raise)]);
        return typed;
    }
};

settings::Settings Flags(int prompt, int fallBack, int close) {
    settings::Settings s;
    s.m_strWavDir = "C:\\WAV";
    s.m_strTagText = "@";
    s.m_bTagPrompt = prompt, s.m_bFallBack = fallBack, s.m_bSendClose = close;
    return s;
}

TEST(Commands, SendAnnouncesTheNameToTheActiveChannelAndSaysWhyNot) {
    const std::string sent = "/sound #c d.wav d.wav";
    const auto kNoEnter = ClientOutcome::EnterUnanswered;
    const struct {
        ClientText title;
        std::string file;
        settings::Settings stored;
        ClientOutcome typed;
        Lines log;
        int message;
        bool closes;
    } cases[] = {
        {{"#c"}, "d.wav", Flags(0, 0, 2), kDone, {"wave", sent}, 0, false},
        {{"#c"}, "d.wav", Flags(0, 1, 0), kDone, {"wave", sent + " +main"}, 0, false},
        {{"#c"}, "d.wav", Flags(2, 0, 1), kDone, {"wave", "prompt /sound #c d.wav -  +main"}, 0, 1},
        {{"#c"}, "a b.MID", Flags(0, 0, 1), kDone, {"midi", "/sound #c \"a b.MID\" a b.MID"}, 0, 1},
        // Typed, but not entered: closing would leave the user unaware.
        {{"#c"}, "d.wav", Flags(0, 0, 1), kNoEnter, {"wave", sent}, IDS_CLIENT_ENTER_UNANSWERED, 0},
        {{"#c"}, "", Flags(0, 0, 1), kDone, {"wave"}, IDS_NO_SOUND_NAME, false},
        {{"Status"}, "d.wav", Flags(0, 0, 1), kDone, {"wave"}, IDS_CHANNEL_NOT_ACTIVE, false},
        // A title cut before its first space may hold only part of the channel's name.
        {{"#c", true}, "d.wav", Flags(0, 0, 0), kDone, {"wave"}, IDS_CHANNEL_NOT_ACTIVE, false},
        {{"#c topic", true}, "d.wav", Flags(0, 0, 0), kDone, {"wave", sent}, 0, false},
        // The client finds a file of a subfolder of its sounds folder by its bare name.
        {{"#c"}, "fun\\d.wav", Flags(0, 0, 0), kDone, {"wave", sent}, 0, false},
    };
    for (const auto& c : cases) {
        FakeClient client;
        client.active.value.name = c.title;
        client.typed = c.typed;
        const SendResult result =
            SendSound(client, c.file, c.stored, [](const auto&) { return std::nullopt; },
                      [](const std::string&) { return true; });
        EXPECT_EQ(c.log, client.log) << c.file << " " << c.title.text;
        EXPECT_EQ(c.message, result.notice.message) << c.title.text;
        EXPECT_EQ(c.closes, result.closeBrisa) << c.title.text;
    }
    // By its path outside the client's folder; a bare name two files have only if the user wants.
    FakeClient client;
    client.active.value.soundsFolder = "D:\\mIRC\\sounds";
    const auto namer = [](const std::optional<std::string>& folder) {
        return folder == "D:\\mIRC\\sounds" ? std::optional<std::string>("C:\\My Sounds")
                                            : std::nullopt;
    };
    Lines asked;
    const auto refuse = [&](const std::string& name) { return asked.push_back(name), false; };
    SendSound(client, "fun\\ding.wav", Flags(0, 0, 0), namer, refuse);
    EXPECT_EQ("/sound #chat \"C:\\My Sounds\\fun\\ding.wav\" ding.wav", client.log.back());
    client.active.value.soundsFolder = "C:\\WAV";
    EXPECT_EQ(0, SendSound(client, "fun\\ding.wav", Flags(0, 0, 0), namer, refuse).notice.message);
    EXPECT_EQ("wave", client.log.back());
    EXPECT_EQ(Lines{"ding.wav"}, asked);
    settings::Settings mirc = Flags(0, 0, 0);
    mirc.m_nClient = 1011;
    client.active.outcome = ClientOutcome::Refused;
    const Notice notice = SendSound(client, "ding.wav", mirc, namer, refuse).notice;
    EXPECT_EQ(IDS_CLIENT_REFUSED, notice.message);
    EXPECT_EQ(std::vector<std::string>{"mIRC"}, notice.args);
}

TEST(Commands, DccSendOffersTheFileOfTheFolderToTheNickname) {
    const auto kCannotCarry = ClientOutcome::CannotCarry;
    const int kCarry = IDS_CLIENT_CANNOT_CARRY;
    const struct {
        std::string nick, file;
        int fallBack;
        ClientOutcome typed;
        Lines log;
        int message;
    } cases[] = {
        {"Влад", "d.wav", 0, kDone, {"/dcc send Влад C:\\WAV\\d.wav"}, 0},
        {"bob", "a b.wav", 2, kCannotCarry, {"/dcc send bob \"C:\\WAV\\a b.wav\" +active"}, kCarry},
        {"", "d.wav", 0, kDone, {}, IDS_NO_NICKNAME},
        {"bob", "", 0, kDone, {}, IDS_NO_SOUND_NAME},
    };
    for (const auto& c : cases) {
        FakeClient client;
        client.typed = c.typed;
        const OfferResult result = OfferFile(client, c.nick, c.file, Flags(0, c.fallBack, 1));
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
        {{kDone, {{"@alice", "", "@", "%~&+@bob", "b@b"}}}, Lines{"alice", "", "bob", "b@b"}, 0},
        {{kDone, {{}}}, std::nullopt, 0},
        {{kDone, {{"a"}, EEnd::Cut}}, Lines{"a"}, IDS_NICKNAMES_CUT},
        {{kDone, {{"a"}, EEnd::Refused}}, Lines{"a"}, IDS_NICKNAMES_REFUSED},
        {{kDone, {{}, EEnd::NotAnswering}}, std::nullopt, IDS_NICKNAMES_UNANSWERED},
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
