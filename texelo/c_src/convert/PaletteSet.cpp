#include "convert/PaletteSet.h"

#include "convert/PsxColour.h"
#include "files/PathLookup.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace
{

constexpr std::string_view kRiffMagic = "RIFF";
constexpr std::string_view kJascMagic = "JASC-PAL";
// A RIFF palette: "RIFF", size, "PAL ", "data", size, version, count, then
// the entries as red, green, blue, flags.
constexpr std::size_t kRiffEntriesOffset = 24;
constexpr std::size_t kRiffEntrySize = 4;
// A 16-colour JASC-PAL palette fills only the first 16 triplets.
constexpr std::size_t kJascShortPaletteBytes = 16 * 3;

bool startsWith(const std::vector<uint8_t>& bytes, std::string_view magic)
{
    return bytes.size() >= magic.size() &&
           std::equal(magic.begin(), magic.end(), bytes.begin(),
                      [](char expected, uint8_t actual) { return static_cast<uint8_t>(expected) == actual; });
}

bool isDigit(uint8_t c)
{
    return c >= '0' && c <= '9';
}

// Exactly 256 entries are taken whatever count the file declares; entries
// past the end of the file are black.
PaletteImage readRiffPalette(const std::vector<uint8_t>& bytes)
{
    PaletteImage image{};
    for (std::size_t colour = 0; colour < kPaletteColourCount; ++colour)
    {
        const std::size_t entry = kRiffEntriesOffset + colour * kRiffEntrySize;
        for (std::size_t channel = 0; channel < 3 && entry + channel < bytes.size(); ++channel)
            image[colour * 3 + channel] = bytes[entry + channel];
    }
    return image;
}

// Header line, version line, colour count line, then the numbers. Only the
// digits matter: whatever separates the numbers is skipped, and a number
// keeps its low 8 bits. Numbers the file lacks are 0.
PaletteImage readJascPalette(const std::vector<uint8_t>& bytes)
{
    PaletteImage image{};
    const std::size_t size = bytes.size();
    std::size_t at = 0;
    for (int lineFeeds = 0; lineFeeds < 2 && at < size; ++at)
        if (bytes[at] == '\n')
            ++lineFeeds;

    const bool sixteenColours = size - at >= 2 && bytes[at] == '1' && bytes[at + 1] == '6';
    while (at < size && bytes[at] != '\n')
        ++at;

    const std::size_t filled = sixteenColours ? kJascShortPaletteBytes : kPaletteImageSize;
    for (std::size_t index = 0; index < filled; ++index)
    {
        while (at < size && !isDigit(bytes[at]))
            ++at;
        uint8_t value = 0;
        for (; at < size && isDigit(bytes[at]); ++at)
            value = static_cast<uint8_t>(value * 10 + (bytes[at] - '0'));
        image[index] = value;
        if (at < size)
            ++at; // the separator after the number
    }
    return image;
}

// Raw triplets; a short file leaves the rest black, a longer one is cut.
PaletteImage readRawPalette(const std::vector<uint8_t>& bytes)
{
    PaletteImage image{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), image.size()), image.begin());
    return image;
}

uint16_t paletteColour15(const PaletteImage& palette, std::size_t index)
{
    return psxColour15(palette[index * 3], palette[index * 3 + 1], palette[index * 3 + 2]);
}

} // namespace

std::optional<PaletteImage> ReadPaletteFile(RunFiles& files, std::string_view path, Presence presence)
{
    const std::optional<std::vector<uint8_t>> bytes = files.read(path, presence).bytes;
    if (!bytes)
        return std::nullopt;
    if (startsWith(*bytes, kRiffMagic))
        return readRiffPalette(*bytes);
    if (startsWith(*bytes, kJascMagic))
        return readJascPalette(*bytes);
    return readRawPalette(*bytes);
}

