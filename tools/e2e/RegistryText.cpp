#include "RegistryText.h"

#include <cstdio>
#include <cstdlib>

#include "Scenario.h"

bool SplitRegistryPath(const std::string& full, HKEY& root, std::string& sub) {
    static const struct {
        const char* name;
        HKEY key;
    } roots[] = {
        {"HKLM", HKEY_LOCAL_MACHINE}, {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
        {"HKCU", HKEY_CURRENT_USER},  {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
        {"HKCR", HKEY_CLASSES_ROOT},  {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
        {"HKU", HKEY_USERS},          {"HKEY_USERS", HKEY_USERS},
    };
    size_t bs = full.find('\\');
    std::string head = full.substr(0, bs);
    for (const auto& r : roots) {
        if (EqualNoCase(head, r.name)) {
            root = r.key;
            sub = bs == std::string::npos ? "" : full.substr(bs + 1);
            return true;
        }
    }
    return false;
}

void EncodeRegistryValue(const std::string& text, DWORD& type, std::string& bytes) {
    size_t colon = text.find(':');
    std::string kind = colon == std::string::npos ? "" : Lower(text.substr(0, colon));
    std::string data = colon == std::string::npos ? text : text.substr(colon + 1);
    if (kind == "dword") {
        type = REG_DWORD;
        DWORD v = static_cast<DWORD>(std::strtoul(data.c_str(), nullptr, 0));
        bytes.assign(reinterpret_cast<const char*>(&v), sizeof(v));
    } else if (kind == "multi") {
        type = REG_MULTI_SZ;
        bytes.clear();
        for (const auto& part : SplitList(data, '|')) bytes += part + '\0';
        bytes += '\0';
    } else if (kind == "hex") {
        type = REG_BINARY;
        bytes.clear();
        for (const auto& part : SplitList(data, ','))
            bytes += static_cast<char>(std::strtoul(part.c_str(), nullptr, 16));
    } else if (kind == "none") {
        type = REG_NONE;
        bytes.clear();
    } else {
        type = kind == "expand" ? REG_EXPAND_SZ : REG_SZ;
        if (kind != "sz" && kind != "expand") data = text;
        bytes = Unescape(data) + '\0';
    }
}

static std::string TextOf(const std::string& bytes) {
    std::string s = bytes;
    while (!s.empty() && s.back() == '\0') s.pop_back();
    return s;
}

std::string DescribeRegistryValue(DWORD type, const std::string& bytes) {
    char buf[32];
    switch (type) {
    case REG_SZ:
        return "sz:" + TextOf(bytes);
    case REG_EXPAND_SZ:
        return "expand:" + TextOf(bytes);
    case REG_DWORD:
        if (bytes.size() == 4) {
            std::snprintf(buf, sizeof(buf), "dword:%lu", static_cast<unsigned long>(
                                                             *reinterpret_cast<const DWORD*>(bytes.data())));
            return buf;
        }
        break;
    case REG_MULTI_SZ: {
        std::string out = "multi:";
        std::string cur;
        bool first = true;
        for (size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] != '\0') {
                cur += bytes[i];
                continue;
            }
            if (cur.empty()) break;
            out += (first ? "" : "|") + cur;
            first = false;
            cur.clear();
        }
        return out;
    }
    default:
        break;
    }
    std::string out = "hex(" + std::to_string(type) + "):";
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(buf, sizeof(buf), "%s%02x", i ? "," : "", static_cast<unsigned char>(bytes[i]));
        out += buf;
    }
    return out;
}
