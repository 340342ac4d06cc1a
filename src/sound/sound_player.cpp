#include "sound/sound_player.h"

#include "framework/system_function.h"

#include <mmsystem.h>

namespace {

// The sound functions are loaded at the first Play or Stop: loaded with the program, they would
// bring the audio stack into every start-up.
void PlayWave(const wchar_t* path) {
    using SndPlaySound = BOOL(WINAPI*)(LPCWSTR, UINT);
    static const auto sndPlaySound =
        fw::LoadSystemFunction<SndPlaySound>(L"winmm.dll", "sndPlaySoundW");
    if (sndPlaySound)
        sndPlaySound(path, SND_ASYNC);
}

bool SendMci(const std::wstring& command) {
    using MciSendString = MCIERROR(WINAPI*)(LPCWSTR, LPWSTR, UINT, HWND);
    static const auto mciSendString =
        fw::LoadSystemFunction<MciSendString>(L"winmm.dll", "mciSendStringW");
    return mciSendString && mciSendString(command.c_str(), nullptr, 0, nullptr) == 0;
}

// The volume of a device of the sound call is the program's own volume: MIDI and MP3 play
// through it too.
void ApplyVolume(int percent) {
    using WaveOutSetVolume = MMRESULT(WINAPI*)(HWAVEOUT, DWORD);
    static const auto waveOutSetVolume =
        fw::LoadSystemFunction<WaveOutSetVolume>(L"winmm.dll", "waveOutSetVolume");
    const DWORD channel = static_cast<DWORD>(percent) * 0xFFFF / 100;
    if (waveOutSetVolume)
        waveOutSetVolume(nullptr, channel << 16 | channel);
}

} // namespace

// Before the first sound the volume waits, so that setting it does not load the audio stack.
void CSoundPlayer::SetVolume(int percent) {
    m_nVolume = percent;
    if (!m_strPlaying.empty())
        ApplyVolume(percent);
}

CSoundPlayer::~CSoundPlayer() {
    CloseMci();
}

void CSoundPlayer::Play(const std::wstring& path, SoundType type) {
    CloseMci();
    if (m_strPlaying.empty())
        ApplyVolume(m_nVolume);
    m_strPlaying = path;
    if (type != SoundType::Wave) {
        const wchar_t* device = type == SoundType::Midi ? L"sequencer" : L"mpegvideo";
        PlayWave(nullptr);
        m_bMciOpen = SendMci(L"open \"" + path + L"\" type " + device + L" alias brisa");
        if (m_bMciOpen && SendMci(L"play brisa"))
            return;
        CloseMci();
    }
    PlayWave(path.c_str());
}

void CSoundPlayer::Stop() {
    PlayWave(nullptr);
    CloseMci();
}

void CSoundPlayer::StopIfPlaying(const std::wstring& path) {
    if (path == m_strPlaying)
        Stop();
}

void CSoundPlayer::CloseMci() {
    if (m_bMciOpen)
        SendMci(L"close brisa");
    m_bMciOpen = false;
}
