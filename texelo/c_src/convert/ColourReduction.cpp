#include "convert/ColourReduction.h"

#include <libimagequant.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

// libimagequant spreads its work over OpenMP threads, and how the work is
// split changes the sums it rounds. One thread keeps the palette the same on
// every machine.
extern "C" void omp_set_num_threads(int threads);

namespace
{

constexpr unsigned kChannelMax = 31;
constexpr unsigned kFewestColours = 3; // black, one opaque colour, one with STP
constexpr std::size_t kGridSize = 32 * 32 * 32;
constexpr int kRefinementPasses = 24;
// libimagequant treats colours as value^(0.5499 / gamma). At 0.5499 its
// error is the plain squared error the console's colours are judged by; at
// its default, 0.45455, it separates dark colours more, which sometimes
// starts the refinement in a better place. Both are tried.
constexpr std::array<double, 2> kStartGammas{0.5499, 0.45455};
constexpr int kBestQuality = 1;
// Diffused error is kept in 1/256 of a 5-bit step and held within a few
// steps, so a long run of one colour cannot build up streaks.
constexpr int kErrorScale = 256;
constexpr int kErrorLimit = 4 * kErrorScale;

using Rgb5 = std::array<uint8_t, 3>;
using Palette = std::vector<Rgb5>;

uint32_t gridKey(const Rgb5& c)
{
    return uint32_t{c[0]} | uint32_t{c[1]} << 5 | uint32_t{c[2]} << 10;
}

Rgb5 fromGridKey(uint32_t key)
{
    return {static_cast<uint8_t>(key & 31), static_cast<uint8_t>(key >> 5 & 31),
            static_cast<uint8_t>(key >> 10 & 31)};
}

bool isBlack(const uint8_t* pixel)
{
    return pixel[0] == 0 && pixel[1] == 0 && pixel[2] == 0;
}

// Colours that never share a palette entry: those a pixel with alpha keeps
// opaque, and those with the STP bit (alpha 0).
enum ColourClass : std::size_t
{
    kOpaque = 0,
    kStp = 1,
};

ColourClass classOf(const uint8_t* pixel)
{
    return pixel[3] == 0 ? kStp : kOpaque;
}

// The distinct 5-bit colours of one class with their pixel counts, in key
// order.
struct Histogram
{
    std::vector<Rgb5> colours;
    std::vector<uint32_t> counts;
    uint64_t pixels = 0;
};

int distance(const Rgb5& a, const Rgb5& b)
{
    int sum = 0;
    for (std::size_t c = 0; c < 3; ++c)
        sum += (a[c] - b[c]) * (a[c] - b[c]);
    return sum;
}

// The nearest entry of a palette, the lowest index among equals. Entries are
// kept in order of green, and the search goes outwards from the colour's
// green until the green distance alone is more than the best found: with
// 256 entries that looks at a few dozen instead of all.
class NearestEntry
{
public:
    explicit NearestEntry(const Palette& palette) : m_palette(palette), m_order(palette.size())
    {
        for (std::size_t i = 0; i < m_order.size(); ++i)
            m_order[i] = i;
        std::stable_sort(m_order.begin(), m_order.end(),
                         [&](std::size_t a, std::size_t b) { return palette[a][1] < palette[b][1]; });
    }

