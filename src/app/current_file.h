#pragma once
#include <string>

// The file that the DCC command offers: the view writes it just before the DCC Send dialog
// opens, and the dialog reads it when it composes its line.
extern std::string g_strCurrentFileName;
