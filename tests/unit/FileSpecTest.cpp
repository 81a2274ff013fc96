#include <doctest/doctest.h>

#include <string>

#include "script/FileSpec.h"
#include "script/Locations.h"

namespace {
struct SplitRow {
    const char* path;
    const char* drive;
    const char* directory;
    const char* fileName;
    const char* extension;
};

FileSpec Parts(const char* drive, const char* directory, const char* fileName, const char* extension) {
    FileSpec spec;
    spec.drive.Assign(drive);
    spec.directory.Assign(directory);
    spec.fileName.Assign(fileName);
    spec.extension.Assign(extension);
    return spec;
}
}  // namespace

TEST_CASE("a path splits into drive, directory, name and extension") {
    const SplitRow rows[] = {
        {"C:\\WINDOWS\\SYSTEM\\Qunz__01.unm", "C:", "\\WINDOWS\\SYSTEM\\", "Qunz__01", ".unm"},
        {"C:\\dir.d\\name", "C:", "\\dir.d\\", "name", ""},  // a dot in the directory is no extension
        {"a/b\\c.tar.gz", "", "a/b\\", "c.tar", ".gz"},      // both slashes end the directory
        {"\\\\server\\share\\f.txt", "", "\\\\server\\share\\", "f", ".txt"},
        {"C:file.txt", "C:", "", "file", ".txt"},
        {"C:\\spool\\drivers\\x64\\", "C:", "\\spool\\drivers\\x64\\", "", ""},
        {"name.", "", "", "name", "."},
        {".profile", "", "", "", ".profile"},
        {"X", "", "", "X", ""},
        {":\\odd", "", ":\\", "odd", ""},  // ':' first is no drive
        {"", "", "", "", ""},
    };
    for (const SplitRow& row : rows) {
        CAPTURE(row.path);
        FileSpec spec;
        spec.SetPath(row.path);
        CHECK(std::string(spec.drive.Text()) == row.drive);
        CHECK(std::string(spec.directory.Text()) == row.directory);
        CHECK(std::string(spec.fileName.Text()) == row.fileName);
        CHECK(std::string(spec.extension.Text()) == row.extension);
        CHECK(std::string(spec.FullPath()) == row.path);  // joining gives the path back
    }
    FileSpec spec;
    spec.SetPath(nullptr);
    CHECK(std::string(spec.FullPath()).empty());
}

TEST_CASE("joining adds the separators that the parts lack") {
    FileSpec bare = Parts("C", "WINDOWS", "WIN", "INI");
    CHECK(std::string(bare.FullPath()) == "C:WINDOWS\\WIN.INI");
    CHECK(std::string(bare.DirectoryPath()) == "C:WINDOWS\\");
    CHECK(std::string(bare.NameAndExtension()) == "WIN.INI");

    FileSpec slash = Parts("D:", "/tmp/", "x", ".y");
    CHECK(std::string(slash.FullPath()) == "D:/tmp/x.y");
    CHECK(std::string(slash.result.Text()) == "D:/tmp/x.y");  // every join lands in result

    FileSpec directoryOnly = Parts("C:", "\\spool\\", "", "");
    CHECK(std::string(directoryOnly.FullPath()) == std::string(directoryOnly.DirectoryPath()));
    CHECK(std::string(directoryOnly.NameAndExtension()).empty());
}

TEST_CASE("clear empties every field, the scratch result included") {
    FileSpec spec;
    spec.SetPath("C:\\a\\b.c");
    spec.FullPath();
    spec.Clear();
    CHECK(spec.drive.IsEmpty());
    CHECK(spec.directory.IsEmpty());
    CHECK(spec.fileName.IsEmpty());
    CHECK(spec.extension.IsEmpty());
    CHECK(spec.result.IsEmpty());
}

TEST_CASE("over-long paths are cut at the field size and never overrun") {
    std::string deep = "C:\\" + std::string(300, 'd') + "\\" + std::string(300, 'n') + "." + std::string(300, 'e');
    FileSpec spec;
    spec.SetPath(deep.c_str());
    CHECK(spec.directory.Length() == 259);
    CHECK(spec.fileName.Length() == 259);
    CHECK(spec.extension.Length() == 259);
    CHECK(std::string(spec.FullPath()).size() == 259);
}

