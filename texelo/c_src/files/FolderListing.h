#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The names in one folder, for answering many case-blind lookups after one
// read. Built for folders of thousands of textures: the names sit in one
// buffer and an open-addressing table indexes them by a case-blind hash, so
// reading costs little more per entry than the read itself.
class FolderListing
{
public:
    // The entries of `folder` other than "." and ".."; empty when it cannot
    // be read.
    [[nodiscard]] static FolderListing read(const std::string& folder);

    // The entry equal to `name` ignoring ASCII letter case; of several, the
    // first in name order. Empty when there is none. Valid until the next add.
    [[nodiscard]] std::string_view find(std::string_view name) const;

    // Lists `name` too, as a new entry of the folder would be listed by read.
    void add(std::string_view name);

private:
    [[nodiscard]] std::string_view nameAt(uint32_t offset) const;
    // Indexes the name at `offset`, unless an entry that sorts before it is
    // equal ignoring case. The table has a free slot.
    void index(uint32_t offset);
    void resizeTable(std::size_t entries);

    std::string m_names;           // each name followed by a NUL
    std::vector<uint32_t> m_slots; // offset + 1 into m_names; 0 is empty
    std::size_t m_indexed = 0;     // slots in use
};
