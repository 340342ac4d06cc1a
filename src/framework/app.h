// The application object: start-up, the message loop, the profile, message boxes and help.
#pragma once
#include "framework/frame.h"
#include "framework/help.h"
#include "framework/module.h"
#include "framework/profile.h"

#include <functional>
#include <memory>
#include <string>

namespace fw {

class CHelpWindow;

// Binds the document, frame and view classes of a single-document program to one resource id.
class CSingleDocTemplate {
public:
    using DocumentFactory = std::function<std::unique_ptr<CDocument>()>;
    using FrameFactory = std::function<std::unique_ptr<CFrameWnd>()>;
    using ViewFactory = std::function<std::unique_ptr<CFormView>()>;

    CSingleDocTemplate(UINT nIDResource, DocumentFactory createDocument, FrameFactory createFrame,
                       ViewFactory createView);
    ~CSingleDocTemplate();

    // A new, empty document: the first time it also creates and shows the frame and its view;
    // afterwards it re-initialises the document and the view in place.
    bool OpenNewDocument(int nCmdShow);
    CFrameWnd* GetFrame() const { return m_pFrame.get(); }

private:
    const UINT m_nIDResource;
    DocumentFactory m_createDocument;
    FrameFactory m_createFrame;
    ViewFactory m_createView;
    std::unique_ptr<CDocument> m_pDocument;
    std::unique_ptr<CFrameWnd> m_pFrame;
};

class CWinApp : public CModule, public CCmdTarget {
public:
    CWinApp();
    ~CWinApp() override;

    // The program's entry point, called from WinMain: InitApplication, the message loop, and
    // ExitInstance.
    int Main(HINSTANCE instance, int nCmdShow);
    // Everything before the message loop: the profile, the common controls, InitInstance.
    bool InitApplication(HINSTANCE instance, int nCmdShow);
    // Destroys the main window and the help window.
    void ExitInstance();
    // Handles every message waiting for this thread, as the message loop does; false once the
    // loop is to end.
    bool PumpMessages();

    int m_nCmdShow = SW_SHOWNORMAL;

    HWND GetMainWindow() const override;
    CFrameWnd* GetMainFrame() const {
        return m_pDocTemplate ? m_pDocTemplate->GetFrame() : nullptr;
    }
    const CProfile& GetProfile() const { return m_profile; }
    void WinHelp(DWORD context, UINT command = HELP_CONTEXT) override;

    // The program's command table first, then the framework's New and Exit.
    bool OnCmdMsg(UINT id, UINT code) override;

protected:
    // Called once at start, after the profile is open: creates the main window. Must be defined.
    virtual bool InitInstance() = 0;
    // The program's help topics; called when help is first asked for. Must be defined.
    virtual const HelpBook& GetHelpBook() const = 0;
    // Called once at start for the profile's path; by default CProfile::Locate's for this
    // executable. An override need not call this one.
    virtual std::string LocateProfile() const;
    void AddDocTemplate(std::unique_ptr<CSingleDocTemplate> docTemplate);
    // The standard document command line: a new document, which creates the frame and view.
    bool ProcessShellCommand();
    // The framework's New: a fresh document re-initialises the view.
    void OnFileNew();
    void OnAppExit();

    // The path of this program's executable.
    static std::string ModulePath();

private:
    // Keyboard handling before a message is dispatched: context help, accelerators and the
    // dialog keys of the form and the help window. True when it took the message.
    bool PreTranslateMessage(MSG& msg);
    int Run();

    CProfile m_profile;
    std::unique_ptr<CSingleDocTemplate> m_pDocTemplate;
    std::unique_ptr<CHelpWindow> m_pHelpWindow;
    int m_nExitCode = 0;

    static const CommandEntry s_commands[];
};

// The program's one application object.
CWinApp* GetApp();

} // namespace fw