uint16_t* MatchColours(TexeloReporter& reporter, const uint16_t* source, uint16_t* destination,
                       int entryCount, const PaletteImage& reference, const PaletteImage& setPalette)
{
    for (int entry = 0; entry < entryCount; ++entry)
    {
        const uint16_t wanted = source[entry] & kPsxColourMask;
        // Every distance is below this, so index 0 is the nearest until a
        // strictly nearer colour turns up (ties keep the earlier index).
        int bestDistance = kPsxColourMask + 1;
        std::size_t chosen = 0;
        uint16_t nearest = 0;
        bool exact = false;
        for (std::size_t index = 0; index < kPaletteColourCount && !exact; ++index)
        {
            const uint16_t candidate = paletteColour15(reference, index);
            // The packed numbers are compared, not the channels, so the
            // nearest colour may look quite different; the report below
            // tells the artist that the palettes do not cover this colour.
            const int distance = std::abs(static_cast<int>(wanted) - static_cast<int>(candidate));
            if (distance < bestDistance)
            {
                bestDistance = distance;
                chosen = index;
                nearest = candidate;
            }
            exact = candidate == wanted;
        }
        if (!exact)
        {
            const std::string text = formatText("no match: Source = %06X, Nearest = %06X", wanted, nearest);
            reporter.setMessageLine(text);
            reporter.print(text + "\n");
        }
        destination[entry] = opaqueUnlessBlack(paletteColour15(setPalette, chosen));
    }
    return destination + std::max(entryCount, 0);
}

PaletteSet ReadPaletteSet(RunFiles& files, std::string_view folder, uint32_t paletteCount)
{
    PaletteSet set;
    const std::string base(folder);
    std::string extension = "PAL";
    // Only remapping needs the reference palette, and a set used for a
    // backdrop's palette count alone has none: both names are only looked for.
    set.referencePath = base + "\\Default.PAL";
    set.reference = ReadPaletteFile(files, set.referencePath, Presence::Optional);
    if (!set.reference)
    {
        extension = "ACT";
        set.referencePath = base + "\\Default.ACT";
        set.reference = ReadPaletteFile(files, set.referencePath, Presence::Optional);
    }
    for (uint32_t number = 0; set.reference && number < paletteCount; ++number)
    {
        std::string path =
            formatText("%s\\Pal%d.%s", base.c_str(), static_cast<int>(number), extension.c_str());
        std::optional<PaletteImage> colours = ReadPaletteFile(files, path);
        set.palettes.push_back({std::move(path), std::move(colours)});
    }
    return set;
}

void RemapToPaletteSet(const PaletteSet& set, uint32_t paletteCount, TexeloReporter& reporter,
                       const uint16_t* sourceClut, std::vector<uint16_t>& destination, int entryCount)
{
    if (entryCount <= 0)
        return;
    const auto clutSize = static_cast<std::size_t>(entryCount);
    // A copy, because the texture's own CLUT usually sits in the first slot
    // that the first remapped CLUT overwrites.
    const std::vector<uint16_t> ownClut(sourceClut, sourceClut + clutSize);
    if (destination.size() < std::size_t{paletteCount} * clutSize)
        destination.resize(std::size_t{paletteCount} * clutSize);

    if (!set.reference)
    {
        reporter.ReportError(formatText("Failed to load '%s' palette.", set.referencePath.c_str()));
        reporter.error(
            formatText("remapping needs the palette set's reference palette, and neither %s nor its "
                       ".PAL twin could be read",
                       toPosixPath(set.referencePath).c_str()));
    }

    std::size_t written = 0;
    for (std::size_t number = 0; set.reference && number < paletteCount && number < set.palettes.size();
         ++number)
    {
        const PaletteSet::Member& palette = set.palettes[number];
        if (!palette.colours)
        {
            reporter.ReportError(formatText("Failed to load '%s' palette.", palette.path.c_str()));
            reporter.error(
                formatText("palette %s of the set could not be read", toPosixPath(palette.path).c_str()));
            continue;
        }
        MatchColours(reporter, ownClut.data(), destination.data() + written * clutSize, entryCount,
                     *set.reference, *palette.colours);
        ++written;
    }
    for (; written < paletteCount; ++written)
        std::copy(ownClut.begin(), ownClut.end(),
                  destination.begin() + static_cast<std::ptrdiff_t>(written * clutSize));
}
