#include "convert/PsxConvert.h"

#include "convert/LittleEndian.h"

#include <algorithm>
#include <array>
#include <exception>
#include <limits>
#include <string>
#include <utility>

namespace
{

constexpr std::size_t kCluts4 = 16;
constexpr uint32_t kMaxColours4 = 16;
constexpr uint32_t kMaxColours8 = 256;
constexpr int kMaxTimSide = 65535; // width and height are 16-bit TIM fields

constexpr std::string_view kSpriteAllocFailed = "Error allocating memory for PSX sprite data.";
constexpr std::string_view kDowngrade4AllocFailed = "Error allocating memory for 4 bit downgrade buffer.";
constexpr std::string_view kDowngrade8AllocFailed = "Error allocating memory for 8 bit downgrade buffer.";

// The four bytes R, G, B, A as one value, so colours compare in one step.
uint32_t colourKey(const uint8_t* pixel)
{
    return uint32_t{pixel[0]} | uint32_t{pixel[1]} << 8 | uint32_t{pixel[2]} << 16 | uint32_t{pixel[3]} << 24;
}

uint32_t colourKey(const UniqueColour& colour)
{
    return uint32_t{colour.r} | uint32_t{colour.g} << 8 | uint32_t{colour.b} << 16 | uint32_t{colour.a} << 24;
}

// Fibonacci hashing: the top bits of the product spread the small channel
// values of reduced colours over the whole table.
std::size_t hashSlot(uint32_t key, unsigned bits)
{
    return (key * 0x9E3779B1u) >> (32 - bits);
}

std::size_t pixelCount(int width, int height)
{
    return (width <= 0 || height <= 0) ? 0
                                       : static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

// Open-addressing set of colour keys that grows with the number of colours,
// so counting stays linear even for an image where every pixel differs.
class ColourSet
{
public:
    // True when the key was not in the set yet.
    bool insert(uint32_t key)
    {
        if (key == kEmpty)
            return !std::exchange(m_sawEmptyKey, true);
        if ((m_used + 1) * 2 > m_slots.size())
            grow();
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t slot = hashSlot(key, m_bits);; slot = (slot + 1) & mask)
        {
            if (m_slots[slot] == key)
                return false;
            if (m_slots[slot] == kEmpty)
            {
                m_slots[slot] = key;
                ++m_used;
                return true;
            }
        }
    }

private:
    static constexpr uint32_t kEmpty = 0xFFFFFFFF;

    // Quadrupling keeps the rehashing of a many-colour image to a few rounds.
    void grow()
    {
        std::vector<uint32_t> old = std::move(m_slots);
        m_bits = old.empty() ? 10 : m_bits + 2;
        m_slots.assign(std::size_t{1} << m_bits, kEmpty);
        const std::size_t mask = m_slots.size() - 1;
        for (const uint32_t key : old)
        {
            if (key == kEmpty)
                continue;
            std::size_t slot = hashSlot(key, m_bits);
            while (m_slots[slot] != kEmpty)
                slot = (slot + 1) & mask;
            m_slots[slot] = key;
        }
    }

    std::vector<uint32_t> m_slots;
    unsigned m_bits = 0;
    std::size_t m_used = 0;
    bool m_sawEmptyKey = false;
};

// Maps a colour to the first table entry with the same four bytes; built once
// per downgrade so each pixel costs a hash probe instead of a table scan.
class ColourIndex
{
public:
    explicit ColourIndex(const ColourTable& colours) : m_missing(colours.UniqueColourCount)
    {
        m_entry.fill(kNoEntry);
        const std::size_t entries = std::min({std::size_t{colours.UniqueColourCount},
                                              colours.UniqueColourTable.size(), kUniqueColourCapacity});
        for (std::size_t i = 0; i < entries; ++i)
        {
            const uint32_t key = colourKey(colours.UniqueColourTable[i]);
            std::size_t slot = hashSlot(key, kBits);
            while (m_entry[slot] != kNoEntry && m_keys[slot] != key)
                slot = (slot + 1) & (kSlots - 1);
            if (m_entry[slot] == kNoEntry) // an earlier entry with the same colour wins
            {
                m_keys[slot] = key;
                m_entry[slot] = static_cast<uint16_t>(i);
            }
        }
    }