    std::size_t operator()(const Rgb5& colour) const
    {
        const auto start = static_cast<std::size_t>(
            std::lower_bound(m_order.begin(), m_order.end(), colour[1],
                             [&](std::size_t entry, uint8_t green) { return m_palette[entry][1] < green; }) -
            m_order.begin());
        std::size_t best = m_palette.size();
        int bestDistance = std::numeric_limits<int>::max();
        const auto consider = [&](std::size_t entry)
        {
            const int green = m_palette[entry][1] - colour[1];
            if (green * green > bestDistance)
                return false;
            const int d = distance(m_palette[entry], colour);
            if (d < bestDistance || (d == bestDistance && entry < best))
            {
                best = entry;
                bestDistance = d;
            }
            return true;
        };
        for (std::size_t i = start; i < m_order.size() && consider(m_order[i]); ++i)
        {
        }
        for (std::size_t i = start; i-- > 0 && consider(m_order[i]);)
        {
        }
        return best;
    }

private:
    const Palette& m_palette;
    std::vector<std::size_t> m_order; // entry indices by rising green
};

// The console shows black as transparent: a colour rounded to black moves
// one step up in its strongest channel instead.
Rgb5 keptFromBlack(Rgb5 colour, const std::array<uint64_t, 3>& strength)
{
    if (colour == Rgb5{0, 0, 0})
        colour[static_cast<std::size_t>(std::max_element(strength.begin(), strength.end()) - strength.begin())] = 1;
    return colour;
}

// libimagequant's palette for the histogram, rounded to 5 bits; nothing when
// it cannot make one.
std::optional<Palette> quantizerPalette(const Histogram& histogram, unsigned entries, double gamma)
{
    const auto destroyAttr = [](liq_attr* a) { liq_attr_destroy(a); };
    const auto destroyHistogram = [](liq_histogram* h) { liq_histogram_destroy(h); };
    const auto destroyResult = [](liq_result* r) { liq_result_destroy(r); };
    const std::unique_ptr<liq_attr, decltype(destroyAttr)> attr(liq_attr_create(), destroyAttr);
    if (!attr || liq_set_max_colors(attr.get(), static_cast<int>(entries)) != LIQ_OK ||
        liq_set_speed(attr.get(), kBestQuality) != LIQ_OK)
        return std::nullopt;
    const std::unique_ptr<liq_histogram, decltype(destroyHistogram)> input(liq_histogram_create(attr.get()),
                                                                           destroyHistogram);
    if (!input)
        return std::nullopt;
    std::vector<liq_histogram_entry> colours;
    colours.reserve(histogram.colours.size());
    const auto expand = [](uint8_t c5) { return static_cast<unsigned char>(c5 << 3 | c5 >> 2); };
    for (std::size_t i = 0; i < histogram.colours.size(); ++i)
    {
        const Rgb5& c = histogram.colours[i];
        colours.push_back({{expand(c[0]), expand(c[1]), expand(c[2]), 255}, histogram.counts[i]});
    }
    omp_set_num_threads(1);
    liq_result* made = nullptr;
    if (liq_histogram_add_colors(input.get(), attr.get(), colours.data(), static_cast<int>(colours.size()),
                                 gamma) != LIQ_OK ||
        liq_histogram_quantize(input.get(), attr.get(), &made) != LIQ_OK || made == nullptr)
        return std::nullopt;
    const std::unique_ptr<liq_result, decltype(destroyResult)> result(made, destroyResult);
    const liq_palette* quantized = liq_get_palette(result.get());
    Palette palette;
    for (unsigned i = 0; i < quantized->count; ++i)
    {
        const liq_color& c = quantized->entries[i];
        const auto round5 = [](unsigned char v) { return static_cast<uint8_t>((v * kChannelMax + 127) / 255); };
        palette.push_back({round5(c.r), round5(c.g), round5(c.b)});
    }
    return palette;
}

// The most frequent colours, should the quantizer give no palette.
Palette mostFrequent(const Histogram& histogram, unsigned entries)
{
    std::vector<std::size_t> order(histogram.colours.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return histogram.counts[a] > histogram.counts[b]; });
    Palette palette;
    for (std::size_t i = 0; i < std::min<std::size_t>(entries, order.size()); ++i)
        palette.push_back(histogram.colours[order[i]]);
    return palette;
}

// Lloyd passes in whole 5-bit steps: each entry moves to the rounded mean of
// the colours nearest to it, which is the best 5-bit colour for them. An
// entry left without colours, or equal to another, moves to the colour worst
// served, so no entry is wasted.
Palette refine(const Histogram& histogram, Palette palette)
{
    const std::size_t n = histogram.colours.size();
    std::vector<std::size_t> owner(n);
    for (int pass = 0; pass < kRefinementPasses; ++pass)
    {
        std::vector<std::array<uint64_t, 3>> sums(palette.size(), {0, 0, 0});
        std::vector<uint64_t> weights(palette.size(), 0);
        std::vector<uint64_t> errors(n);
        const NearestEntry nearest(palette);
        for (std::size_t i = 0; i < n; ++i)
        {
            owner[i] = nearest(histogram.colours[i]);
            for (std::size_t c = 0; c < 3; ++c)
                sums[owner[i]][c] += uint64_t{histogram.counts[i]} * histogram.colours[i][c];
            weights[owner[i]] += histogram.counts[i];
            errors[i] = uint64_t{histogram.counts[i]} *
                        static_cast<uint64_t>(distance(histogram.colours[i], palette[owner[i]]));
        }
        Palette moved(palette.size());
        std::vector<bool> taken(kGridSize, false);
        for (std::size_t e = 0; e < palette.size(); ++e)
        {
            bool needsColour = weights[e] == 0;
            if (!needsColour)
            {
                for (std::size_t c = 0; c < 3; ++c)
                    moved[e][c] = static_cast<uint8_t>((2 * sums[e][c] + weights[e]) / (2 * weights[e]));
                moved[e] = keptFromBlack(moved[e], sums[e]);
                needsColour = taken[gridKey(moved[e])];
            }
            if (needsColour)
            {
                // The colour worst served that no entry holds yet.
                std::size_t worst = n;
                for (std::size_t i = 0; i < n; ++i)
                    if (!taken[gridKey(histogram.colours[i])] && (worst == n || errors[i] > errors[worst]))
                        worst = i;
                if (worst == n)
                    return Palette(moved.begin(), moved.begin() + static_cast<std::ptrdiff_t>(e));
                moved[e] = histogram.colours[worst];
                errors[worst] = 0;
            }
            taken[gridKey(moved[e])] = true;
        }
        if (moved == palette)
            break;
        palette = std::move(moved);
    }
    return palette;
}

