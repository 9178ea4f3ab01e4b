#include "files/FolderListing.h"

#include <dirent.h>

#include <bit>
#include <cstring>
#include <memory>

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
    // At most half full, so probe runs stay short.
    listing.m_slots.assign(std::bit_ceil(offsets.size() * 2 + 2), 0);
    const std::size_t mask = listing.m_slots.size() - 1;
    for (const uint32_t offset : offsets)
    {
        const std::string_view name = listing.nameAt(offset);
        std::size_t slot = hashIgnoringCase(name) & mask;
        while (listing.m_slots[slot] != 0 &&
               !equalIgnoringCase(listing.nameAt(listing.m_slots[slot] - 1), name))
            slot = (slot + 1) & mask;
        if (listing.m_slots[slot] == 0 || name < listing.nameAt(listing.m_slots[slot] - 1))
            listing.m_slots[slot] = offset + 1;
    }
    return listing;
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
