#include "script/LayoutScript.h"

#include "files/PathLookup.h"
#include "report/TexeloAssert.h"
#include "script/ScriptDriver.h"
#include "script/ScriptOptions.h"
#include "script/TextureLoader.h"
#include "vram/BankWriter.h"
#include "vram/Organiser.h"
#include "vram/VramGeometry.h"

#include <algorithm>
#include <cctype>

namespace
{

constexpr int kCellEntryFields = 5;
constexpr int kClutRowWords = 64;
constexpr int kPageWords = 64;
// Cell letters reach the first four texture pages; entries beyond them have
// no page group to go to.
constexpr int kLayoutWords = 4 * kPageWords;

int floorDivide(int value, int divisor)
{
    const int quotient = value / divisor;
    return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

// The next CLUT row of the layout: rows are used from 255 downwards.
void nextClutRow(LayoutState& layout)
{
    layout.clutColumn = 0;
    --layout.clutRow;
}

// Takes the entry's name prefix: '&' palette only, in the transparency mode
// of the entry before; '*' TRANS, '?' ALPHA; none: no transparency mode.
std::string takePrefix(TexeloContext& ctx, TextureRequest& request, const std::string& name)
{
    ScriptState& state = ctx.state;
    if (name.empty())
        return name;
    switch (name.front())
    {
    case '&':
        request.PaletteOnly = 1;
        break;
    case '*':
        state.SemiTransMode = static_cast<int8_t>(SemiTransModeValue::Trans);
        break;
    case '?':
        state.SemiTransMode = static_cast<int8_t>(SemiTransModeValue::Alpha);
        break;
    default:
        state.SemiTransMode = static_cast<int8_t>(SemiTransModeValue::None);
        request.SemiTransMode = state.SemiTransMode;
        return name;
    }
    request.SemiTransMode = state.SemiTransMode;
    return name.substr(1);
}

void placeEntry(TexeloContext& ctx, const CellEntry& entry)
{
    ScriptState& state = ctx.state;
    LayoutState& layout = ctx.layout;
    state.BankSeparateCluts = state.SeparateCluts;
    TextureRequest request;
    request.Reduction = state.Reduction;
    const std::string name = takePrefix(ctx, request, entry.name);
    request.IndexOffset = equalsIgnoringCase(name, "flatcrd.tga") ? 1 : 0;

    const int x = layout.cellXBase + floorDivide(entry.x, 4);
    if (x < 0 || x >= kLayoutWords)
    {
        ctx.reporter.ReportError(formatText("Cell entry %s lies outside the texture pages", name.c_str()));
        ctx.reporter.error(
            formatText("cell entry %s at x %d lies outside the four texture pages a layout reaches",
                       name.c_str(), entry.x));
        return;
    }
    TextureRecord* record = AddTexture(ctx, name, request);
    if (!record)
        return;
    if (state.SeparateCluts && !state.BankSeparateCluts)
        ctx.reporter.warning(formatText("%s is an 8-bit texture, whose CLUT the separate CLUT area does not "
                                        "take: it goes beside the images",
                                        record->Name.c_str()));

    record->X = static_cast<uint16_t>(x & (kPageWords - 1));
    // Y keeps the low 16 bits of the sum; adding in unsigned arithmetic gives
    // them without overflowing for a y near the int limits.
    record->Y = static_cast<uint16_t>(layout.cellYBase + static_cast<uint32_t>(entry.y));
    record->GroupX = static_cast<uint16_t>(x & ~(kPageWords - 1));
    record->GroupY = 0;
    if (layout.clutColumn + record->ClutWidth > kClutRowWords)
        nextClutRow(layout);
    record->ClutX = layout.clutColumn;
    record->ClutY = state.BankSeparateCluts ? static_cast<uint16_t>(255 - layout.clutRow) : layout.clutRow;
    record->ClutGroupX = state.BankSeparateCluts ? kSeparateClutAreaX : 0;
    record->ClutGroupY = state.BankSeparateCluts ? kSeparateClutAreaY : 0;
    const int group = x / kPageWords + 1;
    record->Group = static_cast<uint8_t>(group);
    ctx.bank.GroupWidths[static_cast<std::size_t>(group - 1)] = 1;
    layout.clutColumn = static_cast<uint16_t>(layout.clutColumn + record->ClutWidth);
    if (layout.clutColumn >= kClutRowWords)
        nextClutRow(layout);
}

// A line that is no keyword and yields no cell entry does nothing: most
// likely a typing slip, so the first few are named and the rest counted.
void noteLineOfNoForm(TexeloContext& ctx, const std::string& line)
{
    if (++ctx.layout.linesOfNoForm <= kNoFormLinesNamed)
        ctx.reporter.warning("\"" + line + "\" is neither a keyword nor a cell line with an entry");
}

void runCellLine(TexeloContext& ctx, const std::string& line)
{
    const int letter = std::tolower(static_cast<unsigned char>(line.front()));
    const int v = letter - 'a';
    ctx.layout.cellXBase = static_cast<uint16_t>((v & 3) * 16 + (v & 0xF0) * 4);
    ctx.layout.cellYBase = static_cast<uint16_t>(((v & 0xC) / 4) * 64);

    std::size_t position = 2;
    CellEntry entry;
    if (position > line.size() || !readCellEntry(line, position, entry))
        noteLineOfNoForm(ctx, line);
    while (position <= line.size() && readCellEntry(line, position, entry))
    {
        placeEntry(ctx, entry);
        // Entries are found by counting spaces: the next one starts after
        // the fifth space that follows the position this entry's reading
        // began at. A blank at that position is not counted: it was skipped
        // on the way to the name, like the second blank after a cell letter.
        ++position;
        for (int spaces = 0; spaces < kCellEntryFields; ++spaces)
        {
            position = line.find(' ', position);
            if (position == std::string::npos)
                return;
            ++position;
        }
    }
}

// A bank ends at its first page without a texture: the entries of the
// pages after it are in no file, and the run must not pass for a success.
void reportEntriesLeftOut(TexeloContext& ctx)
{
    const GroupWidthTable& widths = ctx.bank.GroupWidths;
    const auto firstEmpty = std::find(widths.begin(), widths.end(), 0);
    const auto pages = static_cast<unsigned>(firstEmpty - widths.begin());
    for (const auto& record : ctx.bank.PendingList)
        if (record->Group > pages)
            ctx.reporter.errorAt(record->ScriptLine,
                                 formatText("%s is left out of bank %s: page %u holds no texture, and a bank "
                                            "ends at its first empty page",
                                            record->Name.c_str(), ctx.state.BankName.c_str(), pages + 1));
}

void fitLayoutBank(TexeloContext& ctx, const std::string& argument)
{
    ScriptState& state = ctx.state;
    state.BankName = argument;
    state.SortTextures = 0;
    ++ctx.FitLines;
    warnOfNamelessBank(ctx, argument);
    ctx.bank.ClutRow = static_cast<uint16_t>(512 - ctx.layout.clutRow);
    BuildOriginalList(ctx.bank, false);
    reportEntriesLeftOut(ctx);
    writeBankAndSummary(ctx, bankOptions(state));
    TEXELO_ASSERT(ctx.bank.OriginalList, "OriginalList", kTexeloModule);
    finishBank(ctx);
}

} // namespace

bool readCellEntry(std::string_view line, std::size_t position, CellEntry& entry)
{
    while (position < line.size() && std::isspace(static_cast<unsigned char>(line[position])))
        ++position;
    const std::size_t start = position;
    while (position < line.size() && !std::isspace(static_cast<unsigned char>(line[position])))
        ++position;
    if (position == start)
        return false;
    entry.name = std::string(line.substr(start, position - start));
    for (int* field : {&entry.x, &entry.y, &entry.w, &entry.h})
    {
        const std::optional<int> value = readNumber(line, position);
        if (!value)
            return false;
        *field = *value;
    }
    return true;
}

void runLayoutLine(TexeloContext& ctx, const std::string& keyword, const std::string& argument,
                   const std::string& line)
{
    if (keyword == "PATH")
        ctx.state.TexturePath = argument;
    else if (keyword == "PALETTES")
        setPalettes(ctx, argument);
    else if (keyword == "DUPLICATE")
    {
        std::size_t position = 0;
        if (const std::optional<uint32_t> count = readCount(argument, position))
            ctx.state.DuplicateCount = *count;
    }
    else if (keyword == "SEPERATE")
        setSwitch(ctx, Switch::Separate, argument);
    else if (keyword == "RESTART")
        nextClutRow(ctx.layout);
    else if (keyword == "REMAP")
        setRemap(ctx, argument);
    else if (keyword == "REDUCE")
        setReduction(ctx, argument);
    else if (keyword == "DITHER")
        setDither(ctx, argument);
    else if (keyword == "FIT")
        fitLayoutBank(ctx, argument);
    else if (!keyword.empty() && !line.empty())
        runCellLine(ctx, line);
}