    // The entry's index, or UniqueColourCount for a colour not in the table.
    [[nodiscard]] uint32_t find(uint32_t key) const
    {
        for (std::size_t slot = hashSlot(key, kBits); m_entry[slot] != kNoEntry;
             slot = (slot + 1) & (kSlots - 1))
        {
            if (m_keys[slot] == key)
                return m_entry[slot];
        }
        return m_missing;
    }

private:
    static constexpr unsigned kBits = 9;
    static constexpr std::size_t kSlots = std::size_t{1} << kBits; // twice the table, so probes stay short
    static constexpr uint16_t kNoEntry = 0xFFFF;

    std::array<uint32_t, kSlots> m_keys{};
    std::array<uint16_t, kSlots> m_entry{};
    uint32_t m_missing;
};

std::size_t columnsOf(int width)
{
    return width > 0 ? static_cast<std::size_t>(width) : 0;
}

std::size_t rowsOf(int height)
{
    return height > 0 ? static_cast<std::size_t>(height) : 0;
}

std::optional<std::vector<uint8_t>> allocateZeroed(TexeloReporter& reporter, uint64_t bytes,
                                                   std::string_view failure)
{
    try
    {
        if (bytes <= std::numeric_limits<uint32_t>::max())
            return std::vector<uint8_t>(static_cast<std::size_t>(bytes), 0);
    }
    catch (const std::exception&) // bad_alloc, or a length the vector cannot have
    {
    }
    reporter.ReportError(failure);
    reporter.error(formatText("out of memory for %llu bytes of converted texels",
                              static_cast<unsigned long long>(bytes)));
    return std::nullopt;
}

// The image around converted texels; nothing when a TIM of its size could
// not be addressed with 32-bit lengths.
std::optional<TimImage> makeImage(TexeloReporter& reporter, TimKind kind, std::vector<uint16_t> clut,
                                  int width, int height, std::vector<uint8_t> texels)
{
    TimImage image{kind, std::move(clut), static_cast<uint16_t>(std::max(width, 0)),
                   static_cast<uint16_t>(rowsOf(height)), std::move(texels)};
    if (image.encodedSize() > std::numeric_limits<uint32_t>::max())
    {
        reporter.ReportError(kSpriteAllocFailed);
        reporter.error(formatText("a %d x %d texture is too large for a TIM image", width, height));
        return std::nullopt;
    }
    return image;
}

std::optional<TimImage> finishIndexed(TexeloReporter& reporter, TimKind kind, const ColourTable& colours,
                                      std::size_t clutEntries, std::optional<std::vector<uint8_t>> texels,
                                      int width, int height)
{
    if (!texels)
        return std::nullopt;
    return makeImage(reporter, kind, BuildClut(colours, static_cast<int>(clutEntries)), width, height,
                     std::move(*texels));
}

std::optional<TimImage> finishDirect(TexeloReporter& reporter, const uint8_t* pixels, int width, int height)
{
    const std::size_t count = pixelCount(width, height);
    std::optional<std::vector<uint8_t>> texels =
        allocateZeroed(reporter, uint64_t{2} * count, kSpriteAllocFailed);
    if (!texels)
        return std::nullopt;
    for (std::size_t i = 0; i < count; ++i)
    {
        const uint8_t* pixel = pixels + 4 * i;
        storeLittle16(texels->data() + 2 * i, psxColourWithStp(pixel[0], pixel[1], pixel[2], pixel[3]));
    }
    return makeImage(reporter, TimKind::Direct16, {}, width, height, std::move(*texels));
}

std::optional<TimImage> convertReduced(const ConversionSettings& settings, ColourTable& colours,
                                       TexeloReporter& reporter, const uint8_t* pixels, int width, int height,
                                       std::string_view name)
{
    const std::string path(name);
    int depth = settings.TargetDepth;
    std::optional<uint32_t> counted; // a second count of the same pixels gives the same table
    for (;;)
    {
        if (depth == 4)
        {
            const uint32_t count = CountColours(settings.PaletteOnly, colours, pixels, width, height);
            if (count <= kMaxColours4)
                return finishIndexed(reporter, TimKind::Indexed4, colours, kCluts4,
                                     MakeDowngrade4(colours, reporter, pixels, width, height), width, height);
            counted = count;
            // Any other fallback would try 4 bits again and never end.
            depth = settings.FallbackDepth == 16 ? 16 : 8;
            const std::string warning =
                formatText("Image %s with %u colours couldn't be saved as 4 BPP.", path.c_str(), count);
            reporter.inform(warning + "\n");
            reporter.inform(formatText("defaulting to %d BPP.\n", depth));
            reporter.setMessageLine(warning);
        }
        else if (depth == 8)
        {
            const uint32_t count =
                counted ? *counted : CountColours(settings.PaletteOnly, colours, pixels, width, height);
            if (count <= kMaxColours8)
            {
                // A CLUT has at least one and at most 256 entries, whatever the script asked for.
                const std::size_t entries =
                    std::clamp<std::size_t>(settings.ClutSize8, 1, kUniqueColourCapacity);
                return finishIndexed(
                    reporter, TimKind::Indexed8, colours, entries,
                    MakeDowngrade8(colours, settings.IndexOffset, reporter, pixels, width, height), width,
                    height);
            }
            depth = 16;
            const std::string warning = formatText("Image %s couldn't be saved as 8 BPP.", path.c_str());
            reporter.inform(warning + "\n");
            reporter.inform("defaulting to 16 BPP.\n");
            reporter.setMessageLine(warning);
        }
        else
        {
            return finishDirect(reporter, pixels, width, height);
        }
    }
}

void reduceColours(const ReductionSettings& settings, ColourTable& colours, TexeloReporter& reporter,
                   uint8_t* pixels, int width, int height, std::string_view name)
{
    const uint32_t count = CountColours(false, colours, pixels, width, height);
    if (const std::optional<ReductionOutcome> outcome = ReduceColours(settings, count, pixels, width, height))
        reporter.inform(formatText("Reduced %.*s from %u to %u colours, PSNR %.1f dB\n",
                                   static_cast<int>(name.size()), name.data(), outcome->ColoursBefore,
                                   outcome->ColoursAfter, outcome->Psnr));
}

} // namespace

