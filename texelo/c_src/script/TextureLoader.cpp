#include "script/TextureLoader.h"

#include "convert/PaletteSet.h"
#include "convert/PsxConvert.h"
#include "files/PathLookup.h"
#include "image/PngDecoder.h"
#include "image/TgaDecoder.h"

#include <algorithm>
#include <vector>

namespace
{

constexpr uint16_t kMaxTexels = 256;
constexpr uint16_t kWidthMask = 0x7FFF;

constexpr std::string_view kTgaExtension = ".tga";
constexpr std::size_t kExtensionLength = 4;

// Where ".tga" appears in the name, in any letter case (FILES passes names
// as they are on disk); the last place, or npos.
std::size_t tgaExtensionAt(std::string_view name)
{
    for (std::size_t at = name.size() < kExtensionLength ? 0 : name.size() - kExtensionLength + 1; at-- > 0;)
        if (equalsIgnoringCase(name.substr(at, kExtensionLength), kTgaExtension))
            return at;
    return std::string_view::npos;
}

bool hasPngExtension(std::string_view name)
{
    return name.size() >= kExtensionLength &&
           equalsIgnoringCase(name.substr(name.size() - kExtensionLength), ".png");
}

// The PNG file that stands in for a missing Targa file: its ".tga" becomes
// ".png", upper case for upper case.
std::string pngNameFor(const std::string& tgaName)
{
    std::string name = tgaName;
    const std::size_t at = tgaExtensionAt(name);
    name.replace(at, kExtensionLength, name.compare(at, kExtensionLength, ".TGA") == 0 ? ".PNG" : ".png");
    return name;
}

// One place a texture is looked for, and the file looked for there.
struct TexturePlace
{
    std::string path;
    std::string name;
    bool png = false;
};

// The Targa file in PATH and in the texture folder, then, for when neither
// holds a Targa file, the PNG file in both. A name that ends in .png is that
// file alone.
std::vector<TexturePlace> texturePlaces(const TexeloContext& ctx, const std::string& name)
{
    const std::string& path = ctx.state.TexturePath;
    if (hasPngExtension(name))
        return {{path + name, name, true}, {ctx.TextureFolder + name, name, true}};
    const std::string png = pngNameFor(name);
    return {{path + name, name, false},
            {ctx.TextureFolder + name, name, false},
            {path + png, png, true},
            {ctx.TextureFolder + png, png, true}};
}

std::unique_ptr<TextureRecord> makePlaceholder(TexeloContext& ctx, std::unique_ptr<TextureRecord> record)
{
    record->Id = ctx.bank.TextureCount++;
    return record;
}

// Width in VRAM words of a texture `pixels` texels wide.
uint16_t widthInWords(TimKind kind, uint16_t pixels)
{
    switch (kind)
    {
    case TimKind::Indexed4:
        return static_cast<uint16_t>((pixels + 3) / 4);
    case TimKind::Indexed8:
        return static_cast<uint16_t>((pixels + 1) / 2);
    default:
        return pixels;
    }
}

// The CLUT and its copies: remapped through the palette set, duplicated, or
// the texture's own alone. Every shape ends with ClutData holding exactly
// ClutWidth x (ClutExtraRows + 1) entries, which is what the bank writes.
void buildClut(TexeloContext& ctx, TextureRecord& record, const TimImage& image)
{
    ScriptState& state = ctx.state;
    const auto timEntries = static_cast<uint32_t>(image.Clut.size());
    record.ClutWidth = static_cast<uint16_t>((timEntries + 15) & 0x1F0);
    record.ClutExtraRows = 0;
    record.HasClut = 1;
    const uint32_t copies =
        state.PaletteCount == 0 && state.DuplicateCount != 0 ? state.DuplicateCount : state.PaletteCount;
    record.ClutCopies = static_cast<uint8_t>(copies);

    // The texture's own CLUT; entries the TIM does not hold are 0.
    std::vector<uint16_t> own(record.ClutWidth, 0);
    std::copy_n(image.Clut.begin(), std::min<uint32_t>(timEntries, record.ClutWidth), own.begin());

    const bool indexed4 = record.Kind == static_cast<uint8_t>(TimKind::Indexed4);
    if (state.PaletteCount != 0 && state.RemapMode != static_cast<uint32_t>(RemapModeValue::Off))
    {
        RemapToPaletteSet(ctx.palettes, state.PaletteCount, ctx.reporter, own.data(), record.ClutData,
                          record.ClutWidth);
        if (indexed4 && record.ClutWidth == 16 &&
            state.RemapMode == static_cast<uint32_t>(RemapModeValue::Across))
            record.ClutWidth = static_cast<uint16_t>(16 * state.PaletteCount);
        else
            record.ClutExtraRows = static_cast<uint16_t>(state.PaletteCount - 1);
    }
    else if (state.DuplicateCount != 0)
    {
        record.ClutData.clear();
        for (uint32_t i = 0; i < state.DuplicateCount; ++i)
            record.ClutData.insert(record.ClutData.end(), own.begin(), own.end());
        // An 8-bit CLUT is a whole row already: its copies go one per row.
        if (indexed4)
            record.ClutWidth = static_cast<uint16_t>(record.ClutWidth * state.DuplicateCount);
        else
            record.ClutExtraRows = static_cast<uint16_t>(state.DuplicateCount - 1);
    }
    else
    {
        record.ClutData = std::move(own);
        if (!indexed4 && state.BankSeparateCluts)
        {
            state.BankSeparateCluts = 0;
            if (state.MessagesOn)
                ctx.reporter.ReportError("Seperate CLUT's not allowed with 8-bit textures");
        }
    }
    record.ClutData.resize(static_cast<std::size_t>(record.ClutWidth) * (record.ClutExtraRows + 1u), 0);
}

// Why no place held a usable texture: the file that was there and would
// not do, or every place looked in. The places held nothing are needed
// files now, so that a build reruns until the texture appears.
void reportUnusableTexture(TexeloContext& ctx, std::string_view name, const std::vector<PictureFile>& tried)
{
    for (const PictureFile& place : tried)
        if (!place.found)
            ctx.files.noteMissing(place.path);
    for (const PictureFile& place : tried)
        if (place.found)
        {
            ctx.reporter.error(place.path + " " + place.failure);
            return;
        }
    std::string where;
    for (std::size_t i = 0; i < tried.size(); ++i)
        where.append(i == 0 ? "" : i + 1 == tried.size() ? " and " : ", ").append(tried[i].path);
    ctx.reporter.error(formatText("texture %.*s not found; looked for %s", static_cast<int>(name.size()),
                                  name.data(), where.c_str()));
}

} // namespace

