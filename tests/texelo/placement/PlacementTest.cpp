// VRAM placement on banks built in memory: worked examples rule by rule, and
// the rules every placement keeps, checked on seeded random banks. Every bank
// placed is also written and read back through the inspector's reader.

#include "vram/Placement.h"
#include "../script/BankFixture.h"
#include "script/PlacementReport.h"
#include "vram/BankWriter.h"
#include "vram/Organiser.h"

#include <cstdio>
#include <map>
#include <optional>
#include <random>

namespace
{

// One texture line: 4, 8 or 16 bits, 0 for a NULL line, 1 for a PAL line;
// width in VRAM words and height; its CLUT's width (0: a whole CLUT of the
// depth) and rows, the colour of the first row (-1: one no other record
// has) and of the rows below it.
// clang-format off
struct Shape { int bits = 4, width = 1, height = 1;
              int clutWidth = 0, clutRows = 1, colour = -1, lowerColour = 0; bool tiled = false; };
struct Box { int x, y, w, h; bool operator==(const Box&) const = default; };
Box image(const TextureRecord& r) { return {r.GroupX + r.X, r.GroupY + r.Y, r.Width, r.Height}; }
Box clut(const TextureRecord& r, bool separate) { return {r.ClutX + (separate ? 0 : r.ClutGroupX), r.ClutY + (separate ? 0 : r.ClutGroupY),
                                                           r.ClutWidth, r.ClutExtraRows + 1}; }
bool meet(const Box& a, const Box& b) { return a.w > 0 && a.h > 0 && b.w > 0 && b.h > 0 &&
                                               a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h; }
// clang-format on

// Records separated by commas: "4 16x32" (bits, width x height), then
// "c64x2" (CLUT width x rows), "p7" (colour), "r1" (lower rows' colour),
// "tile", "*16" (that many); "null" and "pal p7" are NULL and PAL lines.
std::vector<Shape> shapes(const std::string& text)
{
    std::vector<Shape> all;
    std::istringstream records(text);
    for (std::string record; std::getline(records, record, ',');)
    {
        std::istringstream in(record);
        std::string word;
        in >> word;
        Shape s;
        s.bits = word == "null" ? 0 : word == "pal" ? 1 : std::stoi(word);
        int times = 1;
        while (in >> word)
        {
            const char* rest = word.c_str() + 1;
            if (word == "tile")
                s.tiled = true;
            else if (word[0] == 'c')
                (void)std::sscanf(rest, "%dx%d", &s.clutWidth, &s.clutRows);
            else if (word[0] == 'p' || word[0] == 'r' || word[0] == '*')
                (word[0] == 'p' ? s.colour : word[0] == 'r' ? s.lowerColour : times) = std::stoi(rest);
            else
                (void)std::sscanf(word.c_str(), "%dx%d", &s.width, &s.height);
        }
        all.insert(all.end(), static_cast<std::size_t>(times), s);
    }
    return all;
}

struct MemoryBank
{
    TextureBank bank;
    BankOptions options;
    CapturingReporter reporter;
    RunFiles files;
    TempFolder folder;

