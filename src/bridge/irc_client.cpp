#include "bridge/irc_client.h"

#include "framework/app.h"
#include "framework/text.h"
#include "resource.h"

#include <cstdlib>

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

ClientOutcome FromAnswer(CMircInterface::EAnswer answer) {
    switch (answer) {
    case CMircInterface::EAnswer::Done:
        return ClientOutcome::Done;
    case CMircInterface::EAnswer::Refused:
        return ClientOutcome::Refused;
    case CMircInterface::EAnswer::NotAnswering:
        return ClientOutcome::NotAnswering;
    case CMircInterface::EAnswer::CannotCarry:
        break;
    }
    return ClientOutcome::CannotCarry;
}

} // namespace

CIrcClient::CIrcClient(std::string className)
    : m_strClass(std::move(className)), m_nDeadline(OperationDeadline()),
      m_hTopLevel(FindClientWindow(m_strClass)) {
    if (!m_hTopLevel || !CanHaveTheInterface(m_strClass))
        return;
    // A client that refuses the interface (its user has locked other programs out) is reached
    // through its windows instead; once it has answered, the interface is the only way in.
    auto answer = CMircInterface::EAnswer::Refused;
    m_mirc = CMircInterface::Open(m_hTopLevel, m_nDeadline, &answer);
    m_bAnswers = answer != CMircInterface::EAnswer::NotAnswering;
}

ClientAnswer<ClientWindows> CIrcClient::Windows(ClientPath depth) const {
    if (!m_bAnswers)
        return {ClientOutcome::NotAnswering};
    const auto windows = LocateClientWindows(m_hTopLevel, depth, m_nDeadline);
    if (!windows)
        return {ClientOutcome::NoEditLine};
    return {ClientOutcome::Done, *windows};
}

ClientAnswer<ClientText> CIrcClient::ActiveWindowName() {
    if (m_mirc) {
        auto answer = CMircInterface::EAnswer::Refused;
        const auto name = m_mirc->Evaluate("$active", m_nDeadline, &answer);
        return {FromAnswer(answer), {name.value_or("")}};
    }
    const auto windows = Windows(ClientPath::ToEditLine);
    if (windows.outcome != ClientOutcome::Done)
        return {windows.outcome};
    const auto title = ReadClientWindowText(windows.value.active, m_nDeadline);
    if (!title)
        return {ClientOutcome::NotAnswering};
    return {ClientOutcome::Done, *title};
}

ClientAnswer<std::optional<std::string>> CIrcClient::SoundsFolder(const std::string& kind) {
    if (!m_mirc)
        return {};
    auto answer = CMircInterface::EAnswer::Refused;
    const auto folder = m_mirc->Evaluate("$sound(" + kind + ")", m_nDeadline, &answer);
    if (answer == CMircInterface::EAnswer::NotAnswering)
        return {ClientOutcome::NotAnswering};
    return {ClientOutcome::Done, folder.value_or("")};
}

ClientAnswer<ClientList> CIrcClient::Nicknames() {
    if (m_mirc) {
        auto answer = CMircInterface::EAnswer::Refused;
        const auto count = m_mirc->Evaluate("$nick($active,0)", m_nDeadline, &answer);
        if (!count)
            return {FromAnswer(answer)};
        const auto readNick = [&](long long index, ClientList& copy) {
            const auto nick = m_mirc->Evaluate("$nick($active," + std::to_string(index + 1) + ")",
                                               kNoDeadline, &answer);
            if (nick)
                copy.items.push_back(*nick);
            return answer == CMircInterface::EAnswer::Refused ? ClientList::EEnd::Refused
                   : nick                                     ? ClientList::EEnd::Whole
                                                              : ClientList::EEnd::NotAnswering;
        };
        return {ClientOutcome::Done,
                CopyClientList(std::strtoll(count->c_str(), nullptr, 10), readNick)};
    }
    const auto windows = Windows(ClientPath::ToNickList);
    if (windows.outcome != ClientOutcome::Done)
        return {windows.outcome};
    const auto list = ReadClientList(windows.value.nickList, m_nDeadline);
    if (!list)
        return {ClientOutcome::NotAnswering};
    return {ClientOutcome::Done, *list};
}

ClientOutcome CIrcClient::Type(const std::string& line, bool prompt, RaiseAfter raise) {
    const ClientOutcome outcome = TypeLine(line, prompt);
    if (outcome == ClientOutcome::Done && raise != RaiseAfter::Nothing)
        RaiseWithoutWaiting(WindowToRaise(raise));
    return outcome;
}

ClientOutcome CIrcClient::TypeLine(const std::string& line, bool prompt) {
    if (m_mirc) {
        const auto answer = m_mirc->Perform(prompt ? EditBoxCommand(line) : line, m_nDeadline);
        // Handed over, the line may still be performed when the client answers.
        return answer == CMircInterface::EAnswer::NotAnswering ? ClientOutcome::EnterUnanswered
                                                               : FromAnswer(answer);
    }
    const auto windows = Windows(ClientPath::ToEditLine);
    if (windows.outcome != ClientOutcome::Done)
        return windows.outcome;
    return TypeCommandLine(windows.value.editLine, line, prompt, m_nDeadline);
}

// The active window is found by the client's windows even when the interface took the line; the
// main window stands in for it when it cannot be.
HWND CIrcClient::WindowToRaise(RaiseAfter raise) const {
    if (raise == RaiseAfter::ActiveWindow) {
        if (const auto windows =
                LocateClientWindows(m_hTopLevel, ClientPath::ToEditLine, m_nDeadline))
            return windows->active;
    }
    return m_hTopLevel;
}

namespace {

std::string OutcomeMessage(const fw::CWinApp& app, ClientOutcome outcome,
                           const std::string& className) {
    switch (outcome) {
    case ClientOutcome::NotAnswering:
        return app.LoadString(IDS_CLIENT_NOT_ANSWERING);
    case ClientOutcome::EnterUnanswered:
        return app.LoadString(IDS_CLIENT_ENTER_UNANSWERED);
    case ClientOutcome::NoEditLine:
        return fw::FormatText(app.LoadString(IDS_CLIENT_NO_EDIT_LINE), {className});
    case ClientOutcome::Refused:
        return fw::FormatText(app.LoadString(IDS_CLIENT_REFUSED), {className});
    case ClientOutcome::CannotCarry:
        return fw::FormatText(app.LoadString(IDS_CLIENT_CANNOT_CARRY), {className});
    case ClientOutcome::Done:
        break;
    }
    return {};
}

} // namespace

bool TellUnlessDone(fw::CWinApp& app, ClientOutcome outcome, const std::string& className) {
    if (outcome == ClientOutcome::Done)
        return true;
    app.DoMessageBox(OutcomeMessage(app, outcome, className), MB_OK | MB_ICONEXCLAMATION);
    return false;
}
