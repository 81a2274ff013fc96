#include "TextList.h"

#include <cstring>
#include <iterator>

namespace {
bool Less(const TextItem& a, const TextItem& b) { return a.LessNoCase(b); }
bool Equal(const TextItem& a, const TextItem& b) { return CompareNoCase(a.Text(), b.Text()) == 0; }
}  // namespace

void TextList::Insert(int position, const char* text) {
    if (position < 0) position = 0;
    if (position > Count()) position = Count();
    items_.insert(items_.begin() + position, TextItem(text));
}

void TextList::Erase(int position) {
    if (position < 0 || position >= Count()) return;
    items_.erase(items_.begin() + position);
}

void TextList::Sort() {
    // Lists are mostly sorted already (script sections, merged unions); checking costs one pass.
    if (std::is_sorted(items_.begin(), items_.end(), Less)) return;
    // Sorting pointers and then copying each item once into place is far cheaper than letting the
    // sort move 260-byte items log n times.
    std::vector<const TextItem*> order;
    order.reserve(items_.size());
    for (const TextItem& item : items_) order.push_back(&item);
    std::stable_sort(order.begin(), order.end(), [](const TextItem* a, const TextItem* b) { return Less(*a, *b); });
    std::vector<TextItem> sorted;
    sorted.reserve(items_.size());
    for (const TextItem* item : order) sorted.push_back(*item);
    items_.swap(sorted);
}

void TextList::Unique() { items_.erase(std::unique(items_.begin(), items_.end(), Equal), items_.end()); }

void TextList::Merge(TextList& source) {
    if (source.items_.empty()) return;
    std::vector<TextItem> merged;
    merged.reserve(items_.size() + source.items_.size());
    // std::merge takes from the first range on ties, so this list's equal items come first.
    std::merge(items_.begin(), items_.end(), source.items_.begin(), source.items_.end(),
               std::back_inserter(merged), Less);
    items_.swap(merged);
    source.items_.clear();
}

void TextList::Difference(const TextList& source) {
    if (items_.empty() || source.items_.empty()) return;
    if (std::is_sorted(items_.begin(), items_.end(), Less) &&
        std::is_sorted(source.items_.begin(), source.items_.end(), Less)) {
        DifferenceOfSorted(source);
        return;
    }
    // Sorted copies of the source's keys make each look-up a binary search instead of a scan.
    std::vector<const TextItem*> keys;
    keys.reserve(source.items_.size());
    for (const TextItem& item : source.items_) keys.push_back(&item);
    std::sort(keys.begin(), keys.end(), [](const TextItem* a, const TextItem* b) { return Less(*a, *b); });
    auto inSource = [&keys](const TextItem& item) {
        auto it = std::lower_bound(keys.begin(), keys.end(), &item,
                                   [](const TextItem* a, const TextItem* b) { return Less(*a, *b); });
        return it != keys.end() && Equal(**it, item);
    };
    items_.erase(std::remove_if(items_.begin(), items_.end(), inSource), items_.end());
}

void TextList::DifferenceOfSorted(const TextList& source) {
    // Both lists ascend, so one walk over each finds every match.
    auto other = source.items_.begin();
    auto kept = items_.begin();
    for (auto it = items_.begin(); it != items_.end(); ++it) {
        while (other != source.items_.end() && Less(*other, *it)) ++other;
        if (other != source.items_.end() && Equal(*other, *it)) continue;
        if (kept != it) *kept = *it;
        ++kept;
    }
    items_.erase(kept, items_.end());
}

void TextList::Union(TextList& source) {
    Merge(source);
    Sort();
    Unique();
}

int TextList::Find(const char* text) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].EqualsNoCase(text)) return static_cast<int>(i);
    return -1;
}

void TextList::AppendMultiString(const char* multi) {
    if (!multi) return;
    for (const char* p = multi; *p; p += strlen(p) + 1) Append(p);
}
