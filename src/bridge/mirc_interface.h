// The interface that mIRC documents for other programs (its help, topic "SendMessage"): a line in
// a named file mapping, which the client's main window performs as if typed in the active
// window's edit box (WM_MCOMMAND) or evaluates, writing the result back (WM_MEVALUATE).
#pragma once
#include <windows.h>

#include <optional>
#include <string>

class CMircInterface {
public:
    enum class EAnswer {
        Done,
        Refused,      // the client answered that it did not do it
        NotAnswering, // not within the time allowed; the client may still read the mapping
        CannotCarry,  // the text does not fit the mapping, or the client's code page lacks a
                      // character of it: nothing was handed over
    };

    // A mapping of a free name, and the client's version, which tells whether it takes UTF-16.
    // nullopt, with *pAnswer saying why, when the client does not answer, refuses (it has no such
    // interface, or the user has turned it off) or no mapping can be made.
    static std::optional<CMircInterface> Open(HWND mainWindow, ULONGLONG deadline,
                                              EAnswer* pAnswer);
    CMircInterface(CMircInterface&& other) noexcept;
    CMircInterface& operator=(CMircInterface&& other) noexcept;
    // Closes the mapping, unless a message that the client has not answered may still read it.
    ~CMircInterface();

    // The value of identifiers such as "$active"; nullopt when the client refuses or does not
    // answer (*pAnswer says which).
    std::optional<std::string> Evaluate(const std::string& expression, ULONGLONG deadline,
                                        EAnswer* pAnswer);
    // Performs the line as if the user had typed it in the active window's edit box.
    EAnswer Perform(const std::string& line, ULONGLONG deadline);

private:
    CMircInterface(HWND mainWindow, HANDLE mapping, void* view, unsigned index);
    // Writes text into the mapping in the client's encoding; false when it cannot carry it.
    bool Put(const std::string& text) const;
    std::string Get() const;
    // Puts the text and sends the message that hands it over.
    EAnswer Exchange(UINT message, WPARAM method, const std::string& text, ULONGLONG deadline);

    HWND m_hWnd;
    HANDLE m_hMapping;
    void* m_pView;
    unsigned m_nIndex; // the N of the mapping's name "mIRCN"; 0 for "mIRC"
    bool m_bUnicode = false;
    // A message timed out: the client may read the mapping whenever it answers, so it keeps its
    // text, and its name, for the rest of the run.
    bool m_bReserved = false;
};
