// Speed of a .fit bank's placement: BuildOriginalList (the sort) and
// PlaceTextures on banks of 100, 1,000 and 5,000 small textures built in
// memory, without files. The goal is 1,000 textures in under 50 ms. The
// pass restarts from the head of the list after every placement, so the
// time is expected to grow faster than the count; the fitted complexity is
// printed with the figures.
#include "report/TexeloReporter.h"
#include "vram/Organiser.h"
#include "vram/Placement.h"
#include "vram/TextureRecord.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

namespace
{

constexpr int kPalettes = 8; // shared CLUTs keep the strips low

// `count` textures of 4 to 16 texels a side: mostly 4-bit, some 8-bit with
// 64-entry CLUTs and some 16-bit, the same for every run.
TextureList smallTextures(int count)
{
    std::mt19937 engine(12345);
    const auto pick = [&](int low, int high) { return low + static_cast<int>(engine() % (high - low + 1)); };
    TextureList records;
    for (int i = 0; i < count; ++i)
    {
        TextureRecord& record = *records.emplace_back(std::make_unique<TextureRecord>());
        record.Id = static_cast<uint32_t>(i);
        const int roll = pick(0, 99);
        const auto kind = roll < 70 ? TimKind::Indexed4 : roll < 85 ? TimKind::Indexed8 : TimKind::Direct16;
        const int texels = pick(4, 16);
        record.Kind = static_cast<uint8_t>(kind);
        record.Width = static_cast<uint16_t>(kind == TimKind::Indexed4   ? (texels + 3) / 4
                                             : kind == TimKind::Indexed8 ? (texels + 1) / 2
                                                                         : texels);
        record.Height = static_cast<uint16_t>(pick(4, 16));
        if (kind == TimKind::Direct16)
            continue;
        record.HasClut = 1;
        record.ClutWidth = kind == TimKind::Indexed4 ? 16 : 64;
        record.ClutData.assign(record.ClutWidth, static_cast<uint16_t>(pick(0, kPalettes - 1)));
    }
    return records;
}

void placeBank(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    int groups = 0;
    for (auto _ : state)
    {
        state.PauseTiming();
        auto bank = std::make_unique<TextureBank>();
        bank->PendingList = smallTextures(count);
        state.ResumeTiming();

        BuildOriginalList(*bank, true);
        if (!PlaceTextures(*bank, BankOptions{}).placed())
        {
            state.SkipWithError("the bank does not fit");
            break;
        }
        groups = 0;
        while (groups < static_cast<int>(bank->GroupWidths.size()) && bank->GroupWidths[groups] != 0)
            ++groups;

        state.PauseTiming();
        bank.reset();
        state.ResumeTiming();
    }
    state.counters["groups"] = groups;
    state.SetItemsProcessed(state.iterations() * count);
    state.SetComplexityN(count);
}

} // namespace

BENCHMARK(placeBank)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond)->Complexity();

BENCHMARK_MAIN();
