#pragma once

#include "PtrList.h"
#include "RlfGadget.h"

#include <cstdint>
#include <memory>

// A whole render-list file: a table of gadget offsets, then the gadgets.
class RlfFile
{
public:
    void addGadget(std::unique_ptr<RlfGadget> gadget) { gadgets.append(std::move(gadget)); }

    // The length of the file write() produces; independent of layout().
    [[nodiscard]] int64_t size() const;
    // Runs each gadget's layout pass, once per conversion.
    void layout();
    bool write(BinaryOutStream& stream) const;

    PtrList<RlfGadget> gadgets;
};
