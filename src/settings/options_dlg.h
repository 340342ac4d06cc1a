// The Options dialog: the one place where the user edits the settings, and their only writer.
#pragma once
#include "framework/dialog.h"

#include <string>

class COptionsDlg : public fw::CDialog {
public:
    // Reads the six settings from the profile; the view's and the application's copies are
    // left alone.
    explicit COptionsDlg(HWND parent = nullptr);

protected:
    fw::CommandMap GetCommandMap() const override;
    void DoDataExchange(fw::CDataExchange& dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    void OnPromptForTag();
    void OnRadioMirc();
    void OnRadioMirc32();
    void OnRadioPirch();
    void OnCloseOnSend();

    fw::CButton m_btnFallBack;
    fw::CEdit m_editTagText;
    std::string m_strTagText;
    std::string m_strWavDir;
    int m_bFallBack;
    int m_bTagPrompt;
    int m_bSendClose;
    int m_nClient;

    static const fw::CommandEntry s_commands[];
};
