#include "ConfigStrings.h"

static HINSTANCE g_configInstance = NULL;

void SetConfigInstance(HINSTANCE instance) {
    g_configInstance = instance;
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