TEST_CASE("a subdirectory is appended as name and backslash") {
    FileSpec spec;
    spec.SetPath("C:\\windows\\system32\\spool\\drivers\\x64\\");
    CHECK(std::string(spec.AppendSubdirectory("3")) == "C:\\windows\\system32\\spool\\drivers\\x64\\3\\");

    spec.SetPath("C:\\dir\\file.txt");
    spec.directory.Assign("\\dir");  // a directory without its closing backslash gets one first
    CHECK(std::string(spec.AppendSubdirectory("sub")) == "C:\\dir\\sub\\file.txt");

    std::string before = spec.FullPath();
    CHECK(std::string(spec.AppendSubdirectory("")) == before);
    CHECK(std::string(spec.AppendSubdirectory(nullptr)) == before);
}

TEST_CASE("a subdirectory that does not fit leaves the directory as it was") {
    FileSpec spec;
    std::string directory = "\\" + std::string(250, 'd') + "\\";
    spec.directory.Assign(directory.c_str());
    spec.AppendSubdirectory("0123456789");
    CHECK(std::string(spec.directory.Text()) == directory);
}

TEST_CASE("a backslash is appended once, never to an empty text, never past the buffer") {
    TextItem item("C:\\x");
    CHECK(AppendBackslash(item) == 1);
    CHECK(std::string(item.Text()) == "C:\\x\\");
    CHECK(AppendBackslash(item) == 1);
    CHECK(std::string(item.Text()) == "C:\\x\\");

    TextItem empty;
    CHECK(AppendBackslash(empty) == 1);
    CHECK(empty.IsEmpty());

    char full[4] = "abc";
    CHECK(AppendBackslash(full, sizeof full) == 0);
    CHECK(std::string(full) == "abc");

    char unterminated[3] = {'a', 'b', 'c'};
    CHECK(AppendBackslash(unterminated, sizeof unterminated) == 0);
}

TEST_CASE("only a drive with a slash, or a UNC path, is a full path") {
    struct {
        const char* path;
        bool full;
    } cases[] = {
        {"C:\\QUELLAN\\VIZORA32.EXE", true},
        {"c:/q/v.exe", true},
        {"\\\\server\\share\\V.EXE", true},
        {"//server/share/V.EXE", true},
        {"C:VIZORA32.EXE", false},
        {"\\QUELLAN\\V.EXE", false},
        {"QUELLAN\\V.EXE", false},
        {".\\V.EXE", false},
        {"C:", false},
        {"C", false},
        {"", false},
    };
    for (const auto& c : cases) {
        CAPTURE(c.path);
        CHECK(IsFullPath(c.path) == c.full);
    }
    CHECK_FALSE(IsFullPath(nullptr));
}

TEST_CASE("location labels name the seven directory variables") {
    CHECK(std::string(LocationLabel(3)) == "WINDIR");
    CHECK(std::string(LocationLabel(4)) == "SYSDIR");
    CHECK(std::string(LocationLabel(33)) == "COLORDIR");
    CHECK(std::string(LocationLabel(28)) == "PRINTPROCDIR");
    CHECK(std::string(LocationLabel(29)) == "PRINTPROCDIR_W40");
    CHECK(std::string(LocationLabel(26)) == "PRINTDRIVERDIR");
    CHECK(std::string(LocationLabel(27)) == "PRINTDRIVERDIR_W40");
    CHECK(LocationLabel(1) == nullptr);
    CHECK(LocationLabel(36) == nullptr);
}

TEST_CASE("shell folders are the table's CSIDL values and nothing else") {
    CHECK(ShellFolderCsidl(kLocDesktop) == 0);
    CHECK(ShellFolderCsidl(kLocProgramFiles) == 38);
    CHECK(ShellFolderCsidl(kLocCommonPrograms) == 23);
    int count = 0;
    for (int location = 0; location <= kLocLast + 1; ++location)
        if (ShellFolderCsidl(location) >= 0) ++count;
    CHECK(count == 22);
    CHECK(ShellFolderCsidl(kLocPrintDriverDir) == -1);
    CHECK(ShellFolderCsidl(8) == -1);
}

TEST_CASE("a shell folder path is used only when its backslash still fits") {
    TextItem out;
    std::string fits(258, 'p');
    CHECK(UseShellFolderPath(fits.c_str(), out));
    CHECK(out.Length() == 259);
    CHECK(out.Text()[258] == '\\');

    std::string tooLong(259, 'p');
    out.Assign("stale");
    CHECK_FALSE(UseShellFolderPath(tooLong.c_str(), out));
    CHECK(out.IsEmpty());

    CHECK(UseShellFolderPath("C:\\users\\root\\Documents\\", out));
    CHECK(std::string(out.Text()) == "C:\\users\\root\\Documents\\");
}
