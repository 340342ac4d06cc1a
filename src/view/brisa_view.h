// The main form: the WAV directory's files and the buttons that act on them.
#pragma once
#include "bridge/irc_client.h"
#include "framework/app.h"
#include "framework/dialog.h"
#include "settings/settings.h"
#include "view/sound_player.h"

#include <optional>
#include <string>

class CBrisaView : public fw::CFormView, private fw::CHandleWatcher {
public:
    // Loads the settings from the application's profile.
    explicit CBrisaView(fw::CWinApp& app);
    ~CBrisaView() override;

    // Also starts following the client's presence.
    void OnInitialUpdate() override;

protected:
    void DoDataExchange(fw::CDataExchange& dx) override;
    fw::CommandMap GetCommandMap() const override;
    // The timers that follow the client and the folder.
    INT_PTR DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // Copies the settings from the profile, with the client's window class name they select.
    void LoadSettings();
    // Lists the folder's sound files, sorted; false, leaving the list as it was, when the folder
    // cannot be listed.
    bool ListFolder();
    // Lists the folder, follows it from now on, and selects the entry at index.
    void RefreshList(int index);
    void WatchFolder();
    void StopWatchingFolder();
    void OnSignalled() override; // the folder changed
    void FollowFolder();
    // Takes the selected entry as the file name; its path, or nullopt when none is selected.
    std::optional<std::string> TakeSelectedPath();
    void RemoveFile(const std::string& path);
    bool IsClientPresent() const;
    // Send and DCC, which need the client.
    void EnableClientButtons(bool enable) const;
    // Tells the user how an operation on the client ended, when it did not end well.
    bool Succeeded(ClientOutcome outcome) const;

    void OnPlay();
    void OnDelete();
    void OnOptions();
    void OnSend();
    void OnStop();
    void OnDblclkFileList();
    void OnSelchangeFileList();
    void OnChangeFileName();
    void OnRefresh();
    void OnDcc();
    void OnHelpButton();

    fw::CListBox m_listFiles;
    fw::CButton m_btnSend;
    fw::CButton m_btnDcc;
    std::string m_strFileName;
    settings::Settings m_settings;
    std::string m_strClientClass; // the window class of the client's top-level window
    fw::CWinApp* m_pApp;
    CSoundPlayer m_player;
    HANDLE m_hFolderChange = nullptr;    // the folder's change notification, while it is followed
    ULONGLONG m_nFolderChangedSince = 0; // the first change not yet listed, 0 when none

    static const fw::CommandEntry s_commands[];
};
