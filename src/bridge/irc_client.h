// One operation's access to the running IRC client, by the best way that it offers: the interface
// that mIRC documents for other programs when the client answers it, else its windows. A
// transport: it answers with outcomes, and the window that started the operation tells the user.
#pragma once
#include "bridge/client_window.h"
#include "bridge/mirc_interface.h"

#include <optional>
#include <string>

namespace fw {
class CWinApp;
}

// Which client window comes to the top once a line is in.
enum class RaiseAfter { Nothing, MainWindow, ActiveWindow };

// What the client gave, when the outcome is Done.
template <class T> struct ClientAnswer {
    ClientOutcome outcome = ClientOutcome::Done;
    T value{};
};

class CIrcClient {
public:
    // Finds the running client of that window class and the way to reach it: the interface when
    // the client answers it, else its windows, for the whole operation. The operation's time
    // starts now.
    explicit CIrcClient(std::string className);

    bool IsPresent() const { return m_hTopLevel != nullptr; }

    // The name of the active window as the channel test takes it: its title, or its name through
    // the interface.
    ClientAnswer<ClientText> ActiveWindowName();
    // The client's sounds folder for a kind of sound ("wave", "midi", "mp3"), where it looks up a
    // /sound file given by name: nullopt through its windows, which cannot be asked, and "" when
    // the client refused to say.
    ClientAnswer<std::optional<std::string>> SoundsFolder(const std::string& kind);
    // The entries of the active channel's nickname list, copied within a time of their own.
    ClientAnswer<ClientList> Nicknames();
    // Types the line into the active window's edit line (see TypeCommandLine), in prompt mode
    // leaving it there for the user to finish; once it is there, raises what the caller asks for.
    ClientOutcome Type(const std::string& line, bool prompt, RaiseAfter raise);

private:
    // The client's windows down to depth, or how the client stands in the way.
    ClientAnswer<ClientWindows> Windows(ClientPath depth) const;
    ClientOutcome TypeLine(const std::string& line, bool prompt);
    HWND WindowToRaise(RaiseAfter raise) const;

    const std::string m_strClass;
    const ULONGLONG m_nDeadline;
    HWND m_hTopLevel = nullptr;
    std::optional<CMircInterface> m_mirc;
    bool m_bAnswers = true; // false once the client did not answer the interface's first question
};

// For the window that started an operation: tells the user, naming the client, how it ended when
// it did not end well; true when it did.
bool TellUnlessDone(fw::CWinApp& app, ClientOutcome outcome, const std::string& className);
