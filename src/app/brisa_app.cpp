#include "app/brisa_app.h"

#include "app/about_dlg.h"
#include "app/brisa_doc.h"
#include "app/help_topics.h"
#include "app/main_frame.h"
#include "framework/framework_ids.h"
#include "resource.h"
#include "view/brisa_view.h"

const fw::CommandEntry CBrisaApp::s_commands[] = {
    fw::OnCommand(ID_APP_ABOUT, &CBrisaApp::OnAppAbout),
    fw::OnCommand(ID_HELP_INDEX, &CBrisaApp::OnHelpIndex),
};

fw::CommandMap CBrisaApp::GetCommandMap() const {
    return fw::MakeCommandMap(s_commands);
}

bool CBrisaApp::InitInstance() {
    AddDocTemplate(std::make_unique<fw::CSingleDocTemplate>(IDR_MAINFRAME, &CBrisaDoc::CreateObject,
                                                            &CMainFrame::CreateObject,
                                                            &CBrisaView::CreateObject));
    return ProcessShellCommand();
}

const fw::HelpBook& CBrisaApp::GetHelpBook() const {
    return kBrisaHelpBook;
}

void CBrisaApp::OnAppAbout() {
    CAboutDlg about;
    about.DoModal();
}

void CBrisaApp::OnHelpIndex() {
    WinHelp(HID_BASE_COMMAND + ID_HELP_INDEX);
}

CBrisaApp* GetBrisaApp() {
    return static_cast<CBrisaApp*>(fw::GetApp());
}
