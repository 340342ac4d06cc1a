// The sound folder: its sound files listed, and followed as they change, as it goes away, and
// while it is missing. It tells a listener; the form shows what it is told.
#pragma once
#include "framework/app.h"
#include "rules/sound_list.h"

#include <string>
#include <vector>

class ISoundFolderListener {
public:
    // The folder's sound files, in no particular order: after Open, and after it changed.
    virtual void OnListed(std::vector<std::string> names) = 0;
    // The folder cannot be listed: it is missing, too long, or cannot be read.
    virtual void OnUnlistable() = 0;

protected:
    ~ISoundFolderListener() = default;
};

// How often the folder is looked at, and how long its changes may run on before it is listed
// again (see CQuietPeriod).
struct FolderTiming {
    unsigned checkMs = 1000; // whether a watched folder is still there
    Ticks quietMs = 250;
    Ticks latestMs = 900;
};

class CSoundFolder final : private fw::CHandleWatcher {
public:
    CSoundFolder(fw::CWinApp& app, ISoundFolderListener& listener, FolderTiming timing);
    ~CSoundFolder();
    CSoundFolder(const CSoundFolder&) = delete;
    CSoundFolder& operator=(const CSoundFolder&) = delete;

    // Lists the folder now, and follows it from now on.
    void Open(const std::string& folder);

    HWND m_hWnd = nullptr; // a message-only window for the timers

private:
    void List();
    void Watch();
    void StopWatching();
    void OnSignalled() override; // the folder changed
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    friend LRESULT CALLBACK fw::ObjectWindowProc<CSoundFolder>(HWND, UINT, WPARAM, LPARAM);

    fw::CWinApp& m_app;
    ISoundFolderListener& m_listener;
    const FolderTiming m_timing;
    CQuietPeriod m_quiet;
    std::string m_strFolder;
    HANDLE m_hChange = nullptr; // the folder's change notification, while it is followed
};
