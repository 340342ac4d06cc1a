// What every window of a program shares, without reaching for the application object: the module
// that holds its resources, its main window, and the seams through which it shows message boxes
// and help. The application object is the program's one module.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace fw {

class CModule {
public:
    CModule(const CModule&) = delete;
    CModule& operator=(const CModule&) = delete;

    HINSTANCE m_hInstance = nullptr;

    // The string resource `id`; "" when there is none.
    std::string LoadString(UINT id) const;
    // The bytes of a resource of the given type (a dialog template, a help topic); empty when
    // there is none.
    std::string_view LoadRaw(UINT id, LPCWSTR type) const;
    const std::string& GetAppTitle() const { return m_strAppTitle; }

    virtual HWND GetMainWindow() const = 0;
    // Every message box of the program comes here. An override (a test's) need not call this one.
    virtual int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption,
                               UINT type);
    // A message box owned by the window the user is working in, captioned with the app title.
    int DoMessageBox(const std::string& text, UINT type);
    // Opens the help window on the topic of a help context (HELP_CONTEXT), or on the index.
    virtual void WinHelp(DWORD context, UINT command = HELP_CONTEXT) = 0;
    // The platform's folder dialog, starting at `initial`: the folder chosen, or nullopt. An
    // override (a test's) need not call this one.
    virtual std::optional<std::string> ChooseFolder(HWND owner, const std::string& initial,
                                                    const std::string& title);
    // Opens the folder in the file manager; false when it cannot. An override need not call this
    // one.
    virtual bool OpenFolder(const std::string& folder);

protected:
    CModule();
    virtual ~CModule();

    std::string m_strAppTitle;
};

// The program's module.
CModule& Module();

} // namespace fw
