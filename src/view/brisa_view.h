// The main form: the WAV directory's files and the buttons that act on them.
#pragma once
#include "framework/dialog.h"
#include "settings/settings.h"

#include <string>

class CBrisaApp;

class CBrisaView : public fw::CFormView {
public:
    // Loads the settings from the application's profile.
    explicit CBrisaView(CBrisaApp& app);

    void OnInitialUpdate() override;

protected:
    void DoDataExchange(fw::CDataExchange& dx) override;
    fw::CommandMap GetCommandMap() const override;

private:
    // Copies the settings from the profile, with the client's window class name they select.
    void LoadSettings();
    void RefreshList(int index);
    void RemoveFile(const std::string& path);
    // Present: enables Send and DCC and returns true. Absent: disables them when asked to.
    bool UpdateClientButtons(bool disableWhenAbsent);

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
    const std::string m_strFilter = "*.WAV";
    std::string m_strFullPath;
    settings::Settings m_settings;
    std::string m_strClientClass; // the window class of the client's top-level window
    CBrisaApp* m_pApp;

    static const fw::CommandEntry s_commands[];
};
