// The main form: the WAV directory's files and the buttons that act on them.
#pragma once
#include "framework/dialog.h"

#include <memory>
#include <string>

class CBrisaApp;

class CBrisaView : public fw::CFormView {
public:
    CBrisaView();
    static std::unique_ptr<fw::CFormView> CreateObject() { return std::make_unique<CBrisaView>(); }

    void OnInitialUpdate() override;
    // Copies the settings from the profile into the view and the application object.
    void LoadSettings();

protected:
    void DoDataExchange(fw::CDataExchange& dx) override;
    fw::CommandMap GetCommandMap() const override;

private:
    void RefreshList(int index);
    void RemoveFile(const std::string& path);
    // Present: enables Send and DCC and returns true. Absent: disables them when asked to.
    bool UpdateClientButtons(bool disableWhenAbsent);
    void ReadSelectedFileName();

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
    std::string m_strWavDir;
    std::string m_strTagText;
    int m_bTagPrompt = 0;
    CBrisaApp* m_pApp;

    static const fw::CommandEntry s_commands[];
};
