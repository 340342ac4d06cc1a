#include "rules/mirc_protocol.h"

#include <cstdlib>

namespace {

constexpr unsigned kAsTyped = 1;
constexpr unsigned kUnicode = 8;
// Names "mIRC", "mIRC1", … "mIRC99".
constexpr unsigned kMappingNames = 100;

} // namespace

std::optional<CMircInterface> CMircInterface::Open(IMircLink& link, Ticks deadline,
                                                   EAnswer* pAnswer) {
    *pAnswer = EAnswer::Refused;
    for (unsigned index = 0; index < kMappingNames; ++index) {
        const IMircLink::EMapping mapping = link.MakeMapping(index);
        if (mapping == IMircLink::EMapping::InUse)
            continue;
        if (mapping == IMircLink::EMapping::Failed)
            return std::nullopt;
        CMircInterface mirc(link);
        const auto version = mirc.Evaluate("$version", deadline, pAnswer);
        // A window that answers with something else than a version has no such interface.
        const long major = version ? std::strtol(version->c_str(), nullptr, 10) : 0;
        if (major <= 0) {
            *pAnswer = *pAnswer == EAnswer::Done ? EAnswer::Refused : *pAnswer;
            return std::nullopt;
        }
        mirc.m_bUnicode = major >= 7;
        return mirc;
    }
    return std::nullopt;
}

std::optional<std::string> CMircInterface::Evaluate(const std::string& expression, Ticks deadline,
                                                    EAnswer* pAnswer) {
    *pAnswer = Exchange(true, m_bUnicode ? kUnicode : 0, expression, deadline);
    if (*pAnswer != EAnswer::Done)
        return std::nullopt;
    return m_pLink->Get(m_bUnicode);
}

CMircInterface::EAnswer CMircInterface::Perform(const std::string& line, Ticks deadline) {
    return Exchange(false, kAsTyped | (m_bUnicode ? kUnicode : 0), line, deadline);
}

CMircInterface::EAnswer CMircInterface::Exchange(bool evaluate, unsigned method,
                                                 const std::string& text, Ticks deadline) {
    if (m_bReserved)
        return EAnswer::NotAnswering;
    if (!m_pLink->Put(text, m_bUnicode))
        return EAnswer::CannotCarry;
    const auto answer = m_pLink->Send(evaluate, method, deadline);
    if (!answer) {
        m_bReserved = true;
        m_pLink->KeepForLateAnswer();
        return EAnswer::NotAnswering;
    }
    return *answer == 1 ? EAnswer::Done : EAnswer::Refused;
}
