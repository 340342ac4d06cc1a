// Brisa's frame, view and dialogs in the test process, on a Brisa.INI in a fresh temp folder;
// message boxes recorded and answered instead of shown, a modal dialog driven inside its loop.
#pragma once
#include "app/brisa_app.h"
#include "framework/framework_ids.h"
#include "controls.h"
#include "resource.h"

#include <deque>
#include <functional>
#include <utility>

// A message box as the harness records it.
inline std::string Message(UINT id, const std::vector<std::string>& args = {}) {
    return "Brisa: " + ResourceText(id, args);
}

// Brisa's periods shortened: the client looked for every 50 ms, a change listed after 50 ms quiet.
constexpr ViewTiming kQuickTiming = {50, {100, 50, 200}};

class CBrisaHarness : public CBrisaApp {
public:
    // Starts on a folder "wav" of these files and a Brisa.INI of WAVDir and moreOptions.
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
    // Clicks the button and runs whileOpen in the dialog it opens, cancelled if left open.
    void Open(int button, const std::function<void(HWND)>& whileOpen) const;
    void TypeFileName(const std::string& text) const { SetText(Item(IDC_FILE_NAME), text); }
    // The list, the name box and the selection, once the folder's listing is there.
    Lines Files() { return WaitListed(), ItemsOf(Item(IDC_FILE_LIST)); }
    std::string FileName() { return WaitListed(), TextOf(Item(IDC_FILE_NAME)); }
    int Selection() {
        return WaitListed(), int(SendMessageW(Item(IDC_FILE_LIST), LB_GETCURSEL, 0, 0));
    }
    // Runs the message loop until done() holds, for ms at most: the time it took, or -1.
    long long PumpUntil(const std::function<bool()>& done, DWORD ms);
    void Pump(DWORD ms) {
        PumpUntil([] { return false; }, ms);
    }
    // A key pressed in the focused window, as the message loop takes it.
    void PressKey(UINT key, bool shift = false, bool control = false);

    std::deque<int> m_answers; // of the coming message boxes, in order; IDOK when none is left
    // Since the last call: each message box "caption: text", each folder opened "open: folder".
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
