// The application object: start-up, the About box and the help index.
#pragma once
#include "app/single_instance.h"
#include "framework/app.h"
#include "ui/brisa_view.h"

class CBrisaApp : public fw::CWinApp {
protected:
    bool InitInstance() override;
    const fw::HelpBook& GetHelpBook() const override;
    // The framework's place, where on the first start the settings of earlier versions move.
    std::string LocateProfile() const override;
    fw::CommandMap GetCommandMap() const override;

    // How the form follows the client and the folder.
    ViewTiming m_timing;
    // The clients reached so far, for the rest of the run.
    CClientRegistry m_clients;

private:
    void OnAppAbout();
    void OnHelpIndex();

    CSingleInstance m_instance;

    static const fw::CommandEntry s_commands[];
};
