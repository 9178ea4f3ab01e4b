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

// How a record was first refused where it could have gone (NoGroup only
// when it met nothing else), and whether its CLUT was ever what failed: an
// image that found room while its CLUT found none failed by its CLUT.
struct Attempt
{
    Refusal refusal = Refusal::None;
    int x = 0;
    int y = 0;
    bool clutRefused = false;
};

// Everything one placement run of one bank tracks.
struct PlacementState
{
    PlacementState(TextureBank& placedBank, const BankOptions& bankOptions)
        : bank(placedBank), options(bankOptions), clut(startClutAllocator(bankOptions.BankSeparateCluts)),
          attempts(placedBank.PendingList.size())
    {
    }

    TextureBank& bank;
    const BankOptions& options;
    PlacementResult result;
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
    SkylineColumns Skyline{};      // per VRAM column, the line below the lowest texture placed there
    std::vector<Attempt> attempts; // per record of PendingList
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

enum class ClutOutcome : uint8_t
{
    Shared, // an identical CLUT was placed already
    Placed,
    Refused,
};

ClutOutcome placeClutOf(PlacementState& s, TextureRecord& record)
{
    if (s.options.MatchCluts &&
        FindMatchingClut(s.bank.PendingList, s.options.BankSeparateCluts, record, s.groupCount))
        return ClutOutcome::Shared;
    switch (PlaceClut(s.Skyline, s.options.BankSeparateCluts, s.clut, record, s.groupOriginX, s.groupWidth,
                      s.bandOriginY))
    {
    case ClutPlacement::Placed:
        ++s.clut.uniqueCount;
        return ClutOutcome::Placed;
    case ClutPlacement::TooWide:
        // Said once per texture, however often it is tried.
        if (s.clutRefusals.insert(&record).second)
            s.result.notes.push_back({PlacementNote::Kind::ClutTooWide, &record});
        return ClutOutcome::Refused;
    case ClutPlacement::NoRoom:
        break;
    }
    return ClutOutcome::Refused;
}

// Tries `record` at the cursor; Refusal::None when it was placed. A record
// that does not fit leaves the cursor where the rules say and records in the
// failure flags how the tests it reached ended.
Refusal tryPlace(PlacementState& s, TextureRecord& record)
{
    const bool tiled = record.Tiled != 0;
    const int allowance = pageCrossingAllowance(record.Kind);

    if (record.Kind == static_cast<uint8_t>(TimKind::Indexed8) && s.groupWidth == 0 &&
        record.Width < record.ClutWidth && !openGroup(s, roundUpToPages(record.ClutWidth)))
        return Refusal::NoGroup;

    // 16-bit textures start at even columns.
    const bool movedToEven = record.Kind == static_cast<uint8_t>(TimKind::Direct16) && (s.cursor & 1) != 0;
    if (movedToEven)
        ++s.cursor;
    // Gives up at the cursor: `cursor` is where the rules leave it before
    // the even-column move is taken back.
    const auto refuse = [&](int cursor, Refusal why)
    {
        s.cursor = movedToEven ? cursor - 1 : cursor;
        return why;
    };
    if (s.cursor >= kVramWidth)
        return refuse(s.cursor, Refusal::GroupEdge);

    const int savedX = s.cursor;
    int tileLine = 0;
    if (tiled)
    {
        const int offset = s.cursor & (kPageWidth - 1);
        if (offset != 0 && !isPowerOfTwo(offset))
        {
            if (offset > kHalfPage)
                return refuse(s.cursor, Refusal::Tile);
            s.cursor += nextPowerOfTwo(offset) - offset;
        }
        const int height = skyline(s, savedX) & 0xFF;
        if (height > kLargestTileStep && !isPowerOfTwo(height))
            return refuse(savedX, Refusal::Tile);
        tileLine = s.bandOriginY + (height == 0 || isPowerOfTwo(height) ? height : nextPowerOfTwo(height));
    }

    if (s.groupWidth == 0 && !openGroup(s, roundUpToPages(record.Width)))
        return refuse(s.cursor, Refusal::NoGroup);

    const int end = s.cursor + record.Width;
    if (end > s.groupOriginX + s.groupWidth - s.options.EdgeClear)
        return refuse(s.cursor, Refusal::GroupEdge);
    if (static_cast<uint8_t>((end - 1) / kPageWidth - s.cursor / kPageWidth) > allowance)
        return refuse(s.cursor, Refusal::PageCrossing);

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
        return refuse(s.cursor, Refusal::Height);

    s.flatnessFailed = false;
    for (int column = s.cursor; column < end; ++column)
        s.flatnessFailed = s.flatnessFailed || skyline(s, column) > base;
    if (s.flatnessFailed)
        return refuse(s.cursor, Refusal::Flatness);

    const ClutAllocator clutBefore = s.clut;
    const ClutOutcome clutOutcome = record.HasClut ? placeClutOf(s, record) : ClutOutcome::Shared;
    s.clutFailed = clutOutcome == ClutOutcome::Refused;
    if (s.clutFailed)
        return refuse(s.cursor, Refusal::Clut);
    // The texture's own CLUT may have started a new strip or brought more
    // rows into this one: the image must still end above it.
    if (bottom > imageLimit())
    {
        s.clut = clutBefore;
        s.heightFailed = true;
        return refuse(s.cursor, Refusal::Height);
    }

    int y = base;
    if (tiled)
    {
        if (y > tileLine)
            return refuse(savedX, Refusal::Tile);
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
    s.result.imageWords += uint32_t{record.Width} * record.Height;
    if (clutOutcome == ClutOutcome::Placed)
        s.result.clutWords += uint32_t{record.ClutWidth} * (record.ClutExtraRows + 1u);
    if (tiled)
        s.result.notes.push_back({PlacementNote::Kind::TiledTexture, &record});
    return Refusal::None;
}

void noteRefusal(Attempt& attempt, Refusal refusal, int x, int y)
{
    attempt.clutRefused = attempt.clutRefused || refusal == Refusal::Clut;
    // A cursor past VRAM's edge was no place at all.
    if (x >= kVramWidth)
        return;
    const bool somewhere = refusal != Refusal::NoGroup;
    if (attempt.refusal == Refusal::None || (attempt.refusal == Refusal::NoGroup && somewhere))
        attempt = {refusal, x, y, attempt.clutRefused};
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
        const int triedAt = s.cursor;
        const Refusal refusal = tryPlace(s, record);
        if (refusal == Refusal::None)
        {
            metUnplaced = false;
            i = static_cast<std::size_t>(-1);
            continue;
        }
        noteRefusal(s.attempts[i], refusal, triedAt, skyline(s, std::min(triedAt, kVramWidth - 1)));
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

// The first record in placement order that has no place.
PlacementFailure failureOf(const PlacementState& s)
{
    const TextureList& records = s.bank.PendingList;
    for (std::size_t i = 0; i < records.size(); ++i)
        if (records[i]->Group == 0)
        {
            const Attempt& first = s.attempts[i];
            return {records[i].get(), first.clutRefused ? Refusal::Clut : first.refusal, first.x, first.y};
        }
    return {};
}

} // namespace

PlacementResult PlaceTextures(TextureBank& bank, const BankOptions& options)
{
    PlacementState s(bank, options);
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
        {
            s.result.failure = failureOf(s);
            return std::move(s.result);
        }
    }
    if (s.options.BankSeparateCluts)
        s.bank.ClutRow = separateAreaClutRow(s.clut);
    s.result.uniqueCluts = s.clut.uniqueCount;
    return std::move(s.result);
}
