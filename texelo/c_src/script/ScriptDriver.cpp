#include "script/ScriptDriver.h"

#include "backdrop/Backdrop.h"
#include "files/PathLookup.h"
#include "script/LayoutScript.h"
#include "script/ScriptOptions.h"
#include "script/ScriptReader.h"
#include "script/TextureLoader.h"
#include "vram/Organiser.h"

#include <algorithm>

namespace
{

constexpr uint16_t kMinClutSize8 = 1;
constexpr uint16_t kMaxClutSize8 = 256;

void loadWithMode(TexeloContext& ctx, SemiTransModeValue mode, std::string_view name)
{
    ctx.state.SemiTransMode = static_cast<int8_t>(mode);
    AddTexture(ctx, name);
}

// PAL, HOMEPAL and AWAYPAL: a texture that contributes only its CLUT.
void loadPaletteOnly(TexeloContext& ctx, HomeAwayKind kind, std::string_view name)
{
    AddTexture(ctx, name, {.PaletteOnly = 1, .HomeAway = static_cast<uint8_t>(kind)});
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

// FIT in a .fit script; false when the bank does not fit.
bool fitBank(TexeloContext& ctx, std::string_view argument)
{
    ScriptState& state = ctx.state;
    state.BankName = std::string(argument);
    state.BankSeparateCluts = state.SeparateCluts;
    if (!OrganiseVram(ctx.bank, bankOptions(state), ctx.reporter, ctx.files))
        return false;
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
        AddTexture(ctx, argument, {.TileFlag = 1});
    else if (keyword == "BACKDROP")
        WriteBackdrop(backdropSettings(ctx.state), ctx.colours, ctx.reporter, ctx.files, argument);
    else if (keyword == "NEWBACKDROP")
        WriteNewBackdrop(backdropSettings(ctx.state), ctx.reporter, ctx.files, argument);
    else if (keyword == "FILES")
    {
        ctx.state.SemiTransMode = static_cast<int8_t>(SemiTransModeValue::None);
        AddFiles(ctx, argument);
    }
    else if (!keyword.empty())
        loadWithMode(ctx, SemiTransModeValue::None, keyword);
    return true;
}

} // namespace

void finishBank(TexeloContext& ctx)
{
    ScriptState& state = ctx.state;
    ctx.ShownList = std::move(ctx.bank.PendingList);
    ctx.bank = TextureBank{};
    state.DuplicateCount = 0;
    state.RemapMode = static_cast<uint32_t>(RemapModeValue::Off);
    state.PaletteCount = 0;
    ctx.reporter.repaint();
}

void RunScript(TexeloContext& ctx, std::string_view scriptName)
{
    const std::optional<std::vector<uint8_t>> bytes = ctx.files.readWholeFile(scriptName);
    if (!bytes)
    {
        ctx.reporter.ReportError(formatText("Failed to open script file %.*s",
                                            static_cast<int>(scriptName.size()), scriptName.data()));
        return;
    }
    ScriptReader reader(std::string(bytes->begin(), bytes->end()));
    const bool fitScript = scriptName.find(".fit") != std::string_view::npos;
    if (!fitScript)
        ctx.layout = LayoutState{};
    while (reader.readLine())
    {
        if (reader.isComment())
            continue;
        if (!fitScript)
            runLayoutLine(ctx, reader.keyword(), reader.argument(), reader.line());
        else if (!runFitLine(ctx, reader.keyword(), reader.argument()))
            return;
    }
}