std::unique_ptr<TextureRecord> LoadTexture(TexeloContext& ctx, std::string_view name,
                                           const TextureRequest& request)
{
    auto record = std::make_unique<TextureRecord>();
    record->Tiled = request.TileFlag;
    record->PaletteOnly = request.PaletteOnly;
    record->HomeAway = request.HomeAway;
    if (name == "NULL")
        return makePlaceholder(ctx, std::move(record));

    record->Name = tgaExtensionAt(name) != std::string_view::npos || hasPngExtension(name)
                       ? std::string(name)
                       : std::string(name) + std::string(kTgaExtension);
    record->Id = ctx.bank.TextureCount;
    record->ScriptLine = ctx.reporter.line();
    record->NameAsWritten = std::string(name);

    const std::vector<TexturePlace> places = texturePlaces(ctx, record->Name);
    std::vector<PictureFile> tried;
    std::string path;
    std::unique_ptr<RgbaImage> image;
    bool targaFound = false;
    for (const TexturePlace& place : places)
    {
        // A Targa file that does not decode is reported, not replaced.
        if (place.png && targaFound)
            break;
        tried.push_back(place.png ? LoadPngFile(ctx.files, place.path, Presence::Undecided)
                                  : LoadTgaFile(ctx.files, place.path, Presence::Undecided));
        targaFound |= !place.png && tried.back().found;
        if ((image = std::move(tried.back().image)))
        {
            path = place.path;
            record->SourcePath = tried.back().path;
            record->Name = place.name;
            break;
        }
    }
    if (!image)
    {
        ctx.reporter.ReportError(formatText("Failed to open %s", places[1].path.c_str()));
        reportUnusableTexture(ctx, name, tried);
        return nullptr;
    }
    // The places before the one that held it were only looked in.
    for (std::size_t i = 0; i + 1 < tried.size(); ++i)
        if (!tried[i].found)
            ctx.files.noteLookedIn(tried[i].path);
    ctx.reporter.inform(formatText("Opened %s\n", path.c_str()));
    ++ctx.bank.TextureCount;

    const ConversionSettings settings{ctx.TargetDepth,         ctx.FallbackDepth, request.ClutSize8,
                                      request.IndexOffset,      request.PaletteOnly != 0,
                                      request.Reduction};
    std::optional<TimImage> converted = ConvertToPsx(settings, ctx.colours, ctx.reporter,
                                                     image->pixels.data(), image->Width, image->Height, path);
    image.reset();
    if (!converted)
        return nullptr;
    record->ColourCount = ctx.colours.UniqueColourCount;
    record->TimSize = static_cast<uint32_t>(converted->encodedSize());
    record->TimData = std::make_unique<TimImage>(std::move(*converted));
    const TimImage& tim = *record->TimData;

    record->SemiTrans = request.SemiTransMode == static_cast<int8_t>(SemiTransModeValue::None)
                            ? 0
                            : static_cast<uint8_t>(request.SemiTransMode | 0x80);
    record->Kind = static_cast<uint8_t>(tim.Kind);
    if (tim.Kind == TimKind::Direct24)
    {
        ctx.reporter.print(formatText("24-bit textures not supported, failed to load %s!\n", path.c_str()));
        ctx.reporter.error(formatText("%s is a 24-bit image, which a bank cannot hold", path.c_str()));
        return nullptr;
    }
    if (tim.hasClut())
        buildClut(ctx, *record, tim);

    record->Width = widthInWords(tim.Kind, tim.PixelWidth) & kWidthMask;
    record->Height = tim.Height;
    record->PixelWidth = static_cast<uint16_t>(record->Width << (2 - record->Kind));
    if (record->PaletteOnly)
    {
        record->Width = 1;
        record->Height = 0;
        record->PixelWidth = 1;
    }
    // Judged on the untruncated width: a texture 65,536 texels wide must not
    // pass as 0 texels wide.
    const uint32_t texels = static_cast<uint32_t>(record->Width) << (2 - record->Kind);
    if (texels > kMaxTexels || record->Height > kMaxTexels)
    {
        ctx.reporter.print(formatText("Texture %s is too large!\n", path.c_str()));
        ctx.reporter.print(formatText("%s is %d pixels wide and %d pixels high.\n", path.c_str(),
                                      static_cast<int>(texels), record->Height));
        ctx.reporter.error(formatText("%s is %u x %u texels; a texture is at most 256 x 256", path.c_str(),
                                      texels, record->Height));
        return nullptr;
    }
    return record;
}

TextureRecord* AddTexture(TexeloContext& ctx, std::string_view name, const TextureRequest& request)
{
    std::unique_ptr<TextureRecord> record = LoadTexture(ctx, name, request);
    TextureRecord* added = record.get();
    if (record)
        ctx.bank.PendingList.push_back(std::move(record));
    return added;
}

void AddFiles(TexeloContext& ctx, std::string_view pattern, const TextureRequest& request)
{
    for (const std::string& name : ctx.files.findMatchingFiles(ctx.state.TexturePath + std::string(pattern)))
        if (std::unique_ptr<TextureRecord> record = LoadTexture(ctx, name, request))
            ctx.bank.PendingList.push_back(std::move(record));
}
