// Plays one sound at a time, of every type the client's /sound plays: WAVE files through the
// system's sound call, MIDI and MP3 files through the multimedia service (MCI). A sound started
// replaces the one that plays, of whatever type. Its volume is the program's own, which the system
// keeps apart from every other program's and from the master volume.
#pragma once
#include "rules/sound_files.h"

#include <string>

class CSoundPlayer {
public:
    CSoundPlayer() = default;
    ~CSoundPlayer();
    CSoundPlayer(const CSoundPlayer&) = delete;
    CSoundPlayer& operator=(const CSoundPlayer&) = delete;

    // A file that cannot be played gets the system's default sound, as a damaged WAVE file does.
    void Play(const std::wstring& path, SoundType type);
    void Stop();
    // 0 to 100 percent, for every type: the sound that plays and those to come.
    void SetVolume(int percent);
    // Stops the sound if it is this file, which the multimedia service holds open while it plays.
    void StopIfPlaying(const std::wstring& path);

private:
    void CloseMci();

    bool m_bMciOpen = false;
    std::wstring m_strPlaying; // the file of the last Play
    int m_nVolume = 100;
};