    // The record as the script would load it, with a converted texture of
    // its size and, for a CLUT of several copies, as many copies.
    void add(const Shape& s)
    {
        auto r = std::make_unique<TextureRecord>();
        r->Id = bank.TextureCount++;
        r->Name = formatText("T%u.tga", r->Id);
        r->Tiled = s.tiled;
        bank.PendingList.push_back(std::move(r));
        TextureRecord& record = *bank.PendingList.back();
        if (s.bits == 0)
            return;
        const TimKind kind =
            s.bits == 16 ? TimKind::Direct16 : s.bits == 8 ? TimKind::Indexed8 : TimKind::Indexed4;
        const bool palette = s.bits == 1;
        record.Kind = static_cast<uint8_t>(kind);
        record.PaletteOnly = palette;
        record.Width = static_cast<uint16_t>(palette ? 1 : s.width);
        record.Height = static_cast<uint16_t>(palette ? 0 : s.height);
        const int texelsPerWord = kind == TimKind::Indexed4 ? 4 : kind == TimKind::Indexed8 ? 2 : 1;
        record.PixelWidth = static_cast<uint16_t>(record.Width * texelsPerWord);
        record.TimData = std::make_unique<TimImage>(TimImage{
            kind, {}, record.PixelWidth, record.Height, Bytes(2u * record.Width * record.Height, 0x5A)});
        if (kind == TimKind::Direct16)
            return;
        const int own = kind == TimKind::Indexed4 ? 16 : s.clutWidth != 0 ? s.clutWidth : 256;
        record.HasClut = 1;
        record.ClutWidth = static_cast<uint16_t>(s.clutWidth != 0 ? s.clutWidth : own);
        record.ClutExtraRows = static_cast<uint16_t>(s.clutRows - 1);
        const auto colour = static_cast<uint16_t>(s.colour < 0 ? 1000 + record.Id : s.colour);
        record.ClutData.assign(record.ClutWidth, colour);
        record.ClutData.resize(record.ClutWidth * std::size_t(s.clutRows), uint16_t(s.lowerColour));
        record.TimData->Clut.assign(record.ClutData.begin(), record.ClutData.begin() + own);
        const int copies = record.ClutWidth * s.clutRows / own;
        record.ClutCopies = static_cast<uint8_t>(copies > 1 ? copies : 0);
    }

    // Places the bank and reports it as a run does.
    [[nodiscard]] bool place()
    {
        result = OrganiseVram(bank, options);
        reportPlacement(reporter, result, options);
        return result.placed();
    }
    PlacementResult result;

