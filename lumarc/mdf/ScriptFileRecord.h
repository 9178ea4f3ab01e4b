#pragma once

#include "ScriptFileChunk.h"

#include <initializer_list>

// A chunk with a fixed set of members. Its body is a directory of tagged,
// sized entries followed by the bodies; each entry whose tag names a member
// is read by that member, any other entry is skipped by its size.
class ScriptFileRecord : public ScriptFileChunk
{
public:
    bool read(ScriptFileStream& stream, uint32_t size) override;

    [[nodiscard]] virtual int childCount() const = 0;
    // The member at `index`; an index outside the table gives member 0.
    // Concrete records implement the const overload; this one forwards to it.
    [[nodiscard]] virtual ScriptFileChunk& childAt(int index);
    [[nodiscard]] virtual const ScriptFileChunk& childAt(int index) const = 0;
    // The member whose tag matches, or nullptr. Concrete records implement
    // the const overload; this one forwards to it.
    [[nodiscard]] virtual ScriptFileChunk* findChild(const ChunkTag& tag);
    [[nodiscard]] virtual const ScriptFileChunk* findChild(const ChunkTag& tag) const = 0;

protected:
    // The first of `members`, in the order given, whose tag is `tag`.
    [[nodiscard]] static const ScriptFileChunk*
    firstWithTag(std::initializer_list<const ScriptFileChunk*> members, const ChunkTag& tag);
};
