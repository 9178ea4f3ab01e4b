// Speed of ConvertToPsx on 256 x 256 textures: one where every pixel is a
// different colour (the counting worst case, ending at 16 bits), one with 16
// colours (4 bits) and one with 200 colours (8 bits). Each iteration converts
// a fresh copy of the pixels, since the conversion reduces them in place; the
// copy is part of the figure.
#include "convert/PsxConvert.h"
#include "report/TexeloReporter.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace
{

constexpr int kSide = 256;

// Colour number i (below 65536): its three 5-bit fields scaled to 8 bits, and
// the top bit as the alpha, so that all 65,536 numbers stay distinct after
// the reduction.
std::vector<uint8_t> texture(uint32_t colours)
{
    std::vector<uint8_t> pixels(static_cast<std::size_t>(kSide) * kSide * 4);
    for (uint32_t i = 0; i < kSide * kSide; ++i)
    {
        // Scatter the colours over the image, so runs do not flatter the count.
        const uint32_t colour = (i * 40503u) % colours;
        pixels[i * 4 + 0] = static_cast<uint8_t>((colour & 31) * 8);
        pixels[i * 4 + 1] = static_cast<uint8_t>(((colour >> 5) & 31) * 8);
        pixels[i * 4 + 2] = static_cast<uint8_t>(((colour >> 10) & 31) * 8);
        pixels[i * 4 + 3] = (colour >> 15) ? 255 : 0;
    }
    return pixels;
}

void convertTexture(benchmark::State& state, uint32_t colours, std::size_t expectedSize)
{
    const std::vector<uint8_t> source = texture(colours);
    std::FILE* sink = std::fopen("/dev/null", "w");
    TexeloReporter reporter(sink, sink);
    ColourTable table;
    std::vector<uint8_t> pixels;
    for (auto _ : state)
    {
        pixels = source;
        // Converted and encoded, as the bank writer will write it.
        const std::optional<TimImage> tim =
            ConvertToPsx(ConversionSettings{}, table, reporter, pixels.data(), kSide, kSide, "BENCH.TGA");
        const std::vector<uint8_t> bytes = tim ? EncodeTim(*tim) : std::vector<uint8_t>{};
        if (bytes.size() != expectedSize)
        {
            state.SkipWithError("unexpected TIM size");
            break;
        }
        benchmark::DoNotOptimize(bytes.data());
    }
    state.counters["colours"] = static_cast<double>(table.UniqueColourCount);
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
    std::fclose(sink);
}

void BM_Convert65536Colours(benchmark::State& state)
{
    convertTexture(state, 65536, kSide * kSide * 2 + 20);
}

void BM_Convert16Colours(benchmark::State& state)
{
    convertTexture(state, 16, 8 + 12 + 32 + 12 + kSide * kSide / 2);
}

void BM_Convert200Colours(benchmark::State& state)
{
    convertTexture(state, 200, 8 + 12 + 512 + 12 + kSide * kSide);
}

} // namespace

BENCHMARK(BM_Convert65536Colours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Convert16Colours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Convert200Colours)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
