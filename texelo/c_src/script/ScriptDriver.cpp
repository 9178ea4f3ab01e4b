#include "script/ScriptDriver.h"

#include "backdrop/Backdrop.h"
#include "files/PathLookup.h"
#include "script/LayoutScript.h"
#include "script/ScriptOptions.h"
#include "script/ScriptReader.h"
#include "script/TextureLoader.h"
#include "vram/Organiser.h"

#include "script/PlacementReport.h"
#include "vram/BankWriter.h"
#include "vram/VramGeometry.h"

#include <algorithm>

namespace
{

constexpr uint16_t kMinClutSize8 = 1;
constexpr uint16_t kMaxClutSize8 = 256;

// What the options in force ask of a texture.
TextureRequest requestInForce(const ScriptState& state)
{
    TextureRequest request;
    request.SemiTransMode = state.SemiTransMode;
    request.ClutSize8 = state.ClutSize8;
    request.Reduction = state.Reduction;
    return request;
}

// A texture line's texture: a CLUT size was for it alone.
void addTextureLine(TexeloContext& ctx, std::string_view name, const TextureRequest& request)
{
    AddTexture(ctx, name, request);
    ctx.state.ClutSize8 = kMaxClutSize8;
}

void loadWithMode(TexeloContext& ctx, SemiTransModeValue mode, std::string_view name)
{
    ctx.state.SemiTransMode = static_cast<int8_t>(mode);
    addTextureLine(ctx, name, requestInForce(ctx.state));
}

// TILE, PAL, HOMEPAL and AWAYPAL name no transparency mode: their texture
// keeps the mode of the texture line before.
void loadTiled(TexeloContext& ctx, std::string_view name)
{
    TextureRequest request = requestInForce(ctx.state);
    request.TileFlag = 1;
    addTextureLine(ctx, name, request);
}

// PAL, HOMEPAL and AWAYPAL: a texture that contributes only its CLUT.
void loadPaletteOnly(TexeloContext& ctx, HomeAwayKind kind, std::string_view name)
{
    TextureRequest request = requestInForce(ctx.state);
    request.PaletteOnly = 1;
    request.HomeAway = static_cast<uint8_t>(kind);
    addTextureLine(ctx, name, request);
}

// FILES: every match without a transparency mode. The CLUT size stays for
// the next texture line.
void loadFiles(TexeloContext& ctx, std::string_view pattern)
{
    ctx.state.SemiTransMode = static_cast<int8_t>(SemiTransModeValue::None);
    AddFiles(ctx, pattern, requestInForce(ctx.state));
}

BackdropSettings backdropSettings(const ScriptState& state)
{
    return {state.TexturePath, state.OutputPath, state.PaletteCount};
}

// The size is kept as an unsigned 16-bit value before it is limited, so -1
// is 65535 and gives a whole 256-entry CLUT, like any other large value.
void setClutSize(TexeloContext& ctx, std::string_view argument)
{
    std::size_t position = 0;
    if (const std::optional<int> size = readNumber(argument, position))
        ctx.state.ClutSize8 =
            std::clamp<uint16_t>(static_cast<uint16_t>(*size), kMinClutSize8, kMaxClutSize8);
}

// The bank that did not fit becomes the one shown: its placed textures and
// an outline where the one that found no place was last tried.
void showFailedBank(TexeloContext& ctx, const PlacementFailure& failure)
{
    const TextureRecord& record = *failure.record;
    const int width = std::min<int>(std::max<int>(record.Width, 1), kVramWidth);
    const int height = std::min<int>(std::max<int>(record.Height, 1), kVramHeight);
    ctx.ShownFailure = VramOutline{std::clamp(failure.x, 0, kVramWidth - width),
                                   std::clamp(failure.y, 0, kVramHeight - height), width, height};
    ctx.ShownList = std::move(ctx.bank.PendingList);
    ctx.ShownBankName = ctx.state.BankName;
    ctx.bank = TextureBank{};
    ctx.reporter.repaint();
}

// FIT in a .fit script; false when the bank does not fit.
bool fitBank(TexeloContext& ctx, std::string_view argument)
{
    ScriptState& state = ctx.state;
    state.BankName = std::string(argument);
    state.BankSeparateCluts = state.SeparateCluts;
    ++ctx.FitLines;
    warnOfNamelessBank(ctx, argument);
    if (!ctx.bank.PendingList.empty())
    {
        const BankOptions options = bankOptions(state);
        const PlacementResult placement = OrganiseVram(ctx.bank, options);
        reportPlacement(ctx.reporter, placement, options);
        if (!placement.placed())
        {
            showFailedBank(ctx, *placement.failure);
            return false;
        }
        writeBankAndSummary(ctx, options);
    }
    state.SeparateCluts = 0;
    state.SortTextures = 1;
    state.EdgeClear = 0;
    finishBank(ctx);
    return true;
}

// Executes one line of a .fit script; false when the script must stop.
bool runFitLine(TexeloContext& ctx, const std::string& keyword, const std::string& argument)
{
    if (keyword == "PALETTES")
        setPalettes(ctx, argument);
    else if (keyword == "PATH")
        ctx.state.TexturePath = argument;
    else if (keyword == "OUTPATH")
        ctx.state.OutputPath = argument;
    else if (keyword == "MATCHCLUTS")
        setSwitch(ctx, Switch::MatchCluts, argument);
    else if (keyword == "MESSAGES")
        setSwitch(ctx, Switch::Messages, argument);
    else if (keyword == "SEPERATE")
        setSwitch(ctx, Switch::Separate, argument);
    else if (keyword == "REMAP")
        setRemap(ctx, argument);
    else if (keyword == "EDGE")
        setSwitch(ctx, Switch::Edge, argument);
    else if (keyword == "SORT")
        setSwitch(ctx, Switch::Sort, argument);
    else if (keyword == "CLUT")
        setClutSize(ctx, argument);
    else if (keyword == "REDUCE")
        setReduction(ctx, argument);
    else if (keyword == "DITHER")
        setDither(ctx, argument);
    else if (keyword == "FIT")
        return fitBank(ctx, argument);
    else if (keyword == "PAL")
        loadPaletteOnly(ctx, HomeAwayKind::None, argument);
    else if (keyword == "HOMEPAL")
        loadPaletteOnly(ctx, HomeAwayKind::Home, argument);
    else if (keyword == "AWAYPAL")
        loadPaletteOnly(ctx, HomeAwayKind::Away, argument);
    else if (keyword == "ALPHA")
        loadWithMode(ctx, SemiTransModeValue::Alpha, argument);
    else if (keyword == "SUB")
        loadWithMode(ctx, SemiTransModeValue::Sub, argument);
    else if (keyword == "TRANS")
        loadWithMode(ctx, SemiTransModeValue::Trans, argument);
    else if (keyword == "TILE")
        loadTiled(ctx, argument);
    else if (keyword == "BACKDROP")
        WriteBackdrop(backdropSettings(ctx.state), ctx.colours, ctx.reporter, ctx.files, argument);
    else if (keyword == "NEWBACKDROP")
        WriteNewBackdrop(backdropSettings(ctx.state), ctx.reporter, ctx.files, argument);
    else if (keyword == "FILES")
        loadFiles(ctx, argument);
    else if (!keyword.empty())
        loadWithMode(ctx, SemiTransModeValue::None, keyword);
    return true;
}

// A .fit script is one whose own file name says so, in any letter case; the
// folders on the way to it do not count.
bool isFitScriptName(std::string_view scriptPath)
{
    const std::size_t folderEnd = scriptPath.find_last_of("/\\");
    return containsIgnoringCase(
        folderEnd == std::string_view::npos ? scriptPath : scriptPath.substr(folderEnd + 1), ".fit");
}

} // namespace

