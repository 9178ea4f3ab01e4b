#pragma once

// lumarc/rlf owns the render list (RLF) as Lumarc writes it: its model, the
// binary output stream, the conversion from a layout and the save sequence.

#include "PtrList.h"
#include "RlfGadget.h"

#include <cstdint>
#include <memory>

// A whole render-list file: a table of gadget offsets, then the gadgets.
class RlfFile
{
    // Declared first, so destroyed last: the gadgets and their lists live in
    // it.
    ChunkArena m_arena;

public:
    void addGadget(std::unique_ptr<RlfGadget> gadget) { gadgets.append(std::move(gadget)); }
    // Appends a new gadget kept, with its lists, in the file's arena.
    RlfGadget& addNewGadget(std::string_view name) { return gadgets.emplace(name, m_arena); }

    // The length of the file write() produces; independent of layout().
    [[nodiscard]] int64_t size() const;
    // Runs each gadget's layout pass, once per conversion.
    void layout();
    bool write(BinaryOutStream& stream) const;

    PtrList<RlfGadget> gadgets{m_arena};
};
