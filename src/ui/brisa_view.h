// The main form: the sound folder's files and the buttons that act on them, the search that
// narrows the list, the files dropped on it, the soundboard's hotkeys and volume, and what the
// status line says of the folder, the client and the chosen sound.
#pragma once
#include "bridge/irc_client.h"
#include "framework/app.h"
#include "framework/dialog.h"
#include "rules/settings.h"
#include "rules/soundboard.h"
#include "rules/sound_list.h"
#include "rules/status.h"
#include "sound/sound_folder.h"
#include "sound/sound_player.h"

#include <optional>
#include <string>

// How often the form looks for the client, and how it follows its folder.
struct ViewTiming {
    unsigned clientPollMs = 1000;
    FolderTiming folder;
};

class CBrisaView : public fw::CFormView, private ISoundFolderListener {
public:
    // Loads the settings from the application's profile; reaches the clients it finds through
    // what the application keeps of them.
    CBrisaView(fw::CWinApp& app, CClientRegistry& clients, const ViewTiming& timing);

    // Also starts following the client's presence.
    void OnInitialUpdate() override;
    // The folder is being listed: nothing of it shows yet.
    bool IsListing() const { return m_folder.IsListing(); }

protected:
    void DoDataExchange(fw::CDataExchange& dx) override;
    fw::CommandMap GetCommandMap() const override;
    std::vector<fw::Anchor> GetAnchors() const override;
    // The timer that follows the client, files dropped, the hotkeys, the volume, the list's
    // context menu, and the wait cursor while the list is still to come.
    INT_PTR DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // Copies the settings from the profile.
    void LoadSettings();
    // Lists the folder, follows it from now on, and selects the entry at index.
    void RefreshList(int index);
    void OnListed(std::vector<SortedName> sounds) override;
    void OnChanged(const std::vector<FolderChange>& changes) override;
    void OnUnlistable() override;
    // Fills the list with what it shows now, the file selected before still selected.
    void ShowSounds(const std::string& selected);
    // Takes the selected entry as the file name; its path, or nullopt when none is selected.
    std::optional<std::string> TakeSelectedPath();
    void PlayFile(const std::string& name);
    void SendFile(const std::string& name, bool mayClose);
    void RemoveFile(const std::string& path, bool recycle);
    // Registers the soundboard's hotkeys with the system, in place of those before, and says which
    // another program holds.
    void RegisterHotkeys();
    void UnregisterHotkeys();
    void OnHotkey(int id);
    void OnVolume(int code);
    void ShowContextMenu(HWND list, LPARAM point);
    // Copies the sound files dropped into the folder, asking before it replaces one.
    void AddDroppedFiles(HANDLE drop);
    // Looks for the client: Send and DCC, and the status line, follow it.
    void FollowClient();
    bool IsClientPresent() const;
    // Send and DCC, which need the client.
    void EnableClientButtons(bool enable) const;
    void ShowFolderStatus(FolderState::EState state);
    void ShowHotkeyStatus() const;
    void ShowStatus(int part, const Notice& notice) const;

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
    void OnOpenSoundsFolder();
    void OnChangeFilter();
    void OnClearFilter();
    void OnHotkeys();

    fw::CListBox m_listFiles;
    fw::CButton m_btnSend;
    fw::CButton m_btnDcc;
    std::string m_strFileName;
    settings::Settings m_settings;
    soundboard::Soundboard m_board;
    int m_nHotkeysRegistered = 0; // the sounds' hotkeys, by the ids from 1 up
    fw::CWinApp* m_pApp;
    CClientRegistry& m_clients;
    const unsigned m_nClientPollMs;
    CSoundList m_sounds;
    std::optional<int> m_nRefreshIndex; // the entry a Refresh selects once the folder is listed
    bool m_bStarted = false; // the frame has been fitted around the form, and the hotkeys taken
    CSoundFolder m_folder;
    CSoundPlayer m_player;

    static const fw::CommandEntry s_commands[];
};
