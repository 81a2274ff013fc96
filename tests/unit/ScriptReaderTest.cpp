#include <doctest/doctest.h>

#include <cstring>
#include <string>
#include <vector>

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

// A text with its NUL bytes, without the closing one.
template <size_t N>
std::string Bytes(const char (&text)[N]) {
    return std::string(text, N - 1);
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

TEST_CASE("reader: lines that cannot be read as written are left out, the rest is read") {
    const std::string n259(259, 'n'), k260(260, 'k');
    const struct {
        std::string text;
        std::string sections;
        int leftOut;
    } rows[] = {
        // A NUL byte inside a line: the line goes, the lines after it still count.
        {Bytes("[S]\na\0b=1\nc=2\n"), "[S]c=2;", 1},
        // NUL bytes alone are padding at the end of a file cut short, not a line.
        {Bytes("[S]\nk=v\n\0\0\0\n\0"), "[S]k=v;", 0},
        // A damaged header opens a section no lookup finds: its entries never join [S].
        {Bytes("[S]\n[Fi\0les]\nin=1\n[T]\nt\n"), "[S][]in=1;[T]t=;", 1},
        // UTF-16 text: every line holds NUL bytes, so nothing is read.
        {Bytes("[\0S\0]\0\r\0\n\0k\0=\0v\0"), "[]", 2},
        // Without any line end the file is one header line; the text after "]" does not count.
        {"[S]k=v", "[S]", 0},
        // Names, keys and whole entries of 259 characters fit; one more is not cut but left out.
        {"[" + n259 + "]\n" + std::string(259, 'k') + "\n", "[" + n259 + "]" + std::string(259, 'k') + "=;",
         0},
        {"[" + n259 + "n]\nx\n[S]\ny\n", "[]x=;[S]y=;", 1},
        {"[S]\n" + k260 + "\nk=" + std::string(258, 'v') + "\nk=" + std::string(257, 'v') + "\n",
         "[S]k=" + std::string(257, 'v') + ";", 2},
        // Padding does not count: the text is measured after trimming.
        {"[S]\nk=" + std::string(10, ' ') + std::string(257, 'v') + "  \n",
         "[S]k=" + std::string(257, 'v') + ";", 0},
        {"[S]\n" + std::string(4096, 'x') + "\nafter\n", "[S]after=;", 1},
    };
    for (const auto& row : rows) {
        CAPTURE(row.text);
        ScriptReader reader = Read(row.text);
        CHECK(Dump(reader) == row.sections);
        CHECK(reader.LeftOutLines() == row.leftOut);
    }
    // A cut name would have found the section of another name.
    ScriptReader cut = Read("[" + std::string(249, 'p') + ".FilesX]\nwrong.dll\n");
    CHECK(cut.FindSection((std::string(249, 'p') + ".Files").c_str()) == nullptr);
}

TEST_CASE("reader: a script of 100,000 lines is read whole") {
    std::string text = "[UnPrinterDrivers]\nDriver,P\n[P.Files]\n";
    for (int i = 0; i < 100000 - 3; ++i) text += "file" + std::to_string(i) + ".dll\n";
    ScriptReader reader = Read(text);
    CHECK(reader.SectionEntryCount("P.Files") == 100000 - 3);
    CHECK(reader.LeftOutLines() == 0);
    std::vector<char> lines(4096);
    // Every line counts in the total, even those that do not fit the buffer.
    int total = reader.GetSectionLines("p.files", lines.data(), static_cast<int>(lines.size()));
    CHECK(total < -1000000);
    CHECK(Multi(lines.data()).substr(0, 20) == "file0.dll|file1.dll|");
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

    // The data need not be terminated.
    const char data[] = {'[', 'A', ']', '\n', 'k'};
    ScriptReader unterminated;
    CHECK(unterminated.LoadFromMemory(data, sizeof data));
    CHECK(Dump(unterminated) == "[A]k=;");
}
