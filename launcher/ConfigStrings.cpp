#include "ConfigStrings.h"

#include <cstdlib>
#include <cstring>

static HINSTANCE g_configInstance = NULL;

void SetConfigInstance(HINSTANCE instance) {
    g_configInstance = instance;
}

unsigned ParseConfigSwitch(const char* text) {
    if (std::strcmp(text, "_YES_") == 0) return 1;
    // strtol, unlike atoi, is defined on overflow: it clamps, as the Windows runtime's atoi does.
    return static_cast<unsigned>(std::strtol(text, NULL, 10));
}

unsigned GetConfigSwitch(UINT id) {
    char text[kConfigSwitchSize] = "";
    if (LoadStringA(g_configInstance, id, text, kConfigSwitchSize) <= 0) return 0;
    return ParseConfigSwitch(text);
}

void GetConfigText(UINT id, char* text) {
    text[0] = '\0';
    if (LoadStringA(g_configInstance, id, text, kConfigTextSize) <= 0) text[0] = '\0';
}
