// The Options dialog: the one place where the user edits the settings, and their only writer.
#pragma once
#include "framework/dialog.h"
#include "settings/settings.h"

class CBrisaApp;

class COptionsDlg : public fw::CDialog {
public:
    // Reads the six settings from the application's profile; the view's copy is left alone.
    explicit COptionsDlg(CBrisaApp& app, HWND parent = nullptr);

protected:
    fw::CommandMap GetCommandMap() const override;
    void DoDataExchange(fw::CDataExchange& dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    void OnPromptForTag();
    void OnRadioClient(UINT id);
    void OnCloseOnSend();

    fw::CButton m_btnFallBack;
    fw::CEdit m_editTagText;
    settings::Settings m_settings;
    CBrisaApp* m_pApp;

    static const fw::CommandEntry s_commands[];
};
