#include <doctest/doctest.h>

#include <cstring>
#include <string>

#include "script/ScriptReader.h"

namespace {
ScriptReader Read(const std::string& text) {
    ScriptReader reader;
    reader.LoadFromMemory(text.data(), text.size());
    return reader;
}

// Sections and entries as "[name]k=v;k2=;" for whole-file comparisons.
std::string Dump(const ScriptReader& reader) {
    std::string out;
    for (int i = 0; i < reader.SectionCount(); ++i) {
        const ScriptSection& section = reader.Section(i);
        out += "[" + std::string(section.name.Text()) + "]";
        for (const ScriptEntry& entry : section.entries)
            out += std::string(entry.key.Text()) + "=" + entry.value.Text() + ";";
    }
    return out;
}

std::string Multi(const char* buffer) {
    std::string out;
    for (const char* p = buffer; *p; p += strlen(p) + 1) out += std::string(p) + "|";
    return out;
}
}  // namespace

TEST_CASE("reader: every mix of line ends and blank lines gives the same sections") {
    const char* variants[] = {
        "[A]\r\nk=v\r\nx\r\n[B]\r\ny=1",
        "[A]\nk=v\nx\n[B]\ny=1\n",
        "[A]\rk=v\rx\r[B]\ry=1\r",
        "[A]\n\r\n\nk=v\r\r\n\rx\n\n[B]\r\n\r\ny=1",
        "\r\n\n[A]\nk=v\r\nx\r[B]\n\ry=1\n\n",
    };
    for (const char* text : variants) {
        CAPTURE(text);
        CHECK(Dump(Read(text)) == "[A]k=v;x=;[B]y=1;");
    }
}

TEST_CASE("reader: ignored lines") {
    ScriptReader reader = Read(
        "before=header\n"
        "[S]\n"
        "; comment\n"
        " indented=ignored\n"
        "\tkey = tabbed \n"
        "=empty key\n"
        "[no closing bracket\n"
        "last=line");
    CHECK(Dump(reader) == "[S]\tkey=tabbed;=empty key;last=line;");
}

TEST_CASE("reader: headers") {
    ScriptReader reader = Read("[ Files ]\na\n[files] trailing ] text\nb\n[Files]\nc\n[]\nd\n");
    REQUIRE(reader.SectionCount() == 4);
    CHECK(std::string(reader.Section(0).name.Text()) == " Files ");
    CHECK(std::string(reader.Section(1).name.Text()) == "files");
    // Lookups ignore case and take the first section of a name; " Files " is another name.
    CHECK(reader.FindSection("FILES") == &reader.Section(1));
    CHECK(reader.SectionEntryCount("Files") == 1);
    CHECK(reader.SectionEntryCount(" files ") == 1);
    CHECK(reader.FindSection("") == nullptr);
    CHECK(reader.FindSection(nullptr) == nullptr);
    CHECK(reader.SectionEntryCount("missing") == 0);
}

TEST_CASE("reader: entry lines split at the first = and lose their comment") {
    ScriptReader reader = Read("[S]\n  \nkey  =  a value  ; the comment = x\nk=v=w\nnovalue ;c\n\"q;uoted\"=x\n");
    CHECK(Dump(reader) == "[S]key=a value;k=v=w;novalue=;\"q=;");
    char lines[64];
    CHECK(reader.GetSectionLines("s", lines, sizeof lines) == 29);
    CHECK(Multi(lines) == "key=a value|k=v=w|novalue|\"q|");
    char keys[64];
    CHECK(reader.GetSectionKeys("S", keys, sizeof keys) == 17);
    CHECK(Multi(keys) == "key|k|novalue|\"q|");
}

TEST_CASE("reader: multi-string copies stop at the capacity and stay well formed") {
    std::string text = "[S]\n";
    for (int i = 0; i < 3; ++i) text += std::string(99, char('a' + i)) + "\n";  // 3 keys of 100 bytes
    ScriptReader reader = Read(text);
    char buffer[260];
    memset(buffer, 'x', sizeof buffer);
    CHECK(reader.GetSectionKeys("S", buffer, 260) == -300);
    CHECK(Multi(buffer) == std::string(99, 'a') + "|" + std::string(99, 'b') + "|");
    CHECK(buffer[200] == 0);
    CHECK(buffer[201] == 'x');  // nothing written past the closing NUL

    // The rule is "below the capacity": a total equal to it does not fit.
    char whole[301];
    CHECK(reader.GetSectionKeys("S", whole, 300) == -300);
    CHECK(reader.GetSectionKeys("S", whole, 301) == 300);

    char tiny[1] = {'x'};
    CHECK(reader.GetSectionKeys("S", tiny, 1) == -300);
    CHECK(tiny[0] == 0);
    CHECK(reader.GetSectionKeys("S", tiny, 0) == -300);  // capacity 0: never written
    CHECK(reader.GetSectionKeys("S", nullptr, 10) == 0);
    CHECK(reader.GetSectionKeys("T", buffer, 10) == 0);

    ScriptReader empty = Read("[E]\n[F]\nx\n");
    buffer[0] = 'x';
    CHECK(empty.GetSectionLines("E", buffer, 10) == 0);
    CHECK(buffer[0] == 0);
}

TEST_CASE("reader: texts over 259 characters are cut, the rest of the line still counts") {
    std::string name(300, 'N');
    std::string key(300, 'K');
    std::string value(300, 'V');
    ScriptReader reader = Read("[" + name + "]\n" + key + "=" + value + "\n");
    REQUIRE(reader.SectionCount() == 1);
    CHECK(reader.Section(0).name.Length() == 259);
    REQUIRE(reader.Section(0).entries.size() == 1);
    CHECK(reader.Section(0).entries[0].key.Length() == 259);
    CHECK(reader.Section(0).entries[0].value.Length() == 259);
    // Trimming comes before the cut: padding does not eat into the 259 characters.
    ScriptReader padded = Read("[S]\nk=" + std::string(10, ' ') + std::string(259, 'v') + "   \n");
    CHECK(padded.Section(0).entries[0].value.Length() == 259);
    // A line of key=value is up to 519 characters and is copied whole.
    char lines[4096];
    CHECK(reader.GetSectionLines(std::string(259, 'n').c_str(), lines, sizeof lines) == 520);
}

TEST_CASE("reader: loading") {
    ScriptReader reader;
    CHECK_FALSE(reader.LoadFromMemory("", 0));
    CHECK_FALSE(reader.LoadFromMemory(nullptr, 5));
    CHECK(reader.LoadFromMemory("no header\n", 10));  // read, but holds nothing
    CHECK(reader.SectionCount() == 0);
    CHECK(reader.LoadFromMemory("[A]\nx", 5));
    CHECK_FALSE(reader.LoadFromMemory("[B]\ny", 5));  // a reader that holds sections refuses more
    CHECK(Dump(reader) == "[A]x=;");

    // The data need not be terminated; an embedded NUL ends the text.
    const char data[] = {'[', 'A', ']', '\n', 'k', 0, '\n', 'z', '\n'};
    ScriptReader nul;
    CHECK(nul.LoadFromMemory(data, sizeof data));
    CHECK(Dump(nul) == "[A]k=;");
}
