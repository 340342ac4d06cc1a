// The application object: start-up, the message loop, the profile, message boxes and help.
#pragma once
#include "framework/frame.h"
#include "framework/help.h"

#include <memory>
#include <string>

namespace fw {

class CHelpWindow;

// Binds the document, frame and view classes of a single-document program to one resource id.
class CSingleDocTemplate {
public:
    using DocumentFactory = std::unique_ptr<CDocument> (*)();
    using FrameFactory = std::unique_ptr<CFrameWnd> (*)();
    using ViewFactory = std::unique_ptr<CFormView> (*)();

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

class CWinApp : public CCmdTarget {
public:
    CWinApp();
    ~CWinApp() override;

    // The program's entry point, called from WinMain.
    int Main(HINSTANCE instance, int nCmdShow);

    HINSTANCE m_hInstance = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;

    HWND GetMainWindow() const;
    const std::string& GetAppTitle() const { return m_strAppTitle; }
    std::string LoadString(UINT id) const;

    // The private profile: an INI file named after the executable.
    const std::string& GetProfilePath() const { return m_strProfilePath; }
    std::string GetProfileString(const char* section, const char* key,
                                 const char* defaultValue) const;
    int GetProfileInt(const char* section, const char* key, int defaultValue) const;
    bool WriteProfileString(const char* section, const char* key, const std::string& value) const;
    bool WriteProfileInt(const char* section, const char* key, int value) const;

    // A message box owned by the window the user is working in, captioned with the app title.
    int DoMessageBox(const std::string& text, UINT type) const;
    // Opens the help window on the topic of a help context (HELP_CONTEXT), or on the index.
    void WinHelp(DWORD context, UINT command = HELP_CONTEXT);

    // The program's command table first, then the framework's New and Exit.
    bool OnCmdMsg(UINT id, UINT code) override;

protected:
    virtual bool InitInstance() = 0;
    virtual const HelpBook& GetHelpBook() const = 0;
    void AddDocTemplate(std::unique_ptr<CSingleDocTemplate> docTemplate);
    // The standard document command line: a new document, which creates the frame and view.
    bool ProcessShellCommand();
    // The framework's New: a fresh document re-initialises the view.
    void OnFileNew();
    void OnAppExit();

private:
    int Run();

    std::string m_strAppTitle;
    std::string m_strProfilePath;
    std::unique_ptr<CSingleDocTemplate> m_pDocTemplate;
    std::unique_ptr<CHelpWindow> m_pHelpWindow;

    static const CommandEntry s_commands[];
};

// The program's one application object.
CWinApp* GetApp();

// Where the profile lives: beside the executable when a file of that name is there (portable
// use); otherwise in the user's application-data folder, seeded once from an older profile in
// the Windows directory.
std::string ResolveProfilePath(const std::string& exePath);

} // namespace fw
