// What a command has to tell the user, shown in a message box.
#pragma once
#include "rules/commands.h"

// Shows the notice's message, its %1 filled in; nothing when there is none.
void ShowNotice(const Notice& notice);
