#include "rules/client_session.h"

#include <cstdlib>

namespace {

constexpr Ticks kOperationMs = 3000;
// Nicknames asked for in one evaluation: even at 100 characters each, their answer fits the
// mapping.
constexpr long long kNicknamesAtOnce = 20;

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

// The words of an answer: nicknames hold no space.
std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find(' ', start), text.size());
        if (end > start)
            words.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

} // namespace

CClientSession::CClientSession(IClientWindows& windows, IMircLink* link, MircMemory* memory,
                               Ticks (*now)())
    : m_windows(windows), m_pMemory(memory), m_now(now), m_nDeadline(now() + kOperationMs) {
    if (!link)
        return;
    auto answer = CMircInterface::EAnswer::Refused;
    m_mirc = CMircInterface::Open(*link, *memory, m_nDeadline, &answer);
    m_bAnswers = m_mirc || (answer != CMircInterface::EAnswer::NotAnswering && !memory->unicode);
}

// One evaluation for both: a channel's name holds no space, so the folder is what follows the
// first one.
ClientAnswer<ActiveWindow> CClientSession::Active(const std::string& soundKind) {
    if (m_mirc) {
        auto answer = CMircInterface::EAnswer::Refused;
        const auto both =
            m_mirc->Evaluate("$active $sound(" + soundKind + ")", m_nDeadline, &answer);
        if (!both)
            return {FromAnswer(answer)};
        const std::size_t space = std::min(both->find(' '), both->size());
        return {ClientOutcome::Done,
                {{both->substr(0, space)}, both->substr(std::min(space + 1, both->size()))}};
    }
    if (!m_bAnswers)
        return {ClientOutcome::NotAnswering};
    const auto title = m_windows.ActiveTitle(m_nDeadline);
    return {title.outcome, {title.value, std::nullopt}};
}

ClientAnswer<ClientList> CClientSession::Nicknames() {
    if (m_mirc) {
        auto answer = CMircInterface::EAnswer::Refused;
        const auto count = m_mirc->Evaluate("$nick($active,0)", m_nDeadline, &answer);
        if (!count)
            return {FromAnswer(answer)};
        // Fewer words than asked for: the channel has lost some since the count.
        const auto readNicks = [&](long long first, long long wanted, ClientList& copy,
                                   long long* pRead) {
            std::string expression;
            for (long long n = first + 1; n <= first + wanted; ++n)
                expression += "$nick($active," + std::to_string(n) + ") ";
            const auto nicks = m_mirc->Evaluate(expression, kNoDeadline, &answer);
            if (!nicks)
                return answer == CMircInterface::EAnswer::Refused ? ClientList::EEnd::Refused
                                                                  : ClientList::EEnd::NotAnswering;
            const std::vector<std::string> words = Words(*nicks);
            copy.items.insert(copy.items.end(), words.begin(), words.end());
            *pRead = static_cast<long long>(words.size()) == wanted ? wanted : 0;
            return ClientList::EEnd::Whole;
        };
        return {ClientOutcome::Done, CopyClientList(std::strtoll(count->c_str(), nullptr, 10),
                                                    kNicknamesAtOnce, readNicks, m_now)};
    }
    if (!m_bAnswers)
        return {ClientOutcome::NotAnswering};
    return m_windows.NickList(m_nDeadline);
}

// The window to raise is the one the line went into, found before it went: the client may bring
// another to the top meanwhile.
ClientOutcome CClientSession::Type(const std::string& line, bool prompt, RaiseAfter raise) {
    ClientWindowId typedInto = 0;
    ClientOutcome outcome = ClientOutcome::NotAnswering;
    if (m_mirc) {
        if (raise == RaiseAfter::ActiveWindow)
            typedInto = m_windows.FindActive(m_nDeadline);
        const auto answer = m_mirc->Perform(prompt ? EditBoxCommand(line) : line, m_nDeadline);
        // Handed over, the line may still be performed when the client answers.
        outcome = answer == CMircInterface::EAnswer::NotAnswering ? ClientOutcome::EnterUnanswered
                                                                  : FromAnswer(answer);
    } else if (m_bAnswers) {
        outcome = m_windows.TypeLine(line, prompt, m_nDeadline, &typedInto);
    }
    if (outcome == ClientOutcome::Done && raise != RaiseAfter::Nothing)
        m_windows.Raise(raise == RaiseAfter::ActiveWindow ? typedInto : 0);
    return outcome;
}
