// Script lines of both dialects, run in process: what each asks for is
// checked in the bank read back and in the exact texts the run prints.

#include "BankFixture.h"
#include "script/ScriptReader.h"

#include <regex>

namespace
{

// The bank in one line: its texture count and separate rows, then per group "columns x lines:"
// and per record its Id, "@x,y" for its image, "/x,y wxh" for its CLUT area,
// and its palette tag or transparency mode.
std::string describe(const tbk::Bank& bank)
{
    std::string text = formatText("textures %u, rows %u", bank.textureTotal, bank.separateRows);
    for (const tbk::BankGroup& group : bank.groups)
    {
        text += formatText(" | %ux%u:", group.columns, group.lines);
        for (const tbk::BankRecord& r : group.records)
        {
            text += formatText(" %u", r.id);
            if (r.pixels)
                text += formatText("@%d,%d", r.pixels->dx, r.pixels->dy);
            if (r.clut)
                text += formatText("/%d,%d %dx%d", r.clut->dx, r.clut->dy, r.clut->w, r.clut->h);
            if (r.tag != tbk::PaletteTag::None)
                text.append(" ").append(tbk::tagName(r.tag));
            if (r.transparency != tbk::Transparency::None)
                text.append(" ").append(tbk::transparencyName(r.transparency));
        }
    }
    return text;
}

} // namespace

class ScriptLines : public ScriptRun
{
protected:
    ScriptLines()
    {
        // All 4-bit in the same two colours; widths in VRAM words.
        texture("four", 4, 1, 2);   // 1
        texture("six", 6, 1, 2);    // 2
        texture("five", 20, 1, 2);  // 5
        texture("wide", 32, 1, 2);  // 8
        texture("full", 256, 1, 2); // 64, a whole page column
        texture("huge", 257, 1, 2);
        texture("eight", 20, 1, 20); // 8-bit: 10 words
        for (const char* name : {"tex/b", "tex/a", "tex/ab"})
            texture(name, 4, 1, 2);
        // A palette set for REMAP; only the shape of the copies matters here.
        for (const char* name : {"default", "pal0", "pal1"})
            folder.write(std::string("pals/") + name + ".pal", Bytes{8, 8, 8, 16, 8, 8});
    }
};

