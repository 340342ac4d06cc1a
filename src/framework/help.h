// Brisa's own help: topics are HELPTEXT resources, reached through help contexts.
#pragma once
#include <windows.h>

#include <cstddef>

namespace fw {

// A HELPTEXT resource holds one topic in UTF-8: its title on the first line, then the body.
// Lines end in LF; a blank line separates paragraphs.
constexpr LPCWSTR kHelpTextType = L"HELPTEXT";

struct HelpContext {
    DWORD context;
    UINT topic; // HELPTEXT resource identifier
};

// The program's table of help contexts. Its topics, in order of first appearance, make the
// index; contexts that are not in the table open the index topic.
struct HelpBook {
    UINT indexTopic;
    const HelpContext* contexts;
    std::size_t contextCount;
};

} // namespace fw
