#include "app/current_file.h"

std::string g_strCurrentFileName;
