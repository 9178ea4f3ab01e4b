#include "files/FolderListing.h"

#include <dirent.h>

#include <bit>
#include <cstring>
#include <memory>
#include <utility>

namespace
{

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// FNV-1a over the lower-cased bytes.
uint64_t hashIgnoringCase(std::string_view name)
{
    uint64_t hash = 14695981039346656037ull;
    for (const char c : name)
        hash = (hash ^ static_cast<unsigned char>(lower(c))) * 1099511628211ull;
    return hash;
}

bool equalIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

struct DirCloser
{
    void operator()(DIR* dir) const { closedir(dir); }
};

} // namespace

std::string_view FolderListing::nameAt(uint32_t offset) const
{
    return std::string_view(m_names.c_str() + offset);
}

void FolderListing::index(uint32_t offset)
{
    const std::string_view name = nameAt(offset);
    const std::size_t mask = m_slots.size() - 1;
    std::size_t slot = hashIgnoringCase(name) & mask;
    while (m_slots[slot] != 0 && !equalIgnoringCase(nameAt(m_slots[slot] - 1), name))
        slot = (slot + 1) & mask;
    if (m_slots[slot] == 0)
    {
        m_slots[slot] = offset + 1;
        ++m_indexed;
    }
    else if (name < nameAt(m_slots[slot] - 1))
        m_slots[slot] = offset + 1;
}

// At most half full, so probe runs stay short.
void FolderListing::resizeTable(std::size_t entries)
{
    const std::vector<uint32_t> old =
        std::exchange(m_slots, std::vector<uint32_t>(std::bit_ceil(entries * 2 + 2), 0));
    m_indexed = 0;
    for (const uint32_t slot : old)
        if (slot != 0)
            index(slot - 1);
}

FolderListing FolderListing::read(const std::string& folder)
{
    FolderListing listing;
    std::vector<uint32_t> offsets;
    {
        std::unique_ptr<DIR, DirCloser> dir(opendir(folder.c_str()));
        if (!dir)
            return listing;
        while (const dirent* entry = readdir(dir.get()))
        {
            const char* name = entry->d_name;
            if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
                continue;
            offsets.push_back(static_cast<uint32_t>(listing.m_names.size()));
            listing.m_names.append(name).push_back('\0');
        }
    }
    listing.resizeTable(offsets.size());
    for (const uint32_t offset : offsets)
        listing.index(offset);
    return listing;
}

void FolderListing::add(std::string_view name)
{
    // A name holds no NUL or slash; the one already listed stays as it is.
    if (name.empty() || name.find_first_of(std::string_view("\0/", 2)) != std::string_view::npos ||
        find(name) == name)
        return;
    if ((m_indexed + 1) * 2 + 2 > m_slots.size())
        resizeTable(m_indexed + 1);
    const auto offset = static_cast<uint32_t>(m_names.size());
    m_names.append(name).push_back('\0');
    index(offset);
}

std::string_view FolderListing::find(std::string_view name) const
{
    if (m_slots.empty())
        return {};
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = hashIgnoringCase(name) & mask; m_slots[slot] != 0; slot = (slot + 1) & mask)
        if (const std::string_view candidate = nameAt(m_slots[slot] - 1); equalIgnoringCase(candidate, name))
            return candidate;
    return {};
}
