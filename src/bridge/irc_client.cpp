#include "bridge/irc_client.h"

#include "framework/app.h"
#include "framework/text.h"

#include <cwchar>

namespace {

// The two classes of mIRC, the 32-bit client of the late 1990s and today's.
bool CanHaveTheInterface(const std::string& className) {
    return className == "mIRC32" || className == "mIRC";
}

// The client's command that fills the active window's edit box without entering it; -p appends
// the space that the client's parser would take off the line's end.
std::string EditBoxCommand(const std::string& line) {
    const bool spaceAtEnd = !line.empty() && line.back() == ' ';
    return (spaceAtEnd ? "/editbox -ap " : "/editbox -a ") +
           line.substr(0, line.size() - spaceAtEnd);
}

} // namespace

CIrcClient::CIrcClient(std::string className, bool withNickList)
    : m_strClass(std::move(className)), m_bWithNickList(withNickList),
      m_hTopLevel(FindClientWindow(m_strClass)) {
    auto answer = CMircInterface::EAnswer::Refused;
    if (m_hTopLevel && CanHaveTheInterface(m_strClass))
        m_mirc = CMircInterface::Open(m_hTopLevel, &answer);
    if (m_hTopLevel && !m_mirc)
        FallBackToWindows(answer);
}

bool CIrcClient::LocateWindows() {
    m_windows = LocateClientWindows(m_hTopLevel, m_bWithNickList ? ClientPath::ToNickList
                                                                 : ClientPath::ToEditLine);
    if (!m_windows)
        m_reachable = ClientOutcome::NoEditLine;
    return m_windows.has_value();
}

// A client that refuses the interface (its user has locked other programs out) is reached
// through its windows instead; one that does not answer is not reached at all.
bool CIrcClient::FallBackToWindows(CMircInterface::EAnswer answer) {
    m_mirc.reset();
    if (answer == CMircInterface::EAnswer::NotAnswering) {
        m_reachable = ClientOutcome::NotAnswering;
        return false;
    }
    return LocateWindows();
}

HWND CIrcClient::ActiveWindow() {
    if (!m_windows)
        m_windows = LocateClientWindows(m_hTopLevel, ClientPath::ToEditLine);
    return m_windows ? m_windows->active : m_hTopLevel;
}

std::optional<ClientText> CIrcClient::ActiveWindowName() {
    if (m_reachable != ClientOutcome::Done)
        return std::nullopt;
    if (m_mirc) {
        auto answer = CMircInterface::EAnswer::Refused;
        if (const auto name = m_mirc->Evaluate("$active", &answer))
            return ClientText{*name, fw::Narrow(*name)};
        if (!FallBackToWindows(answer))
            return std::nullopt;
    }
    return Answered(ReadClientWindowText(m_windows->active));
}

std::optional<ClientList> CIrcClient::Nicknames() {
    if (m_reachable != ClientOutcome::Done)
        return std::nullopt;
    if (m_mirc) {
        auto answer = CMircInterface::EAnswer::Refused;
        const auto count = m_mirc->Evaluate("$nick($active,0)", &answer);
        if (count) {
            const auto readNick = [&](long long index, ClientList& copy) {
                const auto nick =
                    m_mirc->Evaluate("$nick($active," + std::to_string(index + 1) + ")", &answer);
                if (nick)
                    copy.items.push_back(fw::Narrow(*nick));
                return nick.has_value();
            };
            return Answered(CopyClientList(std::wcstoll(count->c_str(), nullptr, 10), readNick));
        }
        if (!FallBackToWindows(answer))
            return std::nullopt;
    }
    return Answered(ReadClientList(m_windows->nickList));
}

ClientOutcome CIrcClient::Type(const std::string& line, bool prompt, HWND raise, bool fallBack) {
    const ClientOutcome outcome = TypeLine(line, prompt);
    if (outcome == ClientOutcome::Done && (prompt || fallBack))
        RaiseWithoutWaiting(raise);
    return outcome;
}

ClientOutcome CIrcClient::TypeLine(const std::string& line, bool prompt) {
    if (m_reachable != ClientOutcome::Done)
        return m_reachable;
    if (m_mirc) {
        switch (m_mirc->Perform(prompt ? EditBoxCommand(line) : line)) {
        case CMircInterface::EAnswer::Done:
            return ClientOutcome::Done;
        case CMircInterface::EAnswer::NotAnswering:
            // The line was handed over; the client may still perform it.
            return ClientOutcome::EnterUnanswered;
        case CMircInterface::EAnswer::Refused:
            if (!FallBackToWindows(CMircInterface::EAnswer::Refused))
                return m_reachable;
        }
    }
    return TypeCommandLine(m_windows->editLine, line, prompt);
}

void CIrcClient::Report(ClientOutcome outcome) const {
    std::string message;
    switch (outcome) {
    case ClientOutcome::NotAnswering:
        message = "The IRC client does not answer. Nothing more was typed into it.";
        break;
    case ClientOutcome::EnterUnanswered:
        message = "The IRC client does not answer. The line was typed into it and may still be "
                  "entered when the client answers again.";
        break;
    case ClientOutcome::NoEditLine:
        message = "Brisa cannot find the command line of the IRC client (" + m_strClass +
                  "): its windows are not laid out as Brisa knows them. Nothing was typed.";
        break;
    case ClientOutcome::Done:
        return;
    }
    fw::GetApp()->DoMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
}
