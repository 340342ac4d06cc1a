// The six settings of section Options in Brisa's profile: keys, stored types, defaults, the rules
// that give them meaning, and the one load and the one save. Portable: the profile is any object
// with the four profile operations (fw::CProfile on Windows).
#pragma once
#include "resource.h"

#include <optional>
#include <string>

namespace settings {

inline constexpr char kSection[] = "Options";
inline constexpr char kWavDir[] = "WAVDir";
inline constexpr char kTagText[] = "TagText";
inline constexpr char kTagPrompt[] = "TagPrompt";
inline constexpr char kFallBack[] = "FallBack";
inline constexpr char kSendClose[] = "SendClose";
inline constexpr char kClient[] = "Client";

inline constexpr char kDefaultWavDir[] = "C:\\WAV";
// Send and the Options dialog propose different tags when none is stored.
inline constexpr char kDefaultTagText[] = "-plays Brisa: @";
inline constexpr char kDefaultOptionsTagText[] = "plays a wav";

// A client selector is at once the id of the string that names the client's window class, the
// id of its radio button in the Options dialog and the value stored.
inline constexpr int kClientMirc32 = IDS_CLIENT_MIRC32;
inline constexpr int kClientMirc = IDS_CLIENT_MIRC;
inline constexpr int kClientPirch = IDS_CLIENT_PIRCH;

// Which of the two readers loads: they differ in the tag they take when none is stored.
enum class Reader { View, OptionsDialog };

// The settings as stored.
struct Settings {
    std::string m_strWavDir;
    std::string m_strTagText;
    int m_bTagPrompt = 0;
    int m_bFallBack = 0;
    int m_bSendClose = 0;
    int m_nClient = kClientMirc32;
};

// Send types the line without Enter, leaving the tag to the user.
bool PromptsForTag(const Settings& settings);
// A client window comes to the top after a line is entered.
bool FallsBack(const Settings& settings);
// Brisa closes after Send: only at exactly 1, unlike the other flags.
bool ClosesOnSend(const Settings& settings);
// The string resource naming the client's window class; none when the selector cannot name one.
std::optional<unsigned> ClientClassStringId(const Settings& settings);
// Whether the selector is one of the Options dialog's radio buttons.
bool IsClientRadio(int client);

template <class Profile> Settings Load(const Profile& profile, Reader reader) {
    Settings s;
    s.m_strWavDir = profile.GetString(kSection, kWavDir, kDefaultWavDir);
    s.m_strTagText = profile.GetString(
        kSection, kTagText, reader == Reader::View ? kDefaultTagText : kDefaultOptionsTagText);
    s.m_bTagPrompt = profile.GetInt(kSection, kTagPrompt, 0);
    s.m_bFallBack = profile.GetInt(kSection, kFallBack, 0);
    s.m_bSendClose = profile.GetInt(kSection, kSendClose, 0);
    s.m_nClient = profile.GetInt(kSection, kClient, kClientMirc32);
    return s;
}

// Writes all six, changed or not, integers first; false when any write failed.
template <class Profile> bool Save(const Profile& profile, const Settings& s) {
    bool saved = profile.WriteInt(kSection, kTagPrompt, s.m_bTagPrompt);
    saved &= profile.WriteInt(kSection, kFallBack, s.m_bFallBack);
    saved &= profile.WriteInt(kSection, kSendClose, s.m_bSendClose);
    saved &= profile.WriteInt(kSection, kClient, s.m_nClient);
    saved &= profile.WriteString(kSection, kTagText, s.m_strTagText);
    saved &= profile.WriteString(kSection, kWavDir, s.m_strWavDir);
    return saved;
}

} // namespace settings
