#include <doctest/doctest.h>

#include <cstring>
#include <string>

#include "diag/AboutFacts.h"

TEST_CASE("the file version reads major.minor.build.revision with two-digit minimums") {
    const struct {
        unsigned long ms, ls;
        const char* text;
    } rows[] = {
        {0x00010000, 0x00000001, "1.00.00.01"},
        {0x00020005, 0x0011012D, "2.05.17.301"},
        {0xFFFFFFFF, 0xFFFFFFFF, "65535.65535.65535.65535"},
    };
    for (const auto& row : rows) {
        char text[32];
        CHECK(FormatVersionNumbers(row.ms, row.ls, text, sizeof text) == 1);
        CHECK(std::string(text) == row.text);
    }
    char shortText[6];
    CHECK(FormatVersionNumbers(0x00020005, 0x0011012D, shortText, sizeof shortText) == 0);
    CHECK(std::string(shortText) == "2.05.");
}

TEST_CASE("memory figures are whole kilobytes, also beyond what an int holds") {
    const struct {
        unsigned long long bytes;
        const char* text;
    } rows[] = {
        {0, "0 kb"},
        {1023, "0 kb"},
        {1024, "1 kb"},
        {2047, "1 kb"},
        {4294967295ULL, "4194303 kb"},            // the most a 32-bit Windows reports
        {2199023255552ULL, "2147483648 kb"},      // 2 TB: one past the largest int
        {140737488355328ULL, "137438953472 kb"},  // a 64-bit process's address space
        {18446744073709551615ULL, "18014398509481983 kb"},
    };
    for (const auto& row : rows) {
        char text[32];
        CHECK(FormatKilobytes(row.bytes, text, sizeof text) == 1);
        CHECK(std::string(text) == row.text);
    }
    char shortText[5];
    CHECK(FormatKilobytes(1048576, shortText, sizeof shortText) == 0);
    CHECK(std::strlen(shortText) == 4);
}