TEST_F(ScriptLines, EachLineReachesTheBankOrTheMessages)
{
    // `bank` is "none" when no bank is written.
    // clang-format off
    const struct { const char* what; const char* script; const char* bank; const char* output = nullptr; } cases[] = {
        {"transparency modes, palette tags, and identical CLUTs shared",
         "TRANS: four\nALPHA: four\nSUB: four\nfour\nPAL: four\nHOMEPAL: four\nAWAYPAL: four\nFIT: bank\n",
         "textures 7, rows 0 | 1x2: 0@0,0/0,1 16x1 TRANS 1@1,0/0,1 16x1 ALPHA 2@2,0/0,1 16x1 SUB "
         "3@3,0/0,1 16x1 4/0,1 16x1 PAL 5/0,1 16x1 HOMEPAL 6/0,1 16x1 AWAYPAL",
         "Opened FOUR.tga\nOpened FOUR.tga\nOpened FOUR.tga\nOpened FOUR.tga\nOpened FOUR.tga\n"
         "Opened FOUR.tga\nOpened FOUR.tga\n1 unique CLUTs\nSaving Textures...\n"},
        {"MATCHCLUTS OFF gives each texture its own CLUT", "MATCHCLUTS: OFF\nfour\nfour\nFIT: bank\n",
         "textures 2, rows 0 | 1x2: 0@0,0/0,1 16x1 1@1,0/16,1 16x1"},
        {"SEPERATE puts the CLUT in the separate area", "SEPERATE: ON\nfour\nFIT: bank\n", "textures 1, rows 1 | 1x2: 0@0,0/0,0 16x1"},
        {"SORT places the widest first", "four\nwide\nFIT: bank\n", "textures 2, rows 0 | 1x2: 0@8,0/0,1 16x1 1@0,0/0,1 16x1"},
        {"SORT OFF keeps the load order", "SORT: OFF\nfour\nwide\nFIT: bank\n", "textures 2, rows 0 | 1x2: 0@0,0/0,1 16x1 1@1,0/0,1 16x1"},
        {"TILE puts a texture at a power-of-two column", "SORT: OFF\nfive\nTILE: four\nFIT: bank\n",
         "textures 2, rows 0 | 1x2: 0@0,0/0,1 16x1 1@8,0/0,1 16x1"},
        {"a 4-bit width that is no multiple of four takes a whole word", "SORT: OFF\nsix\nsix\nFIT: bank\n",
         "textures 2, rows 0 | 1x2: 0@0,0/0,1 16x1 1@2,0/0,1 16x1"},
        {"REMAP ACROSS puts the copies side by side", "PALETTES: pals 2\nfour\nFIT: bank\n", "textures 1, rows 0 | 1x2: 0@0,0/0,1 32x1"},
        {"REMAP DOWN puts one copy on each row", "PALETTES: pals 2\nREMAP: DOWN\nfour\nFIT: bank\n", "textures 1, rows 0 | 1x3: 0@0,0/0,1 16x2"},
        {"NULL takes an Id and no room; a missing or too large texture is reported and left out",
         "missing\nNULL\nhuge\nfull\nFIT: bank\n", "textures 2, rows 0 | 1x2: 2@0,0/0,1 16x1",
         "Failed to open t:\\Varnok\\Textures\\PSX\\TGAS\\Objects\\Global\\MISSING.tga\nOpened HUGE.tga\nTexture HUGE.tga is too large!\nHUGE.tga is "
         "260 pixels wide and 1 pixels high.\nOpened FULL.tga\n1 unique CLUTs\nSaving Textures...\n"},
        {"FILES loads the matching files of PATH in name order", "PATH: tex/\nFILES: ?.tga\nFIT: bank\n",
         "textures 2, rows 0 | 1x2: 0@0,0/0,1 16x1 1@1,0/0,1 16x1", "Opened TEX/a.tga\nOpened TEX/b.tga\n1 unique CLUTs\nSaving Textures...\n"},
        {"EDGE OFF", "EDGE: OFF\nfull\nFIT: bank\n", "textures 1, rows 0 | 1x2: 0@0,0/0,1 16x1"},
        {"FIT sets SEPERATE, EDGE and SORT back for the next bank; MATCHCLUTS stays",
         "MATCHCLUTS: OFF\nSEPERATE: ON\nEDGE: ON\nSORT: OFF\nfour\nFIT: first\nfour\nwide\nfull\nFIT: bank\n",
         "textures 3, rows 0 | 1x3: 0@8,1/32,2 16x1 1@0,1/16,2 16x1 2@0,0/0,2 16x1"},
        {"a switch value other than ON or OFF changes nothing", "SORT: OFF\nSORT: YES\nMATCHCLUTS: YES\nfour\nwide\nfour\nFIT: bank\n",
         "textures 3, rows 0 | 1x2: 0@0,0/0,1 16x1 1@1,0/0,1 16x1 2@9,0/0,1 16x1"},
        {"MESSAGES ON prints each option's state", "MESSAGES: ON\nMATCHCLUTS: OFF\nSEPERATE: ON\nEDGE: ON\nSORT: OFF\nREMAP: DOWN\nREMAP: ACROSS\n"
         "REMAP: OFF\nSEPERATE: OFF\nMESSAGES: OFF\nSORT: ON\n", "none",
         "CLUT matching OFF\nSeperate CLUT's ON\nVRAM Page Edge-clear keeping ON\nSorting OFF\n"
         "Remapping ON DOWN\nRemapping ON ACROSS\nRemapping OFF\nSeperate CLUT's OFF\n"},
        // Layout scripts: a cell letter names a 64 x 64 cell of the first
        // four pages, x counts texels; CLUTs go along row 255, and the writer
        // moves them up under the images.
        {"layout cells", "a FOUR 0 0 4 1 FOUR 8 0 4 1\nb FOUR 0 0 4 1\ne FOUR 0 4 4 1\nFIT: bank\n",
         "textures 4, rows 0 | 1x70: 0@0,0/0,69 16x1 1@2,0/16,69 16x1 2@16,0/32,69 16x1 3@0,68/48,69 16x1"},
        {"layout entries after two blanks, x rounding down to words", "b  FOUR -5 4 4 1 FOUR 40 0 4 1\nFIT: bank\n",
         "textures 2, rows 0 | 1x6: 0@14,4/0,5 16x1 1@26,0/16,5 16x1"},
        // CLUT is unsigned 16-bit: -1 is 65535, which like any size above 256 gives 256.
        {"CLUT: 32 gives a 32-entry CLUT", "CLUT: 32\neight\nFIT: bank\n", "textures 1, rows 0 | 1x2: 0@0,0/0,1 32x1"},
        {"CLUT: -1 gives 256 entries", "CLUT: -1\neight\nFIT: bank\n", "textures 1, rows 0 | 4x2: 0@0,0/0,1 256x1"},
        // y beyond the int range is the int limit; Y keeps the low 16 bits of the cell's
        // base (64) plus y: 64 + 2^31 - 1 is 63, 64 - 2^31 is 64 (fuzzing found it overflowing).
        {"layout y beyond the int range", "e FOUR 0 2222222222222222222222 4 1\nFIT: bank\n", "textures 1, rows 0 | 1x65: 0@0,63/0,64 16x1"},
        {"layout y below the int range", "e FOUR 0 -2222222222222222222222 4 1\nFIT: bank\n", "textures 1, rows 0 | 1x66: 0@0,64/0,65 16x1"},
        {"layout entries past the fourth page are refused",
         "a FOUR 0 0 4 1 FOUR 256 0 4 1 FOUR 512 0 4 1 FOUR 1020 0 4 1 FOUR 1024 0 4 1\nFIT: bank\n",
         "textures 4, rows 0 | 1x2: 0@0,0/0,1 16x1 | 1x2: 1@0,0/16,1 16x1 | 1x2: 2@0,0/32,1 16x1 | 1x2: 3@63,0/48,1 16x1",
         "Opened FOUR.tga\nOpened FOUR.tga\nOpened FOUR.tga\nOpened FOUR.tga\nCell entry FOUR lies outside the texture pages\nSaving Textures...\n"},
        {"layout name prefixes: * TRANS, ? ALPHA, & palette only; RESTART starts a CLUT row",
         "a *FOUR 0 0 4 1 ?FOUR 8 0 4 1 &FOUR 16 0 4 1\nRESTART\nb FOUR 0 0 4 1\nFIT: bank\n",
         "textures 4, rows 0 | 1x3: 0@0,0/0,1 16x1 TRANS 1@2,0/16,1 16x1 ALPHA 2/32,1 16x1 PAL 3@16,0/0,2 16x1"},
        {"separate layout CLUTs fill rows of 64 words",
         "SEPERATE: ON\na FOUR 0 0 4 1 FOUR 4 0 4 1 FOUR 8 0 4 1 FOUR 12 0 4 1 FOUR 16 0 4 1\nFIT: bank\n",
         "textures 5, rows 3 | 1x2: 0@0,0/0,0 16x1 1@1,0/16,0 16x1 2@2,0/32,0 16x1 3@3,0/48,0 16x1 4@4,0/0,1 16x1"},
        {"layout NULL and missing entries", "a NULL 0 0 4 1 MISSING 8 0 4 1 FOUR 8 0 4 1\nFIT: bank\n", "textures 2, rows 0 | 1x2: 1@2,0/0,1 16x1",
         "Failed to open t:\\Varnok\\Textures\\PSX\\TGAS\\Objects\\Global\\MISSING.tga\nOpened FOUR.tga\nSaving Textures...\n"},
        {"a layout bank without textures", "a MISSING 0 0 4 1\nFIT: bank\n", "none",
         "Failed to open t:\\Varnok\\Textures\\PSX\\TGAS\\Objects\\Global\\MISSING.tga\nCouldn't find any textures\n"},
    };
    // clang-format on
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(folder.file("BANK.TBK"));
        const bool layout = std::regex_search(c.script, std::regex("(^|\n)[a-z] ")); // a cell line
        run(layout ? "s.lay" : "s.fit", c.script);
        std::string problems;
        EXPECT_EQ(folder.exists("BANK.TBK") ? describe(readBack(folder.file("BANK.TBK"), problems)) : "none",
                  c.bank);
        EXPECT_EQ(problems, "");
        if (c.output)
        {
            EXPECT_EQ(reporter->output(), c.output);
        }
    }
}

