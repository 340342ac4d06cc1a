// The DCC Send dialog: offers the current file to a nickname copied from the client's channel.
#pragma once
#include "bridge/irc_client.h"
#include "framework/dialog.h"

#include <string>

namespace fw {
class CWinApp;
}

class CDccSendDlg : public fw::CDialog {
public:
    // Offers fileName, a name in the WAV directory, through the client of that window class.
    CDccSendDlg(fw::CWinApp& app, std::string strClientClass, bool bFallBack,
                std::string strFileName, HWND parent = nullptr);

protected:
    fw::CommandMap GetCommandMap() const override;
    void DoDataExchange(fw::CDataExchange& dx) override;
    BOOL OnInitDialog() override;

private:
    // Replaces the list with the client's nicknames, less one leading '@', and selects the first;
    // leaves it as it is when the client is absent, unreachable or lists nobody.
    void ImportNickList();
    // Tells the user how an operation on the client ended, when it did not end well.
    bool Succeeded(ClientOutcome outcome) const;

    void OnRefresh();
    void DccSendFile();
    void OnDblclkNickList();
    void OnChangeNick();
    void OnSelchangeNickList();

    fw::CButton m_btnSend;
    fw::CListBox m_listNicks;
    std::string m_strNick;
    const std::string m_strClientClass;
    const bool m_bFallBack;
    const std::string m_strFileName;
    fw::CWinApp* m_pApp;

    static const fw::CommandEntry s_commands[];
};
