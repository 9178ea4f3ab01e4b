#include "ScriptFileRecord.h"

#include <utility>
#include <vector>

namespace
{
struct DirectoryEntry
{
    ChunkTag tag;
    uint32_t spare = 0;
    uint32_t size = 0;
};
constexpr uint64_t kDirectoryEntryBytes = 16;
} // namespace

bool ScriptFileRecord::read(ScriptFileStream& stream, uint32_t /*size*/)
{
    uint32_t entryCount = 0;
    stream.read32(entryCount);
    if (entryCount == 0 || !stream.require(entryCount * kDirectoryEntryBytes))
        return !stream.failed();

    std::vector<DirectoryEntry> directory(entryCount);
    for (DirectoryEntry& entry : directory)
    {
        for (char& byte : entry.tag.bytes)
        {
            uint8_t value = 0;
            stream.read8(value);
            byte = static_cast<char>(value);
        }
        stream.read32(entry.spare).read32(entry.size);
    }
    for (const DirectoryEntry& entry : directory)
    {
        if (stream.failed())
            break;
        if (ScriptFileChunk* member = findChild(entry.tag))
            member->read(stream, entry.size);
        else
            stream.skip(entry.size);
    }
    return !stream.failed();
}

ScriptFileChunk& ScriptFileRecord::childAt(int index)
{
    return const_cast<ScriptFileChunk&>(std::as_const(*this).childAt(index));
}

ScriptFileChunk* ScriptFileRecord::findChild(const ChunkTag& tag)
{
    return const_cast<ScriptFileChunk*>(std::as_const(*this).findChild(tag));
}

const ScriptFileChunk* ScriptFileRecord::firstWithTag(std::initializer_list<const ScriptFileChunk*> members,
                                                      const ChunkTag& tag)
{
    for (const ScriptFileChunk* member : members)
        if (member->tag() == tag)
            return member;
    return nullptr;
}
