#include "script/ScriptOptions.h"

#include <cctype>
#include <climits>

namespace
{

bool isBlank(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

void skipBlanks(std::string_view text, std::size_t& position)
{
    while (position < text.size() && isBlank(text[position]))
        ++position;
}

// The state text an option prints when MESSAGES is ON.
const char* switchMessage(Switch option, bool on)
{
    switch (option)
    {
    case Switch::MatchCluts:
        return on ? "CLUT matching ON\n" : "CLUT matching OFF\n";
    case Switch::Separate:
        return on ? "Seperate CLUT's ON\n" : "Seperate CLUT's OFF\n";
    case Switch::Edge:
        return on ? "VRAM Page Edge-clear keeping ON\n" : "VRAM Page Edge-clear keeping OFF\n";
    case Switch::Sort:
        return on ? "Sorting ON\n" : "Sorting OFF\n";
    case Switch::Messages:
        break;
    }
    return nullptr;
}

constexpr uint32_t kMaxCount = 255;
constexpr int kMaxDither = 100;

// The whole argument as one number, blanks around it allowed.
std::optional<int> readWholeNumber(std::string_view text)
{
    std::size_t position = 0;
    const std::optional<int> value = readNumber(text, position);
    skipBlanks(text, position);
    return position == text.size() ? value : std::nullopt;
}

std::string_view trimmed(std::string_view text)
{
    std::size_t start = 0;
    skipBlanks(text, start);
    std::size_t end = text.size();
    while (end > start && isBlank(text[end - 1]))
        --end;
    return text.substr(start, end - start);
}

} // namespace

void setReduction(TexeloContext& ctx, std::string_view argument)
{
    ReductionSettings& reduction = ctx.state.Reduction;
    const std::optional<int> colours = readWholeNumber(argument);
    if (trimmed(argument) == "OFF")
        reduction.MaxColours = 0;
    else if (colours == 16 || colours == 256)
        reduction.MaxColours = static_cast<uint16_t>(*colours);
    else
        ctx.reporter.warning(formatText("REDUCE takes 16, 256 or OFF, not \"%.*s\"; it stays %s",
                                        static_cast<int>(trimmed(argument).size()), trimmed(argument).data(),
                                        reduction.MaxColours == 0 ? "OFF" : reduction.MaxColours == 16 ? "16" : "256"));
}

void setDither(TexeloContext& ctx, std::string_view argument)
{
    ReductionSettings& reduction = ctx.state.Reduction;
    const std::optional<int> level = readWholeNumber(argument);
    if (level && *level >= 0 && *level <= kMaxDither)
        reduction.Dither = static_cast<uint8_t>(*level);
    else
        ctx.reporter.warning(formatText("DITHER takes a level from 0 to 100, not \"%.*s\"; it stays %u",
                                        static_cast<int>(trimmed(argument).size()), trimmed(argument).data(),
                                        unsigned{reduction.Dither}));
}

std::optional<int> readNumber(std::string_view text, std::size_t& position)
{
    skipBlanks(text, position);
    std::size_t at = position;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        negative = text[at++] == '-';
    const std::size_t digitsStart = at;
    long long value = 0;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])))
    {
        if (value <= INT_MAX)
            value = value * 10 + (text[at] - '0');
        ++at;
    }
    if (at == digitsStart)
        return std::nullopt;
    position = at;
    value = negative ? -value : value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

std::optional<uint32_t> readCount(std::string_view text, std::size_t& position)
{
    const std::optional<int> value = readNumber(text, position);
    if (!value || *value < 0 || static_cast<uint32_t>(*value) > kMaxCount)
        return std::nullopt;
    return static_cast<uint32_t>(*value);
}

void setPalettes(TexeloContext& ctx, std::string_view argument)
{
    ScriptState& state = ctx.state;
    std::size_t position = 0;
    skipBlanks(argument, position);
    const std::size_t start = position;
    while (position < argument.size() && !isBlank(argument[position]))
        ++position;
    if (position > start)
        state.PaletteDir = std::string(argument.substr(start, position - start));
    if (const std::optional<uint32_t> count = readCount(argument, position))
        state.PaletteCount = *count;
    state.RemapMode = static_cast<uint32_t>(RemapModeValue::Across);
    ctx.palettes = ReadPaletteSet(ctx.files, state.PaletteDir, state.PaletteCount);
}

BankOptions bankOptions(const ScriptState& state)
{
    return {state.BankName, state.MatchCluts != 0, state.SortTextures != 0, state.EdgeClear,
            state.BankSeparateCluts != 0};
}

void setRemap(TexeloContext& ctx, std::string_view argument)
{
    ScriptState& state = ctx.state;
    if (argument == "ON" || argument == "ACROSS")
        state.RemapMode = static_cast<uint32_t>(RemapModeValue::Across);
    else if (argument == "DOWN")
        state.RemapMode = static_cast<uint32_t>(RemapModeValue::Down);
    else if (argument == "OFF")
    {
        state.RemapMode = static_cast<uint32_t>(RemapModeValue::Off);
        state.PaletteCount = 0;
    }
    if (!state.MessagesOn)
        return;
    switch (static_cast<RemapModeValue>(state.RemapMode))
    {
    case RemapModeValue::Across:
        ctx.reporter.print("Remapping ON ACROSS\n");
        break;
    case RemapModeValue::Down:
        ctx.reporter.print("Remapping ON DOWN\n");
        break;
    default:
        ctx.reporter.print("Remapping OFF\n");
        break;
    }
}

void setSwitch(TexeloContext& ctx, Switch option, std::string_view argument)
{
    ScriptState& state = ctx.state;
    const bool on = argument == "ON";
    const bool off = argument == "OFF";
    if (on || off)
    {
        switch (option)
        {
        case Switch::MatchCluts:
            state.MatchCluts = on;
            break;
        case Switch::Messages:
            state.MessagesOn = on;
            break;
        case Switch::Separate:
            state.SeparateCluts = on;
            break;
        case Switch::Edge:
            state.EdgeClear = on ? 1 : 0;
            break;
        case Switch::Sort:
            state.SortTextures = on;
            break;
        }
    }
    if (!state.MessagesOn)
        return;
    bool current = false;
    switch (option)
    {
    case Switch::MatchCluts:
        current = state.MatchCluts != 0;
        break;
    case Switch::Separate:
        current = state.SeparateCluts != 0;
        break;
    case Switch::Edge:
        current = state.EdgeClear != 0;
        break;
    case Switch::Sort:
        current = state.SortTextures != 0;
        break;
    case Switch::Messages:
        return;
    }
    ctx.reporter.print(switchMessage(option, current));
}