void writeBankAndSummary(TexeloContext& ctx, const BankOptions& options)
{
    if (WriteBank(ctx.bank, options, ctx.reporter, ctx.files))
        ctx.WrittenBanks.push_back(summariseBank(ctx.bank, options.BankSeparateCluts,
                                                 toPosixPath(options.BankName + ".TBK"),
                                                 ctx.reporter.line()));
}

void warnOfNamelessBank(TexeloContext& ctx, std::string_view bankName)
{
    if (bankName.empty())
        ctx.reporter.warning("FIT without a bank name: the bank is written as the hidden file .TBK");
}

void finishBank(TexeloContext& ctx)
{
    ScriptState& state = ctx.state;
    ctx.ShownList = std::move(ctx.bank.PendingList);
    ctx.ShownFailure.reset();
    ctx.ShownBankName = state.BankName;
    ctx.bank = TextureBank{};
    state.DuplicateCount = 0;
    state.RemapMode = static_cast<uint32_t>(RemapModeValue::Off);
    state.PaletteCount = 0;
    ctx.reporter.repaint();
}

void RunScript(TexeloContext& ctx, std::string_view scriptName)
{
    const FileRead script = ctx.files.read(scriptName);
    if (!script.bytes)
    {
        ctx.reporter.ReportError(formatText("Failed to open script file %.*s",
                                            static_cast<int>(scriptName.size()), scriptName.data()));
        ctx.reporter.error("cannot read the script: " + script.failure);
        return;
    }
    ScriptReader reader(std::string(script.bytes->begin(), script.bytes->end()));
    const bool fitScript = isFitScriptName(scriptName);
    if (!fitScript)
        ctx.layout = LayoutState{};
    const std::size_t errorsBefore = ctx.reporter.errorCount();
    while (reader.readLine())
    {
        if (reader.isComment())
            continue;
        ctx.reporter.setLine(reader.lineNumber());
        if (!fitScript)
            runLayoutLine(ctx, reader.keyword(), reader.argument(), reader.line());
        else if (!runFitLine(ctx, reader.keyword(), reader.argument()))
            return;
    }
    warnOfScriptEnd(ctx, !fitScript, ctx.reporter.errorCount() != errorsBefore);
}

void warnOfScriptEnd(TexeloContext& ctx, bool layoutScript, bool errorsReported)
{
    TexeloReporter& reporter = ctx.reporter;
    if (!ctx.bank.PendingList.empty())
    {
        const std::size_t count = ctx.bank.PendingList.size();
        reporter.warningAt(ctx.bank.PendingList.front()->ScriptLine,
                           formatText("%zu texture%s after the last FIT %s in no bank", count,
                                      count == 1 ? "" : "s", count == 1 ? "is" : "are"));
    }
    if (layoutScript && ctx.layout.linesOfNoForm > kNoFormLinesNamed)
        reporter.warningAt(
            0, formatText("%u lines in all match no form of a layout script", ctx.layout.linesOfNoForm));
    if (ctx.files.targets().empty() && !errorsReported)
        reporter.warningAt(0, ctx.FitLines == 0
                                  ? "the script wrote no bank: it has no FIT line"
                                  : "the script wrote no bank: no texture came before a FIT line");
}