std::optional<TimImage> ConvertToPsx(const ConversionSettings& settings, ColourTable& colours,
                                     TexeloReporter& reporter, uint8_t* pixels, int width, int height,
                                     std::string_view name)
{
    if (width < 0 || height < 0 || width > kMaxTimSide || height > kMaxTimSide)
        return std::nullopt;
    const std::size_t count = pixelCount(width, height);
    for (std::size_t i = 0; i < count; ++i)
    {
        uint8_t* pixel = pixels + 4 * i;
        pixel[0] = static_cast<uint8_t>(reduceChannel(pixel[0]));
        pixel[1] = static_cast<uint8_t>(reduceChannel(pixel[1]));
        pixel[2] = static_cast<uint8_t>(reduceChannel(pixel[2]));
    }
    try
    {
        if (settings.Reduction.MaxColours != 0 && !settings.PaletteOnly)
            reduceColours(settings.Reduction, colours, reporter, pixels, width, height, name);
        return convertReduced(settings, colours, reporter, pixels, width, height, name);
    }
    catch (const std::bad_alloc&) // only the colour set can still throw
    {
        reporter.ReportError(kSpriteAllocFailed);
        reporter.error(formatText("out of memory counting the colours of %.*s", static_cast<int>(name.size()),
                                  name.data()));
    }
    return std::nullopt;
}

