#pragma once
// An ordered list of TextItem values owned by value, with the set operations that keep entry lists
// sorted and free of duplicates ignoring case (see CompareNoCase).
#include <algorithm>
#include <vector>

#include "TextItem.h"

class TextList {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    bool IsEmpty() const { return items_.empty(); }
    const TextItem& At(int index) const { return items_[static_cast<size_t>(index)]; }
    TextItem& At(int index) { return items_[static_cast<size_t>(index)]; }

    void Append(const char* text) { items_.emplace_back(text); }
    void Append(const TextItem& item) { items_.push_back(item); }
    // Inserts before position; a position past the end appends.
    void Insert(int position, const char* text);
    void Erase(int position);
    void Clear() { items_.clear(); }
    // Makes room for count items without changing the list.
    void Reserve(int count) {
        if (count > 0) items_.reserve(static_cast<size_t>(count));
    }
    void Reverse() { std::reverse(items_.begin(), items_.end()); }

    // Stable ascending sort ignoring case.
    void Sort();
    // Removes every item equal (ignoring case) to the item before it.
    void Unique();
    // Merges a sorted source into this sorted list; of equal items this list's come first.
    // The source is left empty.
    void Merge(TextList& source);
    // Removes every item that equals (ignoring case) an item of source; the rest keep their order.
    void Difference(const TextList& source);
    // Merge, then sort, then unique: the union of two entry lists.
    void Union(TextList& source);

    // Index of the first item equal to text ignoring case, or -1.
    int Find(const char* text) const;
    bool Contains(const char* text) const { return Find(text) >= 0; }

    // Appends every element of a multi-string (texts each ended by NUL, closed by an empty text).
    void AppendMultiString(const char* multi);

    std::vector<TextItem>::const_iterator begin() const { return items_.begin(); }
    std::vector<TextItem>::const_iterator end() const { return items_.end(); }
    std::vector<TextItem>::iterator begin() { return items_.begin(); }
    std::vector<TextItem>::iterator end() { return items_.end(); }

private:
    void DifferenceOfSorted(const TextList& source);

    std::vector<TextItem> items_;
};

// The same operations on lists of larger records, by a key text the caller names, e.g.
// SortRecordsByKey(profiles, [](const UninstallProfile& p) { return p.name.Text(); }).
template <class Record, class KeyOf>
void SortRecordsByKey(std::vector<Record>& records, KeyOf key) {
    std::stable_sort(records.begin(), records.end(), [&key](const Record& a, const Record& b) {
        return CompareNoCase(key(a), key(b)) < 0;
    });
}

template <class Record, class KeyOf>
void UniqueRecordsByKey(std::vector<Record>& records, KeyOf key) {
    auto last = std::unique(records.begin(), records.end(), [&key](const Record& a, const Record& b) {
        return CompareNoCase(key(a), key(b)) == 0;
    });
    records.erase(last, records.end());
}

template <class Record, class KeyOf>
void MergeRecordsByKey(std::vector<Record>& target, std::vector<Record>& source, KeyOf key) {
    std::vector<Record> merged;
    merged.reserve(target.size() + source.size());
    std::merge(std::make_move_iterator(target.begin()), std::make_move_iterator(target.end()),
               std::make_move_iterator(source.begin()), std::make_move_iterator(source.end()),
               std::back_inserter(merged),
               [&key](const Record& a, const Record& b) { return CompareNoCase(key(a), key(b)) < 0; });
    target.swap(merged);
    source.clear();
}
