// What Brisa asks of the running IRC client and what it gets back, whichever way it reaches the
// client. Portable: the commands are decided against IClient, which a test fakes in a few lines.
#pragma once
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Milliseconds of the system's tick count.
using Ticks = std::uint64_t;
// For a message that may take its whole time, whatever the operation's deadline.
inline constexpr Ticks kNoDeadline = ~Ticks{0};

// How an operation on the client ended.
enum class ClientOutcome {
    Done,
    NotAnswering,    // before a line was complete: nothing more was typed
    EnterUnanswered, // the line was handed over; the client may still enter it
    NoEditLine,      // its windows are laid out otherwise: nothing was typed
    Refused,         // it refused what its interface was asked: nothing more was typed
    CannotCarry,     // its code page lacks a character of the line, or the line is too long
};

// A text read from the client.
struct ClientText {
    std::string text;
    bool cut = false; // longer than Brisa reads: only its beginning is here
};

// The entries of the client's list that could be read, and why the copy ended.
struct ClientList {
    enum class EEnd { Whole, Cut, Refused, NotAnswering };
    std::vector<std::string> items;
    EEnd end = EEnd::Whole; // Cut: its length, an entry's length or the time allowed cut it short
};

// What the client gave, when the outcome is Done.
template <class T> struct ClientAnswer {
    ClientOutcome outcome = ClientOutcome::Done;
    T value{};
};

// Which client window comes to the top once a line is in.
enum class RaiseAfter { Nothing, MainWindow, ActiveWindow };

// The client's active window, as Send needs to know it.
struct ActiveWindow {
    // Its title, or its name through the interface: what the channel test takes.
    ClientText name;
    // The client's sounds folder for the kind of sound asked for, where it looks up a /sound file
    // given by name: nullopt when the client cannot be asked, "" when it does not say.
    std::optional<std::string> soundsFolder;
};

// One operation's access to the running client.
class IClient {
public:
    // The active window, with the sounds folder for a kind of sound ("wave", "midi", "mp3").
    virtual ClientAnswer<ActiveWindow> Active(const std::string& soundKind) = 0;
    // The entries of the active channel's nickname list.
    virtual ClientAnswer<ClientList> Nicknames() = 0;
    // Types the line into the active window's edit line and presses Enter there, or in prompt
    // mode leaves it for the user to finish; once it is there, raises what the caller asks for.
    virtual ClientOutcome Type(const std::string& line, bool prompt, RaiseAfter raise) = 0;

protected:
    ~IClient() = default;
};

// A channel's nicknames are copied within these bounds, whatever the client answers.
inline constexpr long long kMaxListEntries = 10000;
inline constexpr Ticks kMaxListCopyMs = 5000;

// Copies up to count entries, index 0 on, up to `batch` at a time, within the caps on their
// number and the time, and ends early where the client refuses or does not answer, keeping what
// was read: each readEntries(first, wanted, copy, &read) adds entries to the copy (or marks the
// copy cut), tells how many of the wanted ones it read, and answers Whole, or says how the copy
// ends; none read ends it. The time is looked at between reads: each message may take its own time.
template <class ReadEntries>
ClientList CopyClientList(long long count, long long batch, ReadEntries readEntries,
                          Ticks (*now)()) {
    ClientList copy;
    copy.end = count > kMaxListEntries ? ClientList::EEnd::Cut : ClientList::EEnd::Whole;
    const long long wanted = count < kMaxListEntries ? count : kMaxListEntries;
    const Ticks deadline = now() + kMaxListCopyMs;
    for (long long index = 0, read = 1; index < wanted && read > 0; index += read) {
        read = 0;
        const auto end = now() > deadline
                             ? ClientList::EEnd::Cut
                             : readEntries(index, std::min(batch, wanted - index), copy, &read);
        if (end != ClientList::EEnd::Whole) {
            copy.end = end;
            break;
        }
    }
    return copy;
}
