// The Options dialog: the one place where the user edits the settings, and their only writer.
#pragma once
#include "framework/dialog.h"
#include "rules/settings.h"

namespace fw {
class CWinApp;
}

class COptionsDlg : public fw::CDialog {
public:
    // Reads the six settings from the application's profile; the view's copy is left alone.
    explicit COptionsDlg(fw::CWinApp& app, HWND parent = nullptr);

protected:
    fw::CommandMap GetCommandMap() const override;
    void DoDataExchange(fw::CDataExchange& dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    void CheckClientRadio() const;

    void OnBrowse();
    void OnPromptForTag();
    void OnRadioClient(UINT id);
    void OnCloseOnSend();

    fw::CButton m_btnFallBack;
    fw::CEdit m_editTagText;
    settings::Settings m_settings;
    fw::CWinApp* m_pApp;

    static const fw::CommandEntry s_commands[];
};
