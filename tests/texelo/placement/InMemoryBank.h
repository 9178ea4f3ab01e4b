#pragma once

// A bank built in memory: records with the sizes, depths and CLUTs a test
// names, placed by the organiser without any file.

#include "script/ScriptOptions.h"
#include "script/TexeloContext.h"
#include "CapturingReporter.h"
#include "vram/Organiser.h"
#include "vram/Placement.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>
#include <utility>

constexpr auto k4 = TimKind::Indexed4;
constexpr auto k8 = TimKind::Indexed8;
constexpr auto k16 = TimKind::Direct16;

struct InMemoryBank
{
    // Unsorted banks meet the cursor in load order.
    explicit InMemoryBank(bool sorted = true, bool separateCluts = false)
    {
        ctx.state.SortTextures = sorted;
        ctx.state.BankSeparateCluts = separateCluts;
    }

    CapturingReporter reporter;
    TexeloContext ctx{reporter};

    // Indexed kinds get a CLUT of `clutWidth` entries (0: 16 at 4 bits, 256
    // at 8 bits) coloured `palette`; -1 gives each record colours of its own,
    // so no two records share a CLUT unless a test says so.
    TextureRecord& add(TimKind kind, uint16_t width, uint16_t height, int palette = -1,
                       uint16_t clutWidth = 0, uint16_t extraRows = 0, bool tiled = false)
    {
        auto record = std::make_unique<TextureRecord>();
        record->Id = ctx.bank.TextureCount++;
        record->Name = formatText("T%u.tga", record->Id);
        record->Kind = static_cast<uint8_t>(kind);
        record->Width = width;
        record->Height = height;
        record->Tiled = tiled;
        if (kind != TimKind::Direct16)
        {
            record->HasClut = 1;
            record->ClutWidth = clutWidth != 0 ? clutWidth : kind == TimKind::Indexed4 ? 16 : 256;
            record->ClutExtraRows = extraRows;
            record->ClutData.assign(static_cast<std::size_t>(record->ClutWidth) * (extraRows + 1u),
                                    static_cast<uint16_t>(palette < 0 ? 1000 + record->Id : palette));
        }
        ctx.bank.PendingList.push_back(std::move(record));
        return *ctx.bank.PendingList.back();
    }
    TextureRecord& tiled(TimKind kind, uint16_t width, uint16_t height)
    {
        return add(kind, width, height, -1, 0, 0, true);
    }

    // A NULL line: no size, no CLUT, only a texture number.
    TextureRecord& placeholder()
    {
        TextureRecord& record = add(k16, 0, 0);
        record.Kind = static_cast<uint8_t>(k4);
        return record;
    }

    // A PAL line: one word wide, no lines, only its CLUT counts.
    TextureRecord& paletteOnly(int palette = -1)
    {
        TextureRecord& record = add(k4, 1, 0, palette);
        record.PaletteOnly = 1;
        return record;
    }

    // Sorts (when SortTextures is on) and places, as OrganiseVram does.
    [[nodiscard]] bool place()
    {
        BuildOriginalList(ctx.bank, ctx.state.SortTextures);
        return PlaceTextures(ctx.bank, bankOptions(ctx.state), reporter);
    }

    // The record loaded `id`-th, wherever sorting put it.
    [[nodiscard]] const TextureRecord& loaded(uint32_t id) const { return *(*ctx.bank.OriginalList)[id]; }
};

inline std::pair<int, int> clutAt(const TextureRecord& record)
{
    return {record.ClutX, record.ClutY};
}

inline void expectAt(const TextureRecord& record, int group, int x, int y)
{
    EXPECT_EQ((std::tuple{int(record.Group), int(record.X), int(record.Y)}), (std::tuple{group, x, y}))
        << record.Name;
}