uint64_t squaredError(const Histogram& histogram, const Palette& palette)
{
    const NearestEntry nearest(palette);
    uint64_t sum = 0;
    for (std::size_t i = 0; i < histogram.colours.size(); ++i)
        sum += uint64_t{histogram.counts[i]} *
               static_cast<uint64_t>(distance(histogram.colours[i], palette[nearest(histogram.colours[i])]));
    return sum;
}

// The refined palette of least error among those started from the
// quantizer's palettes and from the most frequent colours.
Palette choosePalette(const Histogram& histogram, unsigned entries)
{
    if (histogram.colours.size() <= entries)
        return histogram.colours;
    Palette best = refine(histogram, mostFrequent(histogram, entries));
    uint64_t bestError = squaredError(histogram, best);
    for (const double gamma : kStartGammas)
    {
        const std::optional<Palette> start =
            entries >= 2 ? quantizerPalette(histogram, entries, gamma) : std::nullopt;
        if (!start || start->empty())
            continue;
        Palette refined = refine(histogram, *start);
        if (const uint64_t error = squaredError(histogram, refined); error < bestError)
        {
            best = std::move(refined);
            bestError = error;
        }
    }
    return best;
}

// Entries for the opaque and the STP colours out of `entries`, in proportion
// to their pixels: each class present gets at least one, and none gets more
// than it has colours.
std::array<unsigned, 2> shareEntries(const std::array<Histogram, 2>& classes, unsigned entries)
{
    const Histogram& opaque = classes[kOpaque];
    const Histogram& stp = classes[kStp];
    const auto distinct = [](const Histogram& h) { return static_cast<unsigned>(h.colours.size()); };
    if (stp.pixels == 0)
        return {std::min(entries, distinct(opaque)), 0};
    if (opaque.pixels == 0)
        return {0, std::min(entries, distinct(stp))};
    const auto proportional = static_cast<unsigned>(
        std::llround(static_cast<double>(entries) * static_cast<double>(stp.pixels) /
                     static_cast<double>(opaque.pixels + stp.pixels)));
    unsigned stpEntries = std::clamp(proportional, 1u, std::min(distinct(stp), entries - 1));
    const unsigned opaqueEntries = std::min(distinct(opaque), entries - stpEntries);
    stpEntries = std::min(distinct(stp), entries - opaqueEntries);
    return {opaqueEntries, stpEntries};
}

