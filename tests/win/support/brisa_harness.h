// Brisa's frame, view and dialogs in the test process, on a Brisa.INI of its own in a fresh temp
// folder. Message boxes are recorded and answered instead of shown; a modal dialog is driven from
// inside its own loop. Every call is a synchronous message, as in the Wine conformance tests.
#pragma once
#include "app/brisa_app.h"
#include "framework/framework_ids.h"
#include "controls.h"
#include "resource.h"

#include <deque>
#include <functional>
#include <utility>

// A message box as the harness records it: "Brisa: " and the string, %1… filled in.
inline std::string Message(UINT id, const std::vector<std::string>& args = {}) {
    return "Brisa: " + ResourceText(id, args);
}

// Brisa's periods shortened: the client looked for every 50 ms, a change listed after 50 ms quiet.
constexpr ViewTiming kQuickTiming = {50, {100, 50, 200}};

class CBrisaHarness : public CBrisaApp {
public:
    // A folder "wav" holding these files, and a Brisa.INI naming it as WAVDir, followed by
    // moreOptions ("Key=value" lines); then Brisa starts.
    explicit CBrisaHarness(const std::string& moreOptions = "",
                           const Lines& wavFiles = {"ding.wav", "other.wav"},
                           const ViewTiming& timing = kQuickTiming);
    ~CBrisaHarness() override;
    void Restart() { Close(), Start(); } // as a new run of the program would

    std::string PathOf(const std::string& name) const { return m_strDir + "\\" + name; }
    std::string WavDir() const { return PathOf("wav"); }
    std::string Ini() const;                             // in UTF-8
    void WriteOptions(const std::string& options) const; // a new Brisa.INI

    HWND Main() const { return GetMainWindow(); }
    HWND Item(int id) const { return GetDlgItem(GetWindow(Main(), GW_CHILD), id); }
    bool Click(int id) const { return ClickItem(GetWindow(Main(), GW_CHILD), id); }
    // Clicks the button, and runs whileOpen inside the dialog it opens; a dialog left open is
    // cancelled then.
    void Open(int button, const std::function<void(HWND)>& whileOpen) const;
    void TypeFileName(const std::string& text) const { SetText(Item(IDC_FILE_NAME), text); }
    // The list, the name box and the selection, once the folder's listing is there.
    Lines Files() { return WaitListed(), ItemsOf(Item(IDC_FILE_LIST)); }
    std::string FileName() { return WaitListed(), TextOf(Item(IDC_FILE_NAME)); }
    int Selection() {
        return WaitListed(), int(SendMessageW(Item(IDC_FILE_LIST), LB_GETCURSEL, 0, 0));
    }
    // Pumps until nothing has arrived for 50 ms: focus and activation come through the X server.
    void Settle();
    // Runs the message loop until done() holds, for ms at most: the time it took, or -1.
    long long PumpUntil(const std::function<bool()>& done, DWORD ms);
    // A key pressed in the focused window, with Shift or Ctrl held, as the message loop takes it.
    void PressKey(UINT key, bool shift = false, bool control = false);

    std::deque<int> m_answers; // of the coming message boxes, in order; IDOK when none is left
    // The message boxes shown since the last call, each "caption: text", and the folders opened
    // in the file manager, each "open: folder".
    Lines TakeMessageBoxes() { return std::exchange(m_listBoxes, {}); }
    std::optional<std::string> m_chosenFolder; // what the folder dialog answers
    std::string Status(int part) const;        // a part of the status line

protected:
    std::string LocateProfile() const override { return PathOf("Brisa.INI"); }
    int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption,
                       UINT type) override;
    std::optional<std::string> ChooseFolder(HWND, const std::string&, const std::string&) override {
        return m_chosenFolder;
    }
    bool OpenFolder(const std::string& folder) override {
        m_listBoxes.push_back("open: " + folder);
        return true;
    }

private:
    void Start();
    void Close();
    void WaitListed();

    std::string m_strDir;
    Lines m_listBoxes;
};
