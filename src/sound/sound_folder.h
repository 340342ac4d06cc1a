// The sound folder: its sound files listed, and followed as they change, as the folder goes away,
// comes back or is replaced, and while it is missing. All of it runs beside the window's thread,
// which is told the results and never waits for a disk or a share.
#pragma once
#include "framework/wnd.h"
#include "rules/sound_list.h"

#include <atomic>
#include <memory>
#include <string>
#include <vector>

class ISoundFolderListener {
public:
    // The folder's sound files, in the list's order: after Open, and whenever the folder must be
    // listed again (it came back, was replaced, or changed beyond what could be told).
    virtual void OnListed(std::vector<SortedName> sounds) = 0;
    // Sound files added and removed since the last word, in their order.
    virtual void OnChanged(const std::vector<FolderChange>& changes) = 0;
    // The folder cannot be listed: it is missing, too long, or cannot be read.
    virtual void OnUnlistable() = 0;

protected:
    ~ISoundFolderListener() = default;
};

// How often a folder is looked at while it is missing or to see that it is still the same, and
// how long its changes may run on before they are told (see CQuietPeriod).
struct FolderTiming {
    unsigned checkMs = 1000;
    Ticks quietMs = 250;
    Ticks latestMs = 900;
};

class CSoundFolder final {
public:
    CSoundFolder(ISoundFolderListener& listener, FolderTiming timing);
    ~CSoundFolder();
    CSoundFolder(const CSoundFolder&) = delete;
    CSoundFolder& operator=(const CSoundFolder&) = delete;

    // Lists the folder anew and follows it from now on; what is still to come of the listing
    // before is dropped.
    void Open(const std::string& folder);
    // Nothing has been told of the folder yet since Open.
    bool IsListing() const { return m_bListing; }

    HWND m_hWnd = nullptr; // a message-only window that the follower tells

private:
    void Stop();
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    friend LRESULT CALLBACK fw::ObjectWindowProc<CSoundFolder>(HWND, UINT, WPARAM, LPARAM);

    ISoundFolderListener& m_listener;
    const FolderTiming m_timing;
    HANDLE m_hStop = nullptr;   // set to end the follower of the folder
    HANDLE m_hRelist = nullptr; // set to have it list the folder again
    std::string m_strFolder;    // the folder it follows
    WPARAM m_nGeneration = 0;   // of the listing asked for last
    std::shared_ptr<std::atomic<WPARAM>> m_pGeneration; // the same, for the follower to read
    bool m_bListing = false;
};
