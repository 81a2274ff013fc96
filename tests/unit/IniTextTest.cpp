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
    CHECK(RemoveIniEntryLine(buffer.data(), &length, section, key) == (found ? 1 : 0));
    return std::string(buffer.data(), length);
}
}  // namespace

TEST_CASE("an entry's whole line goes, with its line end") {
    struct {
        const char* text;
        const char* key;
        const char* after;
    } cases[] = {
        {"[Printers]\r\nLaser=QLNLSR.DLL\r\nInk=1\r\n", "Laser", "[Printers]\r\nInk=1\r\n"},
        {"  [PRINTERS]  ; note\n\t LASER = 1\nInk=2\n", "laser", "  [PRINTERS]  ; note\nInk=2\n"},
        {"[Printers]\nLaser\n[Next]\n", "Laser", "[Printers]\n[Next]\n"},
        {"[A]\n[Printers]\nLaser=1", "Laser", "[A]\n[Printers]\n"},  // no line end at the end
        {"[Printers]\nLaser=1\nLaser=2\n", "Laser", "[Printers]\nLaser=2\n"},
        {"[Printers]\nInk=1\n[Other]\nLaser=2\n[printers]\nLaser=3\n", "Laser",  // repeated section
         "[Printers]\nInk=1\n[Other]\nLaser=2\n[printers]\n"},
        {"[Printers]\n;Laser=old\nLaser=new\n", "Laser", "[Printers]\n;Laser=old\n"},
    };
    for (const auto& c : cases) {
        CAPTURE(c.text);
        CHECK(Remove(c.text, "Printers", c.key) == c.after);
    }
}

TEST_CASE("text that only resembles the entry stays") {
    const char* texts[] = {
        "[Printers]\n;Laser=old\n; Laser\n",     // only behind a semicolon
        "[Printers]\nLaserPort=1\nQLaser=2\n",   // the start or the end of another key
        "[Printers]\nload=a.exe Laser b.exe\n",  // inside a value
        "[Other]\nLaser=1\n[Printers]\nInk=2\n",
        "Laser=1\n[Printers]\n",
        "[PrintersOld]\nLaser=1\n",      // a section that begins with the name
        "[A]\nx=[Printers]\nLaser=1\n",  // a header inside a value opens nothing
        "[Printers]\nLase",              // the key cut off by the end of the text
        "",
    };
    for (const char* text : texts) {
        CAPTURE(text);
        CHECK(Remove(text, "Printers", "Laser") == text);
    }
    CHECK(Remove("[Printers]\n=1\n", "Printers", "") == "[Printers]\n=1\n");
}

TEST_CASE("names longer than 63 characters are refused, not cut") {
    std::string key63(63, 'k');
    std::string section61(61, 's');  // "[" + 61 + "]" = 63
    std::string text = "[" + section61 + "]\n" + key63 + "=1\n";
    IniLine line;
    REQUIRE(FindIniEntry(text.data(), text.size(), section61.c_str(), key63.c_str(), &line));
    CHECK(text.substr(line.start, line.end - line.start) == key63 + "=1\n");
    // Cut to 63 characters, the longer key would have found that line.
    CHECK_FALSE(FindIniEntry(text.data(), text.size(), section61.c_str(), (key63 + "k").c_str()));
    CHECK_FALSE(FindIniEntry(text.data(), text.size(), (section61 + "s").c_str(), key63.c_str()));
}