uint32_t CountColours(bool paletteOnly, ColourTable& colours, const uint8_t* pixels, int width, int height)
{
    const std::size_t count = pixelCount(width, height);
    std::vector<UniqueColour>& table = colours.UniqueColourTable;
    if (paletteOnly)
    {
        const std::size_t kept = std::min<std::size_t>(colours.UniqueColourCount, table.size());
        for (std::size_t i = 0; i < kept; ++i)
        {
            UniqueColour& entry = table[i];
            // A position past this image's end has no colour: transparent black.
            const uint8_t none[4] = {0, 0, 0, 0};
            const uint8_t* pixel =
                entry.FirstPixel < count ? pixels + 4 * std::size_t{entry.FirstPixel} : none;
            entry.r = pixel[0];
            entry.g = pixel[1];
            entry.b = pixel[2];
            entry.a = pixel[3];
        }
        return colours.UniqueColourCount;
    }

    table.clear();
    table.reserve(kUniqueColourCapacity);
    ColourSet seen;
    uint32_t distinct = 0;
    uint32_t previousKey = 0;
    for (std::size_t i = 0; i < count; ++i)
    {
        const uint8_t* pixel = pixels + 4 * i;
        const uint32_t key = colourKey(pixel);
        if (i > 0 && key == previousKey) // runs of one colour are common in textures
            continue;
        previousKey = key;
        if (!seen.insert(key))
            continue;
        ++distinct;
        if (table.size() < kUniqueColourCapacity)
            table.push_back({pixel[0], pixel[1], pixel[2], pixel[3], static_cast<uint32_t>(i)});
    }
    // Stable, so colours that differ only in alpha keep their order of discovery.
    const auto sortKey = [](const UniqueColour& c) { return c.b * 1024 + c.g * 32 + c.r; };
    std::stable_sort(table.begin(), table.end(),
                     [&](const UniqueColour& a, const UniqueColour& b) { return sortKey(a) < sortKey(b); });
    table.resize(kUniqueColourCapacity); // the unused entries are black
    colours.UniqueColourCount = distinct;
    return distinct;
}

namespace
{

// Fills a zeroed texel buffer of `rowBytes` per row; `store` puts the table
// index of pixel x into its row.
template <typename Store>
std::optional<std::vector<uint8_t>>
makeDowngrade(const ColourTable& colours, TexeloReporter& reporter, const uint8_t* pixels, int width,
              int height, std::size_t rowBytes, std::string_view allocationFailed, Store store)
{
    const std::size_t columns = columnsOf(width);
    const std::size_t rows = rowsOf(height);
    std::optional<std::vector<uint8_t>> texels =
        allocateZeroed(reporter, uint64_t{rowBytes} * rows, allocationFailed);
    if (!texels)
        return std::nullopt;
    const ColourIndex index(colours);
    for (std::size_t y = 0; y < rows; ++y)
    {
        uint8_t* row = texels->data() + y * rowBytes;
        const uint8_t* source = pixels + 4 * y * columns;
        for (std::size_t x = 0; x < columns; ++x)
            store(row, x, index.find(colourKey(source + 4 * x)));
    }
    return texels;
}

} // namespace

std::optional<std::vector<uint8_t>> MakeDowngrade4(const ColourTable& colours, TexeloReporter& reporter,
                                                   const uint8_t* pixels, int width, int height)
{
    const std::size_t rowBytes = (columnsOf(width) + 3) / 4 * 2;
    return makeDowngrade(colours, reporter, pixels, width, height, rowBytes, kDowngrade4AllocFailed,
                         [](uint8_t* row, std::size_t x, uint32_t colourIndex)
                         {
                             // A colour missing from the table (palette-only) must not
                             // spill into the neighbour's nibble.
                             const auto texel = static_cast<uint8_t>(colourIndex & 0x0F);
                             row[x / 2] |= (x & 1) ? static_cast<uint8_t>(texel << 4) : texel;
                         });
}

std::optional<std::vector<uint8_t>> MakeDowngrade8(const ColourTable& colours, uint16_t indexOffset,
                                                   TexeloReporter& reporter, const uint8_t* pixels, int width,
                                                   int height)
{
    const std::size_t rowBytes = (columnsOf(width) + 1) / 2 * 2;
    return makeDowngrade(colours, reporter, pixels, width, height, rowBytes, kDowngrade8AllocFailed,
                         [indexOffset](uint8_t* row, std::size_t x, uint32_t colourIndex)
                         { row[x] = static_cast<uint8_t>(colourIndex + indexOffset); });
}

std::vector<uint16_t> BuildClut(const ColourTable& colours, int n)
{
    const std::size_t entries =
        std::clamp<std::size_t>(static_cast<std::size_t>(std::max(n, 0)), 0, kUniqueColourCapacity);
    const std::size_t used =
        std::min<std::size_t>(colours.UniqueColourCount, colours.UniqueColourTable.size());
    std::vector<uint16_t> clut(entries, 0);
    for (std::size_t i = 0; i < std::min(entries, used); ++i)
    {
        const UniqueColour& entry = colours.UniqueColourTable[i];
        clut[i] = psxColourWithStp(entry.r, entry.g, entry.b, entry.a);
    }
    return clut;
}
