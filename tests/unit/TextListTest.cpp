#include <doctest/doctest.h>

#include <string>

#include "script/TextList.h"
#include "script/Tokens.h"

namespace {
std::string Join(const TextList& list) {
    std::string out;
    for (const TextItem& item : list) out += std::string(item.Text()) + "|";
    return out;
}
TextList Make(std::initializer_list<const char*> texts) {
    TextList list;
    for (const char* t : texts) list.Append(t);
    return list;
}
}  // namespace

TEST_CASE("comparison folds only A-Z and compares other bytes unsigned") {
    CHECK(CompareNoCase("Z", "z") == 0);
    CHECK(CompareNoCase("_", "a") < 0);
    CHECK(CompareNoCase("_", "A") < 0);  // 'A' folds to 'a' (0x61) above '_' (0x5F)
    CHECK(CompareNoCase("ab", "abc") < 0);
    CHECK(CompareNoCase("\xC9", "\xE9") != 0);  // no code-page folding
    CHECK(CompareNoCase("\xE9", "z") > 0);
    CHECK(CompareNoCase(nullptr, "") == 0);
}

TEST_CASE("items cut at 259 characters") {
    std::string longText(400, 'x');
    TextItem item;
    CHECK(item.Assign(longText.c_str()) == 0);
    CHECK(item.Length() == 259);
    CHECK(item.Append("y") == 0);
    CHECK(item.Length() == 259);
    item.Assign(item.Text());
    CHECK(item.Length() == 259);
}

TEST_CASE("sort is stable and unique keeps the first of equal items") {
    TextList list = Make({"b", "A", "a"});
    list.Sort();
    CHECK(Join(list) == "A|a|b|");
    list.Unique();
    CHECK(Join(list) == "A|b|");
}

TEST_CASE("merge puts the target's equal items first and empties the source") {
    TextList target = Make({"a", "C"});
    TextList source = Make({"A", "b", "c"});
    target.Merge(source);
    CHECK(Join(target) == "a|A|b|C|c|");
    CHECK(source.IsEmpty());
}

TEST_CASE("difference") {
    TextList list = Make({"x", "Y", "z", "y"});
    TextList self = list;
    self.Difference(self);
    CHECK(self.IsEmpty());
    TextList unchanged = list;
    unchanged.Difference(TextList());
    CHECK(Join(unchanged) == "x|Y|z|y|");
    list.Difference(Make({"y", "q"}));
    CHECK(Join(list) == "x|z|");
}

TEST_CASE("sort and difference on sorted and unsorted lists keep the order of equal spellings") {
    TextList list = Make({"b", "B", "a", "A", "b2", "a", "\xE9", "_"});
    list.Sort();
    CHECK(Join(list) == "_|a|A|a|b|B|b2|\xE9|");
    list.Sort();  // already sorted: nothing moves
    CHECK(Join(list) == "_|a|A|a|b|B|b2|\xE9|");

    // Both sorted, with repeated spellings on either side.
    TextList sorted = Make({"a", "A", "b", "B", "c", "d"});
    sorted.Difference(Make({"B", "b", "c", "e"}));
    CHECK(Join(sorted) == "a|A|d|");
    TextList self = Make({"a", "b", "B"});
    self.Difference(self);
    CHECK(self.IsEmpty());
    // A sorted list against an unsorted one gives the same as against its sorted form.
    TextList mixed = Make({"a", "b", "c", "d"});
    mixed.Difference(Make({"D", "a"}));
    CHECK(Join(mixed) == "b|c|");
}

TEST_CASE("NextToken and NextQuotedToken") {
    char noComma[] = "abc";
    CHECK(NextToken(noComma, ',') == nullptr);
    CHECK(std::string(noComma) == "abc");

    char three[] = "one,two,three";
    char* rest = NextToken(three, ',');
    REQUIRE(rest != nullptr);
    CHECK(std::string(three) == "one");
    CHECK(std::string(rest) == "two,three");

    char multi[] = "a\0bc\0\0";
    char* second = NextToken(multi, 0);
    REQUIRE(second != nullptr);
    CHECK(std::string(second) == "bc");
    CHECK(NextToken(second, 0) == nullptr);

    char quoted[] = "\"a b\" c d";
    char* after = NextQuotedToken(quoted, ' ');
    REQUIRE(after != nullptr);
    CHECK(std::string(quoted) == "\"a b\"");
    CHECK(std::string(after) == "c d");
}

TEST_CASE("TrimChar removes only leading and trailing occurrences") {
    char leading[] = "\"\"name";
    TrimChar(leading, '"');
    CHECK(std::string(leading) == "name");
    char both[] = "\"a\"b\"";
    TrimChar(both, '"');
    CHECK(std::string(both) == "a\"b");
    char all[] = "\"\"\"";
    TrimChar(all, '"');
    CHECK(std::string(all).empty());
}
