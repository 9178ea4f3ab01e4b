#include "script/PlacementReport.h"

#include "vram/VramGeometry.h"

namespace
{

constexpr uint32_t kVramWords = uint32_t{kVramWidth} * kVramHeight;
constexpr uint32_t kSeparateAreaWidth = kPageWidth;

// What would let the texture fit, where the reason is a rule a user can
// change; empty otherwise.
std::string hintFor(const PlacementResult& result, const BankOptions& options)
{
    const PlacementFailure& failure = *result.failure;
    const TextureRecord& record = *failure.record;
    if (record.Height >= kBandHeight && !options.BankSeparateCluts)
        return "an image 256 lines tall fits only with SEPERATE: ON, which moves the CLUTs out of its band";
    if (record.Height >= kBandHeight && options.EdgeClear != 0)
        return "EDGE: ON keeps the last line of each band free, so an image 256 lines tall needs EDGE: OFF";
    if (options.EdgeClear != 0 && record.Width % kPageWidth == 0 && failure.refusal == Refusal::GroupEdge)
        return "EDGE: ON keeps the last column of each page group free, so a texture a whole number of "
               "pages wide needs EDGE: OFF";
    if (options.BankSeparateCluts && record.ClutWidth > kSeparateAreaWidth)
        return "the separate CLUT area is 64 words wide: this CLUT fits only with SEPERATE: OFF";
    // Half of VRAM taken: the bank is simply more than one bank's worth.
    if (2 * (uint64_t{result.imageWords} + result.clutWords) >= kVramWords)
        return record.ScriptLine != 0
                   ? formatText("the bank holds too much: a FIT line before line %u starts another",
                                record.ScriptLine)
                   : "the bank holds too much: another FIT line starts another";
    return {};
}

// Where the texture was loaded, for a diagnostic that points at its FIT.
std::string loadedAt(const TextureRecord& record)
{
    return record.ScriptLine != 0 ? formatText(", line %u", record.ScriptLine) : std::string{};
}

} // namespace

std::string fitFailureText(const PlacementResult& result, const BankOptions& options)
{
    const PlacementFailure& failure = *result.failure;
    const TextureRecord& record = *failure.record;
    std::string text =
        formatText("bank %s does not fit in VRAM: no place for the %s of %s (%d-bit%s; image %u x %u",
                   options.BankName.c_str(), failure.refusal == Refusal::Clut ? "CLUT" : "image",
                   record.Name.c_str(), bitsPerTexel(static_cast<TimKind>(record.Kind)),
                   loadedAt(record).c_str(), record.Width, record.Height);
    if (record.HasClut)
        text += formatText(", CLUT %u x %u", record.ClutWidth, record.ClutExtraRows + 1u);
    text += " in VRAM words x lines";
    const uint64_t filled = uint64_t{result.imageWords} + result.clutWords;
    text += formatText("); the bank had filled %.1f%% of VRAM (",
                       100.0 * static_cast<double>(filled) / kVramWords) +
            groupedNumber(filled) + " of " + groupedNumber(kVramWords) + " words)";
    if (const std::string hint = hintFor(result, options); !hint.empty())
        text += "; " + hint;
    return text;
}

void reportPlacement(TexeloReporter& reporter, const PlacementResult& result, const BankOptions& options)
{
    for (const PlacementNote& note : result.notes)
    {
        const TextureRecord& record = *note.record;
        switch (note.kind)
        {
        case PlacementNote::Kind::TiledTexture:
            reporter.setMessageLine(formatText("Tiled texture at %d, %d.", record.X, record.Y));
            break;
        case PlacementNote::Kind::ClutTooWide:
            reporter.ReportError(
                formatText("CLUT of %s is too wide for the separate CLUT area", record.Name.c_str()));
            reporter.error(
                formatText("the CLUT of %s (%u words%s) is wider than the separate CLUT area of 64",
                           record.Name.c_str(), record.ClutWidth, loadedAt(record).c_str()));
            break;
        }
    }
    if (result.placed())
    {
        reporter.inform(formatText("%d unique CLUTs\n", result.uniqueCluts));
        return;
    }
    reporter.ReportError("Unable to fit textures into maximum VRAM space!");
    reporter.error(fitFailureText(result, options));
}
