// A run of Brisa.exe in a case folder of its own, and what the tests read from and do to it.
#pragma once
#include "driver.h"
#include "imitation_client.h"
#include "resource.h"

#include <optional>
#include <utility>

// A copy of Brisa.exe in a fresh folder under the temp folder, with its Brisa.INI and the
// recording winmm.dll beside it. The destructor ends Brisa and deletes the folder.
class CBrisaCase {
public:
    static constexpr const char* kMainCaption = "Brisa Server - Brisa";
    static constexpr const char* kOptionsCaption = "Brisa - Options";
    static constexpr const char* kDccCaption = "Brisa - DCC Send";

    // strIni becomes Brisa.INI beside the copy, which makes Brisa keep its settings there;
    // std::nullopt writes none, so Brisa looks for them under %APPDATA% (see SetEnv).
    explicit CBrisaCase(const std::optional<std::string>& strIni = std::string());
    ~CBrisaCase();
    CBrisaCase(const CBrisaCase&) = delete;
    CBrisaCase& operator=(const CBrisaCase&) = delete;

    const std::string& Dir() const { return m_strDir; }
    std::string PathOf(const std::string& strName) const { return m_strDir + "\\" + strName; }
    // Creates PathOf(strName), or adds to it, with a small file of each name; returns its path.
    std::string MakeDir(const std::string& strName,
                        const std::vector<std::string>& listFiles = {}) const;
    void WriteIni(const std::string& strText) const { WriteFileText(PathOf("Brisa.INI"), strText); }
    void WriteOptions(const std::string& strLines) const { WriteIni("[Options]\r\n" + strLines); }
    // Brisa.INI naming strDir as the WAV folder, then strMoreOptions.
    void WriteWavDir(const std::string& strDir, const std::string& strMoreOptions = "") const {
        WriteOptions("WAVDir=" + strDir + "\r\n" + strMoreOptions);
    }
    // A folder "wav" with ding.wav and other.wav, made and written as above.
    std::string UseWavDir(const std::string& strMoreOptions = "") const;
    std::string IniText() const { return ReadFileText(PathOf("Brisa.INI")); }
    // One "<flags>|<name>" or "<flags>|(null)" per sndPlaySoundA call, flags in decimal.
    std::vector<std::string> SoundCalls() const;
    std::string LastSound() const; // "" before the first
    // An environment variable for Brisa's next Start, for example APPDATA.
    void SetEnv(const std::string& strName, const std::string& strValue) {
        m_listEnv.emplace_back(strName, strValue);
    }

    // Starts Brisa and waits for its main window; false (with the reason on stderr) otherwise.
    bool Start();
    HWND MainWindow() const { return m_hwndMain; }
    DWORD ProcessId() const { return m_nProcessId; }
    bool ProcessExited(DWORD timeoutMs = kWaitMs) const;
    // Closes Brisa with WM_CLOSE, or ends it when it does not close.
    void Stop();

    HWND Item(int nId) const { return FindControl(m_hwndMain, nId); } // on the main form
    std::string FileName() const { return ReadWindowText(Item(IDC_FILE_NAME)); }
    std::vector<std::string> Files() const { return ReadListItems(Item(IDC_FILE_LIST)); }
    int Selection() const { return ListSelection(Item(IDC_FILE_LIST)); }
    // How many of Send and DCC are enabled: both follow whether the client is found.
    int EnabledClientButtons() const {
        return IsEnabled(Item(IDC_SEND)) + IsEnabled(Item(IDC_DCC));
    }
    void TypeFileName(const std::string& strText) const {
        ReplaceText(Item(IDC_FILE_NAME), strText);
    }
    // Returns once Brisa has handled everything posted to it so far.
    bool Sync() const;
    bool Press(int nId) const { return Click(Item(nId)) && Sync(); }
    bool Select(int nIndex) const { return SelectListItem(Item(IDC_FILE_LIST), nIndex) && Sync(); }
    // Clicks the main form's button and waits for the dialog it opens, which becomes Dialog().
    bool OpenDialog(int nButton, const std::string& strCaption);
    bool WaitDialog(const std::string& strCaption); // for one that opens otherwise
    HWND Dialog() const { return m_hwndDialog; }
    HWND DialogItem(int nId) const { return GetDlgItem(m_hwndDialog, nId); }
    bool CloseDialog(int nButton) const { return ::CloseDialog(m_hwndDialog, nButton); }
    // Opens the Options dialog and closes it with that button; the view then reads the settings.
    bool PassOptions(int nButton);
    CMessageBox WaitMessageBox(const std::string& strCaption = "") const {
        return ::WaitMessageBox(m_nProcessId, strCaption);
    }
    // Waits for a message box and presses that button: the box's text, "" when there was none.
    std::string AnswerMessageBox(int nButton, const std::string& strCaption = "") const;
    bool NoMessageBox() const { return !FindMessageBox(m_nProcessId).m_hwnd; }

private:
    std::string m_strDir;
    std::vector<std::pair<std::string, std::string>> m_listEnv;
    HANDLE m_hProcess = nullptr;
    DWORD m_nProcessId = 0;
    HWND m_hwndMain = nullptr;
    HWND m_hwndDialog = nullptr;
};

bool WaitEntered(const CImitationClient& client, size_t nLines); // at least that many lines
// The line the client entered at that index, once it has; "(none)" when it does not come.
std::string WaitEnteredLine(const CImitationClient& client, size_t nIndex);
// The key=value lines of the [Options] section, in file order.
std::vector<std::string> OptionsLines(const std::string& strIni);
bool HasOption(const std::string& strIni, const std::string& strLine);
