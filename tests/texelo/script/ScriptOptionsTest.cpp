#include "ScriptFixture.h"

using OptionTest = ScriptTest;

// Each switch prints its state while MESSAGES is on, also when its argument
// is unknown and the state stays.
TEST_F(OptionTest, SwitchesPrintTheirStateOnlyWhileMessagesAreOn)
{
    const struct
    {
        const char* script;
        const char* output;
        const char* state;
    } cases[] = {
        {"MESSAGES: ON\nMATCHCLUTS: OFF\nSEPERATE: ON\nEDGE: ON\nSORT: OFF\nREMAP: DOWN\nREMAP: ON\nREMAP: "
         "OFF\n"
         "MATCHCLUTS: ON\nSEPERATE: OFF\nEDGE: OFF\nSORT: ON\nREMAP: ACROSS\n",
         "CLUT matching OFF\nSeperate CLUT's ON\nVRAM Page Edge-clear keeping ON\nSorting OFF\nRemapping ON "
         "DOWN\n"
         "Remapping ON ACROSS\nRemapping OFF\nCLUT matching ON\nSeperate CLUT's OFF\n"
         "VRAM Page Edge-clear keeping OFF\nSorting ON\nRemapping ON ACROSS\n",
         "sort 1 remap 1 edge 0 match 1 separate 0 messages 1"},
        {"SORT: OFF\nSORT: YES\nREMAP: DOWN\nREMAP: YES\nEDGE: ON \nMESSAGES: YES\n",
         "Sorting OFF\nSorting OFF\nRemapping ON DOWN\nRemapping ON DOWN\nVRAM Page Edge-clear keeping OFF\n",
         "sort 0 remap 2 edge 0 match 1 separate 0 messages 1"},
        {"MESSAGES: OFF\nSORT: OFF\nREMAP: DOWN\nMATCHCLUTS: OFF\nSEPERATE: ON\n", "",
         "sort 0 remap 2 edge 0 match 0 separate 1 messages 0"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.script);
        const std::size_t before = reporter.output().size();
        run("o.fit", std::string("MESSAGES: ON\n") + c.script);
        EXPECT_EQ(reporter.output().substr(before), c.output);
        const ScriptState& s = ctx.state;
        EXPECT_EQ(formatText("sort %d remap %u edge %d match %d separate %d messages %d", s.SortTextures,
                             unsigned(s.RemapMode), s.EdgeClear, s.MatchCluts, s.SeparateCluts, s.MessagesOn),
                  c.state);
    }
}

// PALETTES takes a folder and a count 0-255, CLUT keeps the number as an
// unsigned 16-bit value clamped into 1-256 (so -1 is 65535, a whole CLUT) and
// DUPLICATE (in layout scripts) takes 0-255; an unreadable number keeps the
// value before.
TEST_F(OptionTest, NumericArgumentsAreCheckedOrClamped)
{
    const auto after = [&](const std::string& line) -> std::string
    {
        run(line.starts_with("DUPLICATE") ? "o.lay" : "o.fit", line + "\n");
        if (line.starts_with("CLUT"))
            return std::to_string(ctx.state.ClutSize8);
        if (line.starts_with("DUPLICATE"))
            return std::to_string(ctx.state.DuplicateCount);
        return ctx.state.PaletteDir + " " + std::to_string(ctx.state.PaletteCount) + " " +
               std::to_string(ctx.state.RemapMode);
    };
    const std::pair<const char*, const char*> cases[] = {
        {"PALETTES: pals 4", "PALS 4 1"},
        {"REMAP: OFF", "PALS 0 0"},
        {"PALETTES: more 7", "MORE 7 1"},
        {"PALETTES: other x", "OTHER 7 1"},
        {"PALETTES: big 256", "BIG 7 1"},
        {"PALETTES: neg -1", "NEG 7 1"},
        {"PALETTES: top 255", "TOP 255 1"},
        {"PALETTES: zero 0", "ZERO 0 1"},
        {"CLUT: 0", "1"},
        {"CLUT: 300", "256"},
        {"CLUT: 17", "17"},
        {"CLUT: x", "17"},
        {"CLUT: -1", "256"},
        {"CLUT: -65535", "1"},
        {"CLUT: 65553", "17"},
        {"CLUT: 65536", "1"},
        {"CLUT: 99999999999", "256"},
        {"CLUT: -99999999999", "1"},
        {"DUPLICATE: 3", "3"},
        {"DUPLICATE: 256", "3"},
        {"DUPLICATE: -1", "3"},
        {"DUPLICATE: 255", "255"},
        {"DUPLICATE: x", "255"},
        {"DUPLICATE: 0", "0"},
    };
    for (const auto& [line, want] : cases)
        EXPECT_EQ(after(line), want) << line;
    EXPECT_EQ(reporter.output(), "");
}
