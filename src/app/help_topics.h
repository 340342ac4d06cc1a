// Which help topic each help context of Brisa opens.
#pragma once
#include "framework/help.h"

extern const fw::HelpBook kBrisaHelpBook;
