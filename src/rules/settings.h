// The six settings of section Options in Brisa's profile: keys, stored types, defaults, the rules
// that give them meaning, and the one load and the one save. Portable: the profile is any object
// with GetString, GetInt and Write (fw::CProfile on Windows).
#pragma once
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
inline constexpr char kDefaultSendTagText[] = "-plays Brisa: @";
inline constexpr char kDefaultOptionsTagText[] = "plays a wav";

// An IRC client Brisa can drive: the number the profile stores for it and the class of its main
// window.
struct ClientKind {
    int stored;
    const char* windowClass;
};
inline constexpr ClientKind kClients[] = {
    {1009, "mIRC32"},
    {1011, "mIRC"},
    {1012, "PIRCH"},
};
inline constexpr int kDefaultClient = 1009;

// The settings as stored.
struct Settings {
    std::string m_strWavDir;
    std::string m_strTagText;
    int m_bTagPrompt = 0;
    int m_bFallBack = 0;
    int m_bSendClose = 0;
    int m_nClient = kDefaultClient;
};

// Send types the line without Enter, leaving the tag to the user.
bool PromptsForTag(const Settings& settings);
// A client window comes to the top after a line is entered.
bool FallsBack(const Settings& settings);
// Brisa closes after Send: only at exactly 1, unlike the other flags.
bool ClosesOnSend(const Settings& settings);
// Fall Back can be chosen in Options only while Close on Send is 0, whatever counts as on.
bool OffersFallBack(const Settings& settings);
// The class of the chosen client's main window; "" when the stored number names no client, which
// then is never found.
std::string ClientWindowClass(const Settings& settings);

template <class Profile> std::string LoadWavDir(const Profile& profile) {
    return profile.GetString(kSection, kWavDir, kDefaultWavDir);
}

// Reads all six, with the tag that the reader proposes when none is stored.
template <class Profile> Settings Load(const Profile& profile, const char* defaultTagText) {
    Settings s;
    s.m_strWavDir = LoadWavDir(profile);
    s.m_strTagText = profile.GetString(kSection, kTagText, defaultTagText);
    s.m_bTagPrompt = profile.GetInt(kSection, kTagPrompt, 0);
    s.m_bFallBack = profile.GetInt(kSection, kFallBack, 0);
    s.m_bSendClose = profile.GetInt(kSection, kSendClose, 0);
    s.m_nClient = profile.GetInt(kSection, kClient, kDefaultClient);
    return s;
}

// Writes all six, changed or not, integers first; false when any write failed.
template <class Profile> bool Save(const Profile& profile, const Settings& s) {
    return profile.Write(kSection, {{kTagPrompt, std::to_string(s.m_bTagPrompt)},
                                    {kFallBack, std::to_string(s.m_bFallBack)},
                                    {kSendClose, std::to_string(s.m_bSendClose)},
                                    {kClient, std::to_string(s.m_nClient)},
                                    {kTagText, s.m_strTagText},
                                    {kWavDir, s.m_strWavDir}});
}

} // namespace settings
