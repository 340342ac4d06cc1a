#include "rules/mirc_protocol.h"

#include <cstdlib>

namespace {

constexpr unsigned kAsTyped = 1;
constexpr unsigned kUnicode = 8;
// Names "mIRC", "mIRC1", … "mIRC99".
constexpr unsigned kMappingNames = 100;

} // namespace

std::optional<CMircInterface> CMircInterface::Open(IMircLink& link, MircMemory& memory,
                                                   Ticks deadline, EAnswer* pAnswer) {
    *pAnswer = EAnswer::Refused;
    if (memory.kept >= kMaxKeptMappings) {
        *pAnswer = EAnswer::NotAnswering;
        return std::nullopt;
    }
    for (unsigned index = 0; index < kMappingNames; ++index) {
        const IMircLink::EMapping mapping = link.MakeMapping(index);
        if (mapping == IMircLink::EMapping::InUse)
            continue;
        if (mapping == IMircLink::EMapping::Failed)
            return std::nullopt;
        CMircInterface mirc(link, memory);
        *pAnswer = EAnswer::Done;
        if (memory.unicode) // a version cannot change while its window lives
            return mirc;
        const auto version = mirc.Evaluate("$version", deadline, pAnswer);
        // A window that answers with something else than a version has no such interface.
        const long major = version ? std::strtol(version->c_str(), nullptr, 10) : 0;
        if (major <= 0) {
            *pAnswer = *pAnswer == EAnswer::Done ? EAnswer::Refused : *pAnswer;
            return std::nullopt;
        }
        memory.unicode = major >= 7;
        memory.version = *version;
        return mirc;
    }
    return std::nullopt;
}

std::optional<std::string> CMircInterface::Evaluate(const std::string& expression, Ticks deadline,
                                                    EAnswer* pAnswer) {
    const bool unicode = m_pMemory->unicode.value_or(false);
    *pAnswer = Exchange(true, unicode ? kUnicode : 0, expression, deadline);
    if (*pAnswer != EAnswer::Done)
        return std::nullopt;
    return m_pLink->Get(unicode);
}

CMircInterface::EAnswer CMircInterface::Perform(const std::string& line, Ticks deadline) {
    return Exchange(false, kAsTyped | (m_pMemory->unicode.value_or(false) ? kUnicode : 0), line,
                    deadline);
}

// The client handles the messages it is sent in their order: once one is answered, every
// mapping kept for an earlier one has been read.
CMircInterface::EAnswer CMircInterface::Exchange(bool evaluate, unsigned method,
                                                 const std::string& text, Ticks deadline) {
    if (m_bReserved)
        return EAnswer::NotAnswering;
    if (!m_pLink->Put(text, m_pMemory->unicode.value_or(false)))
        return EAnswer::CannotCarry;
    const auto answer = m_pLink->Send(evaluate, method, deadline);
    if (!answer) {
        m_bReserved = true;
        m_pLink->KeepForLateAnswer();
        ++m_pMemory->kept;
        return EAnswer::NotAnswering;
    }
    if (m_pMemory->kept) {
        m_pLink->ReleaseKept();
        m_pMemory->kept = 0;
    }
    return *answer == 1 ? EAnswer::Done : EAnswer::Refused;
}
