#include "vram/Placement.h"

#include "vram/ClutPlacement.h"
#include "vram/VramGeometry.h"

#include <algorithm>

namespace
{

constexpr int kBottomBand = kBandHeight;
constexpr int kHalfPage = 32;
constexpr int kLargestTileStep = 128;
constexpr uint32_t kNoRetryYet = 65535;

using SkylineColumns = std::array<uint16_t, kVramColumns>;

// Everything one placement run of one bank tracks.
struct PlacementState
{
    PlacementState(TextureBank& placedBank, const BankOptions& bankOptions, TexeloReporter& sink)
        : bank(placedBank), options(bankOptions), reporter(sink),
          clut(startClutAllocator(bankOptions.BankSeparateCluts))
    {
    }

    TextureBank& bank;
    const BankOptions& options;
    TexeloReporter& reporter;
    int cursor = 0;
    int groupOriginX = 0;
    int groupWidth = 0; // 0: no group open
    int bandOriginY = 0;
    uint8_t groupCount = 0;
    uint32_t unplacedAtLastRetry = kNoRetryYet;
    bool heightFailed = false;
    bool flatnessFailed = false;
    bool clutFailed = false;
    bool bandFinished = false;
    ClutAllocator clut;
    ClutRefusals clutRefusals;
    SkylineColumns Skyline{}; // per VRAM column, the line below the lowest texture placed there
};

bool isPowerOfTwo(int value)
{
    return value > 0 && (value & (value - 1)) == 0;
}

int nextPowerOfTwo(int value)
{
    int power = 1;
    while (power < value)
        power <<= 1;
    return power;
}

// The number of page-column boundaries a texture may straddle: 256 texels
// are 64, 128 and 256 words at 4, 8 and 16 bits.
int pageCrossingAllowance(uint8_t kind)
{
    switch (static_cast<TimKind>(kind))
    {
    case TimKind::Indexed4:
        return 0;
    case TimKind::Indexed8:
        return 1;
    default:
        return 3;
    }
}

int roundUpToPages(int words)
{
    return std::max(1, (words + kPageWidth - 1) / kPageWidth) * kPageWidth;
}

uint16_t skyline(const PlacementState& s, int column)
{
    return s.Skyline[static_cast<std::size_t>(column)];
}

// Opens a group at the group origin; false (band finished) when the band
// has no room for it.
bool openGroup(PlacementState& s, int width)
{
    if (s.groupOriginX + width > kVramWidth || s.groupCount >= s.bank.GroupWidths.size())
    {
        s.bandFinished = true;
        return false;
    }
    s.groupWidth = width;
    s.bank.GroupWidths[s.groupCount++] = static_cast<uint8_t>(width / kPageWidth);
    return true;
}

bool placeClutOf(PlacementState& s, TextureRecord& record)
{
    if (s.options.MatchCluts &&
        FindMatchingClut(s.bank.PendingList, s.options.BankSeparateCluts, record, s.groupCount))
        return true;
    if (!PlaceClut(s.Skyline, s.options.BankSeparateCluts, s.reporter, s.clut, s.clutRefusals, record,
                   s.groupOriginX, s.groupWidth, s.bandOriginY))
        return false;
    ++s.clut.uniqueCount;
    return true;
}

// Tries `record` at the cursor; true when it was placed. A record that does
// not fit leaves the cursor where the rules say and records in the failure
// flags how the tests it reached ended.
bool tryPlace(PlacementState& s, TextureRecord& record)
{
    const bool tiled = record.Tiled != 0;
    const int allowance = pageCrossingAllowance(record.Kind);

    if (record.Kind == static_cast<uint8_t>(TimKind::Indexed8) && s.groupWidth == 0 &&
        record.Width < record.ClutWidth && !openGroup(s, roundUpToPages(record.ClutWidth)))
        return false;

    // 16-bit textures start at even columns.
    const bool movedToEven = record.Kind == static_cast<uint8_t>(TimKind::Direct16) && (s.cursor & 1) != 0;
    if (movedToEven)
        ++s.cursor;
    // Gives up at the cursor: `cursor` is where the rules leave it before
    // the even-column move is taken back.
    const auto refuse = [&](int cursor)
    {
        s.cursor = movedToEven ? cursor - 1 : cursor;
        return false;
    };
    if (s.cursor >= kVramWidth)
        return refuse(s.cursor);

    const int savedX = s.cursor;
    int tileLine = 0;
    if (tiled)
    {
        const int offset = s.cursor & (kPageWidth - 1);
        if (offset != 0 && !isPowerOfTwo(offset))
        {
            if (offset > kHalfPage)
                return refuse(s.cursor);
            s.cursor += nextPowerOfTwo(offset) - offset;
        }
        const int height = skyline(s, savedX) & 0xFF;
        if (height > kLargestTileStep && !isPowerOfTwo(height))
            return refuse(savedX);
        tileLine = s.bandOriginY + (height == 0 || isPowerOfTwo(height) ? height : nextPowerOfTwo(height));
    }

    if (s.groupWidth == 0 && !openGroup(s, roundUpToPages(record.Width)))
        return refuse(s.cursor);

    const int end = s.cursor + record.Width;
    if (end > s.groupOriginX + s.groupWidth - s.options.EdgeClear)
        return refuse(s.cursor);
    if (static_cast<uint8_t>((end - 1) / kPageWidth - s.cursor / kPageWidth) > allowance)
        return refuse(s.cursor);

    const int base = skyline(s, s.cursor);
    // A tiled texture that lies above its tile line drops to it, so its
    // height is judged where it will end.
    const int bottom = (tiled ? std::max(base, tileLine) : base) + record.Height;
    const auto imageLimit = [&]
    {
        return s.options.BankSeparateCluts ? s.bandOriginY + kBandHeight - s.options.EdgeClear
                                           : s.clut.row - s.clut.stripExtraRows;
    };
    s.heightFailed = bottom > imageLimit();
    if (s.heightFailed)
        return refuse(s.cursor);

    s.flatnessFailed = false;
    for (int column = s.cursor; column < end; ++column)
        s.flatnessFailed = s.flatnessFailed || skyline(s, column) > base;
    if (s.flatnessFailed)
        return refuse(s.cursor);

    const ClutAllocator clutBefore = s.clut;
    s.clutFailed = record.HasClut && !placeClutOf(s, record);
    if (s.clutFailed)
        return refuse(s.cursor);
    // The texture's own CLUT may have started a new strip or brought more
    // rows into this one: the image must still end above it.
    if (bottom > imageLimit())
    {
        s.clut = clutBefore;
        s.heightFailed = true;
        return refuse(s.cursor);
    }

    int y = base;
    if (tiled)
    {
        if (y > tileLine)
            return refuse(savedX);
        y = tileLine;
    }

    for (int column = s.cursor; column < end; ++column)
        s.Skyline[static_cast<std::size_t>(column)] = static_cast<uint16_t>(y + record.Height);
    record.X = static_cast<uint16_t>(s.cursor - s.groupOriginX);
    record.Y = static_cast<uint16_t>(y - s.bandOriginY);
    record.Group = s.groupCount;
    record.GroupX = static_cast<uint16_t>(s.groupOriginX);
    record.GroupY = static_cast<uint16_t>(s.bandOriginY);
    s.cursor = end;
    if (tiled)
        s.reporter.setMessageLine(formatText("Tiled texture at %d, %d.", record.X, record.Y));
    return true;
}

// Walks the list from its head, restarting after every placement; false
// when the walk met no unplaced record at all.
bool walk(PlacementState& s)
{
    bool metUnplaced = false;
    const TextureList& records = s.bank.PendingList;
    for (std::size_t i = 0; i < records.size(); ++i)
    {
        TextureRecord& record = *records[i];
        if (record.Group != 0)
            continue;
        metUnplaced = true;
        if (tryPlace(s, record))
        {
            metUnplaced = false;
            i = static_cast<std::size_t>(-1);
            continue;
        }
        if (s.bandFinished)
            return true;
    }
    return metUnplaced;
}

// Moves the cursor after a walk by how its last attempts failed.
void moveCursor(PlacementState& s)
{
    const auto nextPage = [&] { s.cursor = s.cursor / kPageWidth * kPageWidth + kPageWidth; };
    if (s.cursor >= kVramWidth)
    {
        s.flatnessFailed = s.heightFailed = s.clutFailed = false;
        nextPage();
        return;
    }
    const int here = skyline(s, s.cursor);
    if (s.flatnessFailed)
    {
        s.flatnessFailed = false;
        // The pit at the cursor is too narrow for any texture: fill it up
        // to the first higher column.
        for (int k = s.cursor + 1; k < kVramWidth; ++k)
        {
            if (skyline(s, k) > here)
            {
                std::fill(s.Skyline.begin() + s.cursor, s.Skyline.begin() + k, skyline(s, k));
                return;
            }
        }
        nextPage();
        return;
    }
    if (s.heightFailed || s.clutFailed)
    {
        s.heightFailed = s.clutFailed = false;
        int column = s.cursor + 1;
        while (column < kVramWidth && skyline(s, column) >= here)
            ++column;
        s.cursor = column;
        return;
    }
    nextPage();
}

uint32_t unplacedCount(const PlacementState& s)
{
    return static_cast<uint32_t>(std::count_if(s.bank.PendingList.begin(), s.bank.PendingList.end(),
                                               [](const auto& record) { return record->Group == 0; }));
}

// The group is done for now: retried while retries place something, else
// closed, moving on to the next group or band. False when both bands are
// used up.
bool finishGroup(PlacementState& s)
{
    if (!s.bandFinished)
    {
        const uint32_t unplaced = unplacedCount(s);
        if (unplaced < s.unplacedAtLastRetry)
        {
            s.unplacedAtLastRetry = unplaced;
            s.cursor = s.groupOriginX;
            return true;
        }
    }
    s.groupOriginX += s.groupWidth;
    s.groupWidth = 0;
    if (s.groupOriginX >= kVramWidth || s.bandFinished)
    {
        if (s.bandOriginY == kBottomBand)
            return false;
        s.bandFinished = false;
        s.groupOriginX = 0;
        s.bandOriginY = kBottomBand;
        s.Skyline.fill(kBottomBand);
    }
    s.cursor = s.groupOriginX;
    if (!s.options.BankSeparateCluts)
        moveClutAllocatorToGroup(s.clut, s.groupOriginX, s.bandOriginY);
    return true;
}

} // namespace

bool PlaceTextures(TextureBank& bank, const BankOptions& options, TexeloReporter& reporter)
{
    PlacementState s(bank, options, reporter);
    for (;;)
    {
        if (!walk(s))
            break;
        if (!s.bandFinished)
        {
            moveCursor(s);
            if (s.cursor < s.groupOriginX + s.groupWidth)
                continue;
        }
        if (!finishGroup(s))
            return false;
    }
    if (s.options.BankSeparateCluts)
        s.bank.ClutRow = separateAreaClutRow(s.clut);
    s.reporter.print(formatText("%d unique CLUTs\n", s.clut.uniqueCount));
    return true;
}