    [[nodiscard]] const TextureRecord& loaded(uint32_t id) const { return *(*bank.OriginalList)[id]; }
};

// Group, VRAM position, and the CLUT's in VRAM or ("s") the separate area.
std::string placed(const TextureRecord& r, bool separate)
{
    const Box c = clut(r, separate);
    return formatText("%d:%d,%d", r.Group, r.GroupX + r.X, r.GroupY + r.Y) +
           (r.HasClut ? formatText("/%s%d,%d", separate ? "s" : "", c.x, c.y) : "");
}

// clang-format off
std::string name(const TextureRecord& r) { return formatText("T%u (%s)", r.Id, placed(r, false).c_str()); }
// clang-format on

std::string brokenPlacementRule(const MemoryBank& m)
{
    const bool separate = m.options.BankSeparateCluts;
    const auto powerOfTwoOrZero = [](int v) { return (v & (v - 1)) == 0; };
    for (const auto& a : m.bank.PendingList)
    {
        const TextureRecord& r = *a;
        const int columns = r.Group == 0 ? 0 : m.bank.GroupWidths[r.Group - 1u];
        if (columns == 0)
            return name(r) + " has no group";
        const int x = r.GroupX + r.X, groupWidth = 64 * columns;
        if (r.X + r.Width > groupWidth - m.options.EdgeClear || r.GroupX + groupWidth > 1024 ||
            (r.GroupY != 0 && r.GroupY != 256) || r.Y + r.Height > 256)
            return name(r) + " leaves its group or band";
        // 256 texels at 4, 8 and 16 bits are 64, 128 and 256 words.
        if (r.Width != 0 && (x + r.Width - 1) / 64 - x / 64 > (r.Kind == 0 ? 0 : r.Kind == 1 ? 1 : 3))
            return name(r) + " crosses too many texture pages";
        if (r.Kind == 2 && x % 2 != 0)
            return name(r) + " is 16-bit at an odd column";
        if (r.Tiled && (!powerOfTwoOrZero(r.X % 64) || r.X % 64 > 32 || !powerOfTwoOrZero(r.Y)))
            return "tiled " + name(r) + " is not aligned";
        const Box c = clut(r, separate);
        const bool inside = separate ? c.x + c.w <= 64 && c.y + c.h <= 256
                                     : r.ClutGroupX == r.GroupX && r.ClutGroupY == r.GroupY &&
                                           r.ClutX + c.w <= groupWidth && r.ClutY + c.h <= 256;
        if (r.HasClut && !inside)
            return "the CLUT of " + name(r) + " leaves its area";
        for (const auto& b : m.bank.PendingList)
        {
            if (a == b)
                continue;
            const Box other = clut(*b, separate);
            if (meet(image(r), image(*b)))
                return "the images of " + name(r) + " and " + name(*b) + " overlap";
            if (!separate && b->HasClut && meet(image(r), other))
                return "the image of " + name(r) + " overlaps the CLUT of " + name(*b);
            if (r.HasClut && b->HasClut && meet(c, other) && !(c == other && r.ClutData == b->ClutData))
                return "the CLUTs of " + name(r) + " and " + name(*b) + " overlap";
        }
    }
    return {};
}

// Writes the bank and reads it back: every record placed, once, in its
// group, where it was placed; nothing outside its group or area. The
// writer moves CLUTs up under the images, so the rules are checked again.
std::string brokenBankRule(MemoryBank& m)
{
    if (std::string broken = brokenPlacementRule(m); !broken.empty())
        return broken;
    m.options.BankName = m.folder.file("B");
    WriteBank(m.bank, m.options, m.reporter, m.files);
    std::string problems;
    const tbk::Bank bank = readBack(m.folder.file("B.TBK"), problems);
    if (!problems.empty())
        return problems;
    const bool separate = m.options.BankSeparateCluts;
    std::map<uint32_t, const TextureRecord*> unwritten;
    uint32_t separateRows = separate ? 1 : 0; // a separate bank says so with one row at least
    for (const auto& r : m.bank.PendingList)
    {
        if (r->Width != 0)
            unwritten[r->Id] = r.get();
        if (separate && r->HasClut)
            separateRows = std::max<uint32_t>(separateRows, r->ClutY + r->ClutExtraRows + 1u);
    }
    if (bank.textureTotal != m.bank.PendingList.size() || bank.separateRows != separateRows)
        return formatText("the header says %u textures, %u separate rows", bank.textureTotal, bank.separateRows);
    for (std::size_t g = 0; g < bank.groups.size(); ++g)
    {
        if (bank.groups[g].columns != m.bank.GroupWidths[g])
            return formatText("group %zu is %u columns wide", g + 1, bank.groups[g].columns);
        for (const tbk::BankRecord& read : bank.groups[g].records)
        {
            const auto found = unwritten.find(read.id);
            if (found == unwritten.end())
                return formatText("record %u is written twice or was not placed", read.id);
            const TextureRecord& r = *found->second;
            unwritten.erase(found);
            if (r.Group != g + 1 || (read.tag != tbk::PaletteTag::None) != (r.PaletteOnly != 0) ||
                (read.pixels && (read.pixels->dx != r.X || read.pixels->dy != r.Y)) ||
                read.clut.has_value() != (r.HasClut != 0) ||
                (read.clut && (read.clut->dx != r.ClutX || read.clut->dy != r.ClutY)))
                return name(r) + " is written elsewhere";
        }
    }
    if (!unwritten.empty())
        return name(*unwritten.begin()->second) + " is not written";
    return brokenPlacementRule(m);
}

// Up to 60 records of any depth and size, with NULL and PAL lines, tiled
// textures, CLUTs remapped across or down, few colours so that CLUTs are
// often shared, and the bank options at random.
void fillRandomly(MemoryBank& m, uint32_t seed)
{
    std::mt19937 engine(seed);
    const auto pick = [&](int low, int high) { return low + int(engine() % unsigned(high - low + 1)); };
    m.options.BankSeparateCluts = pick(0, 3) == 0;
    m.options.EdgeClear = pick(0, 4) == 0;
    m.options.SortTextures = pick(0, 3) != 0;
    m.options.MatchCluts = pick(0, 4) != 0;
    for (int i = pick(1, 60); i > 0; --i)
    {
        Shape s;
        const int roll = pick(0, 99);
        s.colour = pick(0, 5);
        s.lowerColour = pick(0, 1);
        s.bits = roll < 4 ? 0 : roll < 8 ? 1 : 4 << pick(0, 2);
        const int texels = pick(0, 9) < 6 ? pick(1, 64) : pick(1, 256);
        s.width = (texels * s.bits + 15) / 16;
        s.height = pick(0, 9) < 6 ? pick(1, 64) : pick(1, 256);
        s.tiled = pick(0, 9) == 0;
        const int remap = pick(0, 9); // 0: across, 1: down
        if (s.bits == 4)
        {
            s.clutWidth = remap == 0 ? 16 * pick(2, 4) : 16;
            s.clutRows = remap == 1 ? pick(2, 4) : 1;
        }
        else if (s.bits == 8)
        {
            static constexpr int kWidths[] = {16, 32, 48, 64, 128, 256};
            s.clutWidth = kWidths[pick(0, m.options.BankSeparateCluts && pick(0, 19) != 0 ? 3 : 5)];
            s.clutRows = remap == 1 ? 2 : 1;
        }
        m.add(s);
    }
}

// Where the refused texture could go, by the rules of VRAM and one of the
// bank: its image free of every placed image and CLUT, inside one band,
// crossing no more pages than its depth allows, 16-bit at an even column;
// its CLUT free in the 64 x 256 separate area (unless one there is the
// same), or else in the band, where the images end above the CLUT rows. Groups,
// the skyline and the kept edge are ignored, so "none" proves that the bank
// cannot be placed around what was placed.
std::optional<std::pair<int, int>> roomFor(const TextureRecord& refused, const MemoryBank& m)
{
    const bool separate = m.options.BankSeparateCluts;
    std::vector<int> used(1025 * 513, 0), area(65 * 257, 0); // taken words, summed from the top left
    const auto mark = [](std::vector<int>& sums, int stride, const Box& b)
    {
        for (int y = b.y; y < b.y + b.h; ++y)
            for (int x = b.x; x < b.x + b.w; ++x)
                sums[(y + 1) * stride + x + 1] = 1;
    };
    bool shared = false;
    for (const auto& r : m.bank.PendingList)
        if (r->Group != 0)
        {
            mark(used, 1025, image(*r));
            if (r->HasClut)
                mark(separate ? area : used, separate ? 65 : 1025, clut(*r, separate));
            shared = shared || (separate && r->HasClut && r->ClutData == refused.ClutData);
        }
    for (auto* sums : {&used, &area})
    {
        const int stride = sums == &used ? 1025 : 65;
        for (std::size_t i = stride + 1; i < sums->size(); ++i)
            if (i % stride != 0)
                (*sums)[i] += (*sums)[i - 1] + (*sums)[i - stride] - (*sums)[i - stride - 1];
    }
    const auto freeIn = [](const std::vector<int>& sums, int stride, int x, int y, int w, int h)
    {
        const auto at = [&](int cx, int cy) { return sums[cy * stride + cx]; };
        return at(x + w, y + h) - at(x, y + h) - at(x + w, y) + at(x, y) == 0;
    };
    const int w = refused.Width, h = refused.Height, cw = refused.ClutWidth, ch = refused.ClutExtraRows + 1;
    const int pages = refused.Kind == 0 ? 0 : refused.Kind == 1 ? 1 : 3;
    for (const int band : {0, 256})
    {
        bool clutRoom = !refused.HasClut || shared;
        for (int y = separate ? 0 : band; !clutRoom && y + ch <= (separate ? 256 : band + 256); ++y)
            for (int x = 0; !clutRoom && x + cw <= (separate ? 64 : 1024); ++x)
                clutRoom = separate ? freeIn(area, 65, x, y, cw, ch) : freeIn(used, 1025, x, y, cw, ch);
        const int imageLines = 256 - (separate || !refused.HasClut ? 0 : ch);
        for (int y = band; clutRoom && y + h <= band + imageLines; ++y)
            for (int x = 0; x + w <= 1024; x += refused.Kind == 2 ? 2 : 1)
                if (w == 0 || ((x + w - 1) / 64 - x / 64 <= pages && freeIn(used, 1025, x, y, w, h)))
                    return std::pair(x, y);
    }
    return std::nullopt;
}

} // namespace