TEST(ScriptReader, LinesSplitIntoKeywordAndArgument)
{
    // `lines`: "#" for a comment, else keyword=argument.
    // clang-format off
    const struct { const char* what; std::string text; std::vector<std::string> lines; } cases[] = {
    // clang-format on
        {"a comment only when the very first character marks it",
         "#a: b\n*c\n;d\n #x\n",
         {"#", "#", "#", "#X="}},
        {"blanks dropped in the keyword and kept inside and after the argument, all upper-cased",
         "S O R T : on\n\tnew back drop:\t my  pic \n",
         {"SORT=ON", "NEWBACKDROP=MY  PIC "}},
        {"a line without a colon keeps the previous argument",
         "PATH: x\n\nSORT\nKEY:\nSORT",
         {"PATH=X", "=X", "SORT=X", "KEY=", "SORT="}},
        {"CR LF reads as LF", "SORT: on\r\n# note\r\nb\r\n", {"SORT=ON", "#", "B=ON"}},
        {"keyword and argument cut to 511 characters",
         std::string(600, 'k') + ":" + std::string(600, 'a'),
         {std::string(511, 'K') + "=" + std::string(511, 'A')}},
    };
    for (const auto& c : cases)
    {
        ScriptReader reader(c.text);
        std::vector<std::string> lines;
        while (reader.readLine())
            lines.push_back(reader.isComment() ? "#" : reader.keyword() + "=" + reader.argument());
        EXPECT_EQ(lines, c.lines) << c.what;
    }
}
