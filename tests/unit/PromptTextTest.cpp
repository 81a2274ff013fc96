#include <doctest/doctest.h>

#include <cstring>
#include <string>

#include "spooler/PromptText.h"

TEST_CASE("a notice fills its first %s with the argument and never reads the text as a format") {
    struct Case {
        const char* pattern;
        const char* argument;
        const char* expected;
    } cases[] = {
        {"The new default printer is '%s'", "Office Laser", "The new default printer is 'Office Laser'"},
        {"'%s' and '%s'", "A", "'A' and '%s'"},
        {"100%% gone: %s", "B", "100% gone: B"},
        // Directives from an edited text stay text: nothing is read from the call's arguments.
        {"%d %n %x %s %p", "C", "%d %n %x C %p"},
        {"trailing %", "D", "trailing %"},
        {"argument %s", "%s %n", "argument %s %n"},
        {"no placeholder", "E", "no placeholder"},
        {"%s", nullptr, ""},
        {nullptr, "F", ""},
    };
    for (const Case& c : cases) {
        CAPTURE(c.pattern);
        char out[128];
        CHECK(FormatPrompt(out, sizeof out, c.pattern, c.argument) == 1);
        CHECK(std::string(out) == c.expected);
    }
}

TEST_CASE("a notice longer than its buffer is cut and terminated") {
    const std::string longName(300, 'n');
    struct Case {
        size_t capacity;
        const char* expected;
    } cases[] = {{1, ""}, {4, "ab'"}, {6, "ab'nn"}};
    for (const Case& c : cases) {
        CAPTURE(c.capacity);
        char out[8];
        memset(out, 'x', sizeof out);
        CHECK(FormatPrompt(out, c.capacity, "ab'%s'", longName.c_str()) == 0);
        CHECK(std::string(out) == c.expected);
        CHECK(out[c.capacity] == 'x');  // nothing written past the capacity
    }
    char whole[1024];
    CHECK(FormatPrompt(whole, sizeof whole, "ab'%s'", longName.c_str()) == 1);
    CHECK(std::string(whole) == "ab'" + longName + "'");
}
