#include "rules/client_session.h"

#include <cstdlib>

namespace {

constexpr Ticks kOperationMs = 3000;

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

CClientSession::CClientSession(IClientWindows& windows, IMircLink* link, Ticks (*now)())
    : m_windows(windows), m_now(now), m_nDeadline(now() + kOperationMs) {
    if (!link)
        return;
    auto answer = CMircInterface::EAnswer::Refused;
    m_mirc = CMircInterface::Open(*link, m_nDeadline, &answer);
    m_bAnswers = answer != CMircInterface::EAnswer::NotAnswering;
}

ClientAnswer<ClientText> CClientSession::ActiveWindowName() {
    if (m_mirc) {
        auto answer = CMircInterface::EAnswer::Refused;
        const auto name = m_mirc->Evaluate("$active", m_nDeadline, &answer);
        return {FromAnswer(answer), {name.value_or("")}};
    }
    if (!m_bAnswers)
        return {ClientOutcome::NotAnswering};
    return m_windows.ActiveTitle(m_nDeadline);
}

ClientAnswer<std::optional<std::string>> CClientSession::SoundsFolder(const std::string& kind) {
    if (!m_mirc)
        return {};
    auto answer = CMircInterface::EAnswer::Refused;
    const auto folder = m_mirc->Evaluate("$sound(" + kind + ")", m_nDeadline, &answer);
    if (answer == CMircInterface::EAnswer::NotAnswering)
        return {ClientOutcome::NotAnswering};
    return {ClientOutcome::Done, folder.value_or("")};
}

ClientAnswer<ClientList> CClientSession::Nicknames() {
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
                CopyClientList(std::strtoll(count->c_str(), nullptr, 10), readNick, m_now)};
    }
    if (!m_bAnswers)
        return {ClientOutcome::NotAnswering};
    return m_windows.NickList(m_nDeadline);
}

ClientOutcome CClientSession::Type(const std::string& line, bool prompt, RaiseAfter raise) {
    const ClientOutcome outcome = TypeLine(line, prompt);
    if (outcome == ClientOutcome::Done && raise != RaiseAfter::Nothing)
        m_windows.Raise(raise, m_nDeadline);
    return outcome;
}

ClientOutcome CClientSession::TypeLine(const std::string& line, bool prompt) {
    if (m_mirc) {
        const auto answer = m_mirc->Perform(prompt ? EditBoxCommand(line) : line, m_nDeadline);
        // Handed over, the line may still be performed when the client answers.
        return answer == CMircInterface::EAnswer::NotAnswering ? ClientOutcome::EnterUnanswered
                                                               : FromAnswer(answer);
    }
    if (!m_bAnswers)
        return ClientOutcome::NotAnswering;
    return m_windows.TypeLine(line, prompt, m_nDeadline);
}
