// The interface that mIRC documents for other programs (its help, topic "SendMessage"): a line in
// a named file mapping, which the client's main window performs as if typed in the active
// window's edit box (WM_MCOMMAND) or evaluates, writing the result back (WM_MEVALUATE). This is
// its protocol; the platform's half is an IMircLink.
#pragma once
#include "rules/client.h"

#include <optional>
#include <string>

// What Brisa remembers of one client's interface from one operation to the next.
struct MircMemory {
    // Whether it reads UTF-16 (version 7 and later) or its ANSI code page, once it has answered
    // its version; from then on the interface is the only way into that client.
    std::optional<bool> unicode;
    // Mappings kept for messages that went unanswered, until a later message is answered.
    unsigned kept = 0;
    // The version the client told, for the user to see.
    std::string version;
};

// Held beyond this many for late answers, mappings would be taken from other programs for good:
// a client that leaves so many unanswered does not answer.
inline constexpr unsigned kMaxKeptMappings = 8;

class IMircLink {
public:
    enum class EMapping { Made, InUse, Failed };
    // Makes the mapping named "mIRC" (index 0) or "mIRC<index>", used from now on; InUse when
    // that name is taken.
    virtual EMapping MakeMapping(unsigned index) = 0;
    // Writes the text, with its end, into the mapping: in UTF-16 or in the system's ANSI code
    // page. False, writing nothing, when the mapping cannot carry it: the code page lacks one of
    // its characters (which must not become a look-alike), or it is too long.
    virtual bool Put(const std::string& text, bool unicode) = 0;
    // The text the client wrote back into the mapping.
    virtual std::string Get(bool unicode) const = 0;
    // Sends the client's main window the message that hands the mapping over (WM_MEVALUATE or
    // WM_MCOMMAND), with the method and the mapping's index: the client's answer, or nullopt when
    // it did not answer by the deadline.
    virtual std::optional<long long> Send(bool evaluate, unsigned method, Ticks deadline) = 0;
    // The mapping in use may still be read by a message that went unanswered: it keeps its name
    // and its text.
    virtual void KeepForLateAnswer() = 0;
    // Closes the mappings kept for late answers, which have all been read by now.
    virtual void ReleaseKept() = 0;

protected:
    ~IMircLink() = default;
};

class CMircInterface {
public:
    enum class EAnswer {
        Done,
        Refused,      // the client answered that it did not do it
        NotAnswering, // not within the time allowed; the client may still read the mapping
        CannotCarry,  // the mapping cannot carry the text: nothing was handed over
    };

    // Takes the first mapping name that no other program holds and, unless the client has told it
    // before, asks the client's version, which tells whether it takes UTF-16. nullopt, with
    // *pAnswer saying why, when the client does not answer (or has left too many messages
    // unanswered), refuses (it has no such interface, or its user has turned it off) or no
    // mapping can be made.
    static std::optional<CMircInterface> Open(IMircLink& link, MircMemory& memory, Ticks deadline,
                                              EAnswer* pAnswer);

    // The value of identifiers such as "$active"; nullopt when the client refuses or does not
    // answer (*pAnswer says which).
    std::optional<std::string> Evaluate(const std::string& expression, Ticks deadline,
                                        EAnswer* pAnswer);
    // Performs the line as if the user had typed it in the active window's edit box.
    EAnswer Perform(const std::string& line, Ticks deadline);

private:
    CMircInterface(IMircLink& link, MircMemory& memory) : m_pLink(&link), m_pMemory(&memory) {}
    EAnswer Exchange(bool evaluate, unsigned method, const std::string& text, Ticks deadline);

    IMircLink* m_pLink;
    MircMemory* m_pMemory;
    // A message went unanswered: the mapping stays the client's, and nothing more is handed over.
    bool m_bReserved = false;
};
