// The main form: the WAV directory's files and the buttons that act on them.
#pragma once
#include "bridge/irc_client.h"
#include "framework/dialog.h"
#include "settings/settings.h"

#include <optional>
#include <string>

namespace fw {
class CWinApp;
}

class CBrisaView : public fw::CFormView {
public:
    // Loads the settings from the application's profile.
    explicit CBrisaView(fw::CWinApp& app);

    void OnInitialUpdate() override;

protected:
    void DoDataExchange(fw::CDataExchange& dx) override;
    fw::CommandMap GetCommandMap() const override;

private:
    // Copies the settings from the profile, with the client's window class name they select.
    void LoadSettings();
    void RefreshList(int index);
    // Takes the selected entry as the file name; its path, or nullopt when none is selected.
    std::optional<std::string> TakeSelectedPath();
    void RemoveFile(const std::string& path);
    bool IsClientPresent() const;
    // Send and DCC, which need the client.
    void EnableClientButtons(bool enable) const;
    // Tells the user how an operation on the client ended, when it did not end well.
    bool Succeeded(ClientOutcome outcome) const;

    void OnPlay();
    void OnDelete();
    void OnOptions();
    void OnSend();
    void OnStop();
    void OnDblclkFileList();
    void OnSelchangeFileList();
    void OnChangeFileName();
    void OnRefresh();
    void OnDcc();
    void OnHelpButton();

    fw::CListBox m_listFiles;
    fw::CButton m_btnSend;
    fw::CButton m_btnDcc;
    std::string m_strFileName;
    settings::Settings m_settings;
    std::string m_strClientClass; // the window class of the client's top-level window
    fw::CWinApp* m_pApp;

    static const fw::CommandEntry s_commands[];
};
