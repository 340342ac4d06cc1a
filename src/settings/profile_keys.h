// The six settings of section Options in Brisa's profile, with their defaults.
#pragma once
#include "resource.h"

namespace profile {

constexpr char kSection[] = "Options";

constexpr char kWavDir[] = "WAVDir";
constexpr char kTagText[] = "TagText";
constexpr char kTagPrompt[] = "TagPrompt";
constexpr char kFallBack[] = "FallBack";
constexpr char kSendClose[] = "SendClose";
constexpr char kClient[] = "Client";

constexpr char kDefaultWavDir[] = "C:\\WAV";
constexpr char kDefaultTagText[] = "-plays Brisa: @";
// The Options dialog proposes a different tag than Send uses when none is stored.
constexpr char kDefaultOptionsTagText[] = "plays a wav";
constexpr int kDefaultTagPrompt = 0;
constexpr int kDefaultFallBack = 0;
constexpr int kDefaultSendClose = 0;
// A client selector is at once a string id (the client's window class name), a radio button
// id in the Options dialog and the stored value.
constexpr int kDefaultClient = IDS_CLIENT_MIRC32;

} // namespace profile
