// The DCC Send dialog: offers the current file to a nickname copied from the client's channel.
#pragma once
#include "bridge/irc_client.h"
#include "framework/dialog.h"
#include "rules/settings.h"

#include <string>

namespace fw {
class CWinApp;
}

class CDccSendDlg : public fw::CDialog {
public:
    // Offers fileName, a name in the WAV directory, through the client the settings choose.
    CDccSendDlg(fw::CWinApp& app, CClientRegistry& clients, const settings::Settings& settings,
                std::string strFileName, HWND parent = nullptr);

protected:
    fw::CommandMap GetCommandMap() const override;
    void DoDataExchange(fw::CDataExchange& dx) override;
    BOOL OnInitDialog() override;

private:
    // Replaces the list with the client's nicknames, less their status marks, and selects the
    // first; leaves it as it is when the client is absent, unreachable or lists nobody.
    void ImportNickList();
    bool IsClientPresent() const;

    void OnRefresh();
    void DccSendFile();
    void OnDblclkNickList();
    void OnChangeNick();
    void OnSelchangeNickList();

    fw::CButton m_btnSend;
    fw::CListBox m_listNicks;
    std::string m_strNick;
    const settings::Settings m_settings;
    const std::string m_strFileName;
    fw::CWinApp* m_pApp;
    CClientRegistry& m_clients;

    static const fw::CommandEntry s_commands[];
};
