// The application object: start-up, and the values that the settings give the whole program.
#pragma once
#include "framework/app.h"

#include <string>

class CBrisaApp : public fw::CWinApp {
public:
    std::string m_strClientClass; // window class name of the IRC client's top-level window
    int m_bFallBack = 0;
    int m_bSendClose = 0;

protected:
    bool InitInstance() override;
    const fw::HelpBook& GetHelpBook() const override;
    fw::CommandMap GetCommandMap() const override;

private:
    void OnAppAbout();
    void OnHelpIndex();

    static const fw::CommandEntry s_commands[];
};

CBrisaApp* GetBrisaApp();