TEST(Placement, RandomBanksKeepEveryRule)
{
    int placedBanks = 0;
    std::string refusedWithRoom;
    for (uint32_t seed = 1; seed <= 300; ++seed)
    {
        MemoryBank m;
        fillRandomly(m, seed);
        if (!m.place())
        {
            EXPECT_NE(m.reporter.errors().find("does not fit in VRAM: no place for"), std::string::npos)
                << seed;
            const TextureRecord& refused = *m.result.failure->record;
            if (const auto room = roomFor(refused, m))
                refusedWithRoom += formatText(" %u(T%u:%d,%d)", seed, refused.Id, room->first, room->second);
            continue;
        }
        ++placedBanks;
        if (const std::string broken = brokenBankRule(m); !broken.empty())
        {
            ADD_FAILURE() << "seed " << seed << ": " << broken;
            return;
        }
    }
    // 270 of these banks fit. Of the 30 refused, 22 have no room left for
    // the texture refused. The other 8 had room the placer does not reach:
    // it opens groups of whole page columns from left to right, never goes
    // back to a page it has left, and keeps the EDGE column clear; 7 of them
    // are 16-bit images several pages wide.
    EXPECT_GE(placedBanks, 265) << "the banks made must mostly fit";
    EXPECT_LE(std::count(refusedWithRoom.begin(), refusedWithRoom.end(), '('), 8) << refusedWithRoom;
}

