#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "system/IniText.h"

namespace {
// The text after RemoveIniEntryLine; FindIniEntry must agree on whether there was a line to remove.
std::string Remove(const std::string& text, const char* section, const char* key) {
    std::vector<char> buffer(text.begin(), text.end());
    size_t length = buffer.size();
    bool found = FindIniEntry(buffer.data(), length, section, key);
    int removed = RemoveIniEntryLine(buffer.data(), &length, section, key);
    CHECK(removed == (found ? 1 : 0));
    return std::string(buffer.data(), length);
}

struct IniCase {
    const char* what;
    std::string text;
    const char* section;
    const char* key;
    std::string after;  // the text itself when nothing is removed
};
}  // namespace

TEST_CASE("an entry's whole line goes, with its line end") {
    const IniCase cases[] = {
        {"CR LF", "[Printers]\r\nLaser=QLNLSR.DLL\r\nInk=QLNINK.DLL\r\n", "Printers", "Laser",
         "[Printers]\r\nInk=QLNINK.DLL\r\n"},
        {"LF", "[Printers]\nInk=1\nLaser=2\n[Next]\n", "Printers", "Laser", "[Printers]\nInk=1\n[Next]\n"},
        {"section and key ignore case", "[PRINTERS]\nLASER=1\n", "printers", "laser", "[PRINTERS]\n"},
        {"blanks before the key and around =", "  [Printers]  ; note\n\t Laser = 1\r\nInk=2\r\n", "Printers",
         "Laser", "  [Printers]  ; note\nInk=2\r\n"},
        {"a key without =", "[Printers]\nLaser\nInk=2\n", "Printers", "Laser", "[Printers]\nInk=2\n"},
        {"the last line without a line end", "[A]\n[Printers]\nLaser=1", "Printers", "Laser",
         "[A]\n[Printers]\n"},
        {"only the first of two lines", "[Printers]\nLaser=1\nLaser=2\n", "Printers", "Laser",
         "[Printers]\nLaser=2\n"},
        {"a repeated section is searched too", "[Printers]\nInk=1\n[Other]\nLaser=2\n[printers]\nLaser=3\n",
         "Printers", "Laser", "[Printers]\nInk=1\n[Other]\nLaser=2\n[printers]\n"},
        {"an uncommented line after a commented one", "[Printers]\n;Laser=old\nLaser=new\n", "Printers",
         "Laser", "[Printers]\n;Laser=old\n"},
    };
    for (const IniCase& c : cases) {
        CAPTURE(c.what);
        CHECK(Remove(c.text, c.section, c.key) == c.after);
    }
}

TEST_CASE("text that only resembles the entry stays") {
    const IniCase cases[] = {
        {"only behind a semicolon", "[Printers]\n;Laser=old\n; Laser\nInk=1\n", "Printers", "Laser", ""},
        {"the entry is the start of another key", "[Ports]\nQStatusPort=1\nPortX=2\n", "Ports", "Port", ""},
        {"the entry ends another key", "[Ports]\nQStatusPort=1\n", "Ports", "StatusPort", ""},
        {"the entry inside a load line", "[windows]\nload=a.exe QLNSTAT.EXE b.exe\n", "windows",
         "QLNSTAT.EXE", ""},
        {"the entry as a value", "[Printers]\nDefault=Laser\n", "Printers", "Laser", ""},
        {"the key in another section", "[Other]\nLaser=1\n[Printers]\nInk=2\n", "Printers", "Laser", ""},
        {"the key before any section", "Laser=1\n[Printers]\nInk=2\n", "Printers", "Laser", ""},
        {"a section whose name begins with the section", "[PrintersOld]\nLaser=1\n", "Printers", "Laser", ""},
        {"a header inside a value does not open the section", "[A]\nx=[Printers]\nLaser=1\n", "Printers",
         "Laser", ""},
        {"the section header is the last text", "[A]\nLaser=1\n[Printers]", "Printers", "Laser", ""},
        {"the key cut off by the end of the text", "[Printers]\nLase", "Printers", "Laser", ""},
        {"empty text", "", "Printers", "Laser", ""},
        {"empty key", "[Printers]\n=1\n", "Printers", "", ""},
        {"empty section", "[]\nLaser=1\n", "", "Laser", ""},
    };
    for (const IniCase& c : cases) {
        CAPTURE(c.what);
        CHECK(Remove(c.text, c.section, c.key) == c.text);
    }
}

TEST_CASE("bytes after a NUL are still text") {
    std::string text("[Printers]\n\0x=1\nLaser=1\n", 24);
    CHECK(Remove(text, "Printers", "Laser") == std::string("[Printers]\n\0x=1\n", 16));
}

TEST_CASE("names longer than 63 characters are refused, not cut") {
    std::string key63(63, 'k');
    std::string key64(64, 'k');
    std::string section61(61, 's');  // "[" + 61 + "]" = 63
    std::string section62(62, 's');
    std::string text =
        "[" + section61 + "]\n" + key63 + "=1\n" + key64 + "=2\n[" + section62 + "]\n" + key63 + "=3\n";
    IniLine line;
    REQUIRE(FindIniEntry(text.data(), text.size(), section61.c_str(), key63.c_str(), &line));
    CHECK(text.substr(line.start, line.end - line.start) == key63 + "=1\n");
    CHECK_FALSE(FindIniEntry(text.data(), text.size(), section61.c_str(), key64.c_str()));
    CHECK_FALSE(FindIniEntry(text.data(), text.size(), section62.c_str(), key63.c_str()));
    // A cut key would have matched the 63-character key's line.
    CHECK(Remove(text, section61.c_str(), key64.c_str()) == text);
}
