#pragma once

// A bank built in memory: records with the sizes, depths and CLUTs a test
// names, placed by the organiser without any file.

#include "Organiser.h"
#include "Placement.h"
#include "TexeloContext.h"
#include "texelo/CapturingReporter.h"

#include <string>
#include <utility>

struct InMemoryBank
{
    CapturingReporter reporter;
    TexeloContext ctx{reporter};

    // A texture `width` words by `height` lines. Indexed kinds get a CLUT
    // of `clutWidth` entries (0: 16 at 4 bits, 256 at 8 bits) whose colours
    // come from `palette`; -1 gives each record colours of its own, so no
    // two records share a CLUT unless a test says so.
    TextureRecord& add(TimKind kind, uint16_t width, uint16_t height, int palette = -1, uint16_t clutWidth = 0,
                       uint16_t extraRows = 0)
    {
        auto record = std::make_unique<TextureRecord>();
        record->Id = static_cast<uint32_t>(ctx.PendingList.size());
        record->Name = formatText("T%u.tga", record->Id);
        record->Kind = static_cast<uint8_t>(kind);
        record->Width = width;
        record->Height = height;
        if (kind != TimKind::Direct16)
        {
            record->HasClut = 1;
            record->ClutWidth = clutWidth != 0 ? clutWidth : kind == TimKind::Indexed4 ? 16 : 256;
            record->ClutExtraRows = extraRows;
            const int colours = palette < 0 ? 1000 + static_cast<int>(record->Id) : palette;
            record->ClutData.assign(static_cast<std::size_t>(record->ClutWidth) * (extraRows + 1u),
                                    static_cast<uint16_t>(colours));
        }
        ++ctx.TextureCount;
        ctx.PendingList.push_back(std::move(record));
        return *ctx.PendingList.back();
    }

    TextureRecord& tiled(TimKind kind, uint16_t width, uint16_t height)
    {
        TextureRecord& record = add(kind, width, height);
        record.Tiled = 1;
        return record;
    }

    // A NULL line: no size, no CLUT, only a texture number.
    TextureRecord& placeholder()
    {
        TextureRecord& record = add(TimKind::Direct16, 0, 0);
        record.Kind = static_cast<uint8_t>(TimKind::Indexed4);
        return record;
    }

    // A PAL line: one word wide, no lines, only its CLUT counts.
    TextureRecord& paletteOnly(int palette = -1)
    {
        TextureRecord& record = add(TimKind::Indexed4, 1, 0, palette);
        record.PaletteOnly = 1;
        return record;
    }

    // Sorts (when SortTextures is on) and places, as OrganiseVram does
    // before it writes the bank.
    [[nodiscard]] bool place()
    {
        BuildOriginalList(ctx);
        ctx.Skyline.fill(0);
        return PlaceTextures(ctx);
    }

    // The record loaded `id`-th, wherever sorting put it.
    [[nodiscard]] const TextureRecord& loaded(uint32_t id) const { return *(*ctx.OriginalList)[id]; }
};

inline std::pair<int, int> clutAt(const TextureRecord& record)
{
    return {record.ClutX, record.ClutY};
}

inline std::pair<int, int> groupOrigin(const TextureRecord& record)
{
    return {record.GroupX, record.GroupY};
}