// Maps every pixel but black to the nearest entry of its class, spreading
// `dither` percent of each pixel's error to the pixels right of and below it
// (Floyd-Steinberg weights). Black pixels neither take nor pass on error.
// The entry nearest to a colour with diffused error, in 1/kErrorScale steps.
std::size_t nearestToScaled(const Palette& palette, const std::array<int, 3>& wanted)
{
    std::size_t best = 0;
    int64_t bestDistance = std::numeric_limits<int64_t>::max();
    for (std::size_t i = 0; i < palette.size(); ++i)
    {
        int64_t d = 0;
        for (std::size_t c = 0; c < 3; ++c)
        {
            const int64_t step = wanted[c] - palette[i][c] * kErrorScale;
            d += step * step;
        }
        if (d < bestDistance)
        {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

void remap(const std::array<Palette, 2>& palettes, unsigned dither, const std::vector<uint8_t>& original,
           uint8_t* pixels, std::size_t width, std::size_t height)
{
    const std::array<NearestEntry, 2> nearest{NearestEntry(palettes[kOpaque]), NearestEntry(palettes[kStp])};
    std::vector<std::array<int, 3>> error(width * height, {0, 0, 0});
    for (std::size_t y = 0; y < height; ++y)
        for (std::size_t x = 0; x < width; ++x)
        {
            const std::size_t at = y * width + x;
            const uint8_t* source = original.data() + 4 * at;
            uint8_t* pixel = pixels + 4 * at;
            if (isBlack(source))
            {
                std::fill_n(pixel, 4, uint8_t{0});
                continue;
            }
            const ColourClass colourClass = classOf(source);
            const Palette& palette = palettes[colourClass];
            std::array<int, 3> wanted{};
            for (std::size_t c = 0; c < 3; ++c)
                wanted[c] = source[c] * kErrorScale + std::clamp(error[at][c], -kErrorLimit, kErrorLimit);
            const std::size_t best = dither == 0 ? nearest[colourClass]({source[0], source[1], source[2]})
                                                 : nearestToScaled(palette, wanted);
            std::copy_n(palette[best].begin(), 3, pixel);
            pixel[3] = colourClass == kStp ? 0 : 255;
            if (dither == 0)
                continue;
            const auto pass = [&](std::size_t toX, std::size_t toY, int sixteenths)
            {
                if (toX >= width || toY >= height || isBlack(original.data() + 4 * (toY * width + toX)))
                    return;
                for (std::size_t c = 0; c < 3; ++c)
                {
                    const int left = (wanted[c] - palette[best][c] * kErrorScale) * static_cast<int>(dither) / 100;
                    error[toY * width + toX][c] += left * sixteenths / 16;
                }
            };
            pass(x + 1, y, 7);
            pass(x - 1, y + 1, 3); // x - 1 wraps past the width at x = 0 and is skipped
            pass(x, y + 1, 5);
            pass(x + 1, y + 1, 1);
        }
}

double psnr(const std::vector<uint8_t>& original, const uint8_t* reduced, std::size_t pixels)
{
    uint64_t squared = 0;
    for (std::size_t i = 0; i < pixels; ++i)
        for (std::size_t c = 0; c < 3; ++c)
        {
            const int step = original[4 * i + c] - reduced[4 * i + c];
            squared += static_cast<uint64_t>(step * step);
        }
    if (squared == 0)
        return std::numeric_limits<double>::infinity();
    const double meanSquared = static_cast<double>(squared) / (3.0 * static_cast<double>(pixels));
    return 10.0 * std::log10(double{kChannelMax} * kChannelMax / meanSquared);
}

uint32_t countColours(const uint8_t* pixels, std::size_t count)
{
    std::vector<bool> seen(2 * kGridSize, false);
    uint32_t distinct = 0;
    for (std::size_t i = 0; i < count; ++i)
    {
        const uint8_t* pixel = pixels + 4 * i;
        const uint32_t key = gridKey({pixel[0], pixel[1], pixel[2]}) | (pixel[3] == 0 ? 0u : uint32_t{kGridSize});
        if (!seen[key])
        {
            seen[key] = true;
            ++distinct;
        }
    }
    return distinct;
}

} // namespace

std::optional<ReductionOutcome> ReduceColours(const ReductionSettings& settings, uint32_t colourCount,
                                              uint8_t* pixels, int width, int height)
{
    const unsigned maxColours = std::max<unsigned>(settings.MaxColours, kFewestColours);
    if (settings.MaxColours == 0 || colourCount <= maxColours || width <= 0 || height <= 0)
        return std::nullopt;
    const auto columns = static_cast<std::size_t>(width);
    const auto rows = static_cast<std::size_t>(height);
    const std::size_t count = columns * rows;
    const std::vector<uint8_t> original(pixels, pixels + 4 * count);

    std::array<std::vector<uint32_t>, 2> grid{std::vector<uint32_t>(kGridSize, 0),
                                              std::vector<uint32_t>(kGridSize, 0)};
    bool black = false;
    for (std::size_t i = 0; i < count; ++i)
    {
        const uint8_t* pixel = pixels + 4 * i;
        if (isBlack(pixel))
            black = true;
        else
            ++grid[classOf(pixel)][gridKey({pixel[0], pixel[1], pixel[2]})];
    }
    std::array<Histogram, 2> classes;
    for (std::size_t k = 0; k < 2; ++k)
        for (uint32_t key = 0; key < kGridSize; ++key)
            if (grid[k][key] != 0)
            {
                classes[k].colours.push_back(fromGridKey(key));
                classes[k].counts.push_back(grid[k][key]);
                classes[k].pixels += grid[k][key];
            }

    // Black is one entry of its own, all the others share the rest.
    const unsigned entries = maxColours - (black ? 1u : 0u);
    const std::array<unsigned, 2> shares = shareEntries(classes, entries);
    const std::array<Palette, 2> palettes{choosePalette(classes[kOpaque], shares[kOpaque]),
                                          choosePalette(classes[kStp], shares[kStp])};
    remap(palettes, std::min<unsigned>(settings.Dither, 100), original, pixels, columns, rows);
    return ReductionOutcome{colourCount, countColours(pixels, count), psnr(original, pixels, count)};
}