// Loaded in the order given, with SORT OFF unless the options say "sort".
TEST(Placement, WorkedExamples)
{
    // clang-format off
    const struct { const char *what, *options /* sort, separate, edge, nomatch */, *records;
                   const char *placed /* "id=group:x,y/clut x,y ...", or "fails" */, *output = nullptr, *errors = ""; } cases[] = {
        {"sorting puts the widest first; identical CLUTs are shared", "sort", "4 16x32 p7, 4 16x32 p7, 4 32x64",
         "2=1:0,0/0,255 0=1:32,0/16,255 1=1:48,0/16,255", "2 unique CLUTs\n"},
        {"a 4-bit texture never crosses a page boundary", "", "8 48x8 c128, 4 32x8", "1=1:64,0/0,254"},
        {"an 8-bit texture crosses one page boundary, not two", "", "8 32x8, 8 128x8 c16", "1=1:64,0/0,254"},
        {"16-bit textures start at even columns", "", "4 17x4, 16 8x4, 4 3x4, 16 47x4, 4 1x4", "1=1:18,0 4=1:29,0/32,255 3=1:0,4"},
        {"a tiled texture goes to a power-of-two column and line", "", "4 40x5, 4 8x8 tile, 4 4x4", "1=1:0,8/32,255 2=1:40,0/16,255"},
        {"a texture needs level ground under every column", "", "4 16x10, 4 8x2, 4 40x10, 4 16x4, 4 16x4", "4=1:16,10/0,254"},
        {"after a height failure the cursor moves to the first lower column", "", "4 16x200, 4 16x100, 4 32x50, 4 16x100", "3=1:16,100/48,255"},
        {"a NULL line takes an Id but no room", "", "16 64x10, null, 4 16x4", "1=1:0,10 2=1:0,10/0,255"},
        {"EDGE leaves no room for a page-wide texture", "edge", "4 64x4", "fails", "Unable to fit textures into maximum VRAM space!\n",
         "texelo: error: bank B does not fit in VRAM: no place for the image of T0.tga (4-bit; image 64 x 4, CLUT 16 x 1 in VRAM words x lines); "
         "the bank had filled 0.0% of VRAM (0 of 524,288 words); EDGE: ON keeps the last column of each page group free, so a texture a whole "
         "number of pages wide needs EDGE: OFF\n"},
        {"an image 256 lines tall needs SEPERATE", "", "4 8x10, 16 4x256", "fails", nullptr,
         "texelo: error: bank B does not fit in VRAM: no place for the image of T1.tga (16-bit; image 4 x 256 in VRAM words x lines); the bank "
         "had filled 0.0% of VRAM (96 of 524,288 words); an image 256 lines tall fits only with SEPERATE: ON, which moves the CLUTs out of its band\n"},
        {"sixteen page columns fill the top band, then groups open in the bottom one", "", "16 64x200 *17", "15=16:960,0 16=17:0,256"},
        {"two bands of page groups hold 32 groups, not 33", "", "16 64x200 *33", "fails", nullptr,
         "texelo: error: bank B does not fit in VRAM: no place for the image of T32.tga (16-bit; image 64 x 200 in VRAM words x lines); the bank "
         "had filled 78.1% of VRAM (409,600 of 524,288 words); the bank holds too much: another FIT line starts another\n"},
        {"a CLUT never lands on the last line of an image", "", "16 64x255, pal", "1=2:64,0/64,255"},
        {"identical CLUTs are shared within their group", "", "4 64x200 p7, 4 64x200 p7, 4 16x10 p7",
         "0=1:0,0/0,255 1=2:64,0/64,255 2=1:0,200/0,255", "2 unique CLUTs\n"},
        {"identical separate CLUTs are shared across the bank", "separate", "4 64x200 p7, 4 64x200 p7, 4 16x10 p7",
         "0=1:0,0/s0,0 1=2:64,0/s0,0 2=1:0,200/s0,0", "1 unique CLUTs\n"},
        {"MATCHCLUTS OFF shares none", "nomatch", "4 64x200 p7, 4 64x200 p7, 4 16x10 p7", "0=1:0,0/0,255 1=2:64,0/64,255 2=1:0,200/16,255",
         "3 unique CLUTs\n"},
        {"CLUTs of several rows are shared only when every row is equal", "", "4 1x8 c16x2 p7 r1, 4 1x8 c16x2 p7 r2, 4 1x8 c16x2 p7 r1",
         "0=1:0,0/0,254 1=1:1,0/16,254 2=1:2,0/0,254", "2 unique CLUTs\n"},
        {"a row of the separate area starts below the tallest CLUT of the row before", "separate", "4 1x8 *4, 4 1x8 c16x3, 4 1x8 *4",
         "4=1:4,0/s0,1 8=1:8,0/s0,4"},
        {"CLUTs as wide as the separate area fill it down to VRAM's last line", "separate", "4 1x1 c64 *256", "255=1:63,3/s0,255"},
        {"one more does not fit", "separate", "4 1x1 c64 *257", "fails", nullptr,
         "texelo: error: bank B does not fit in VRAM: no place for the CLUT of T256.tga (4-bit; image 1 x 1, CLUT 64 x 1 in VRAM words x lines); "
         "the bank had filled 3.2% of VRAM (16,640 of 524,288 words)\n"},
        {"a CLUT wider than the separate area is refused, and said so once", "separate", "4 8x8, 4 8x8 c80", "fails",
         "CLUT of T1.tga is too wide for the separate CLUT area\nUnable to fit textures into maximum VRAM space!\n",
         "texelo: error: the CLUT of T1.tga (80 words) is wider than the separate CLUT area of 64\ntexelo: error: bank B does not fit in VRAM: no "
         "place for the CLUT of T1.tga (4-bit; image 8 x 8, CLUT 80 x 1 in VRAM words x lines); the bank had filled 0.0% of VRAM (80 of 524,288 "
         "words); the separate CLUT area is 64 words wide: this CLUT fits only with SEPERATE: OFF\n"},
    };
    // clang-format on
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        const std::string options = c.options;
        MemoryBank m;
        m.options.BankName.push_back('B');
        m.options.SortTextures = options.find("sort") != std::string::npos;
        m.options.BankSeparateCluts = options.find("separate") != std::string::npos;
        m.options.EdgeClear = options.find("edge") != std::string::npos;
        m.options.MatchCluts = options.find("nomatch") == std::string::npos;
        for (const Shape& s : shapes(c.records))
            m.add(s);
        std::string got = m.place() ? "" : "fails";
        std::istringstream wanted(got.empty() ? c.placed : "");
        for (std::string token; wanted >> token;)
        {
            const uint32_t id = static_cast<uint32_t>(std::stoul(token));
            got += formatText("%s%u=", got.empty() ? "" : " ", id) +
                   placed(m.loaded(id), m.options.BankSeparateCluts);
        }
        EXPECT_EQ(got, c.placed);
        EXPECT_EQ(c.output ? m.reporter.output() : "", c.output ? c.output : "");
        EXPECT_EQ(m.reporter.errors(), c.errors);
        EXPECT_EQ(got == "fails" ? "" : brokenBankRule(m), "");
    }
}
