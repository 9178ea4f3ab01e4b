#include "backdrop/Backdrop.h"

#include "backdrop/ActPalette.h"
#include "backdrop/BackdropFile.h"
#include "convert/PsxConvert.h"
#include "files/PathLookup.h"
#include "image/ImageLoader.h"
#include "image/PngDecoder.h"
#include "image/TgaDecoder.h"
#include "image/TgaImageLoader.h"

#include <algorithm>
#include <new>
#include <optional>
#include <string>
#include <vector>

namespace
{

constexpr uint32_t kMaxBackdropColours = 16;
constexpr uint32_t kMaxIndex = 15;
constexpr int32_t kMinTrueColourWidth = kBackdropWidth - 3; // rounds up to 640 at 4 texels a group
constexpr std::string_view kOutOfMemory = "Out of memory";
constexpr std::string_view kIndexOutOfRange =
    "Image contains pixels referencing outside the range (0-15) in the palette";

// What one backdrop operation works with.
struct BackdropRun
{
    const BackdropSettings& settings;
    ColourTable& colours;
    TexeloReporter& reporter;
    RunFiles& files;
};

// Each failure has its documented text and a diagnostic that says why; the
// text alone stands for both where it says everything.
using Report = void (*)(BackdropRun& run, const std::string& text, const std::string& diagnostic);

void reportError(BackdropRun& run, const std::string& text, const std::string& diagnostic)
{
    run.reporter.ReportError(text);
    run.reporter.error(diagnostic.empty() ? text : diagnostic);
}

// NEWBACKDROP's failures are shown in MessageLine only, yet each one means
// the backdrop was not written: an error of the run.
void reportInMessageLine(BackdropRun& run, const std::string& text, const std::string& diagnostic)
{
    run.reporter.setMessageLine(text);
    FlushMessageLine(run.reporter);
    run.reporter.error(diagnostic.empty() ? text : diagnostic);
}

// A backdrop's picture: NAME.tga, or NAME.png where no Targa file is.
struct BackdropPicture
{
    PictureFile file;
    std::string path; // as formed, for the messages
    std::string pngPath;
};

BackdropPicture loadPicture(BackdropRun& run, const std::string& stem)
{
    BackdropPicture picture{LoadTgaFile(run.files, stem + ".tga", Presence::Undecided), stem + ".tga",
                            stem + ".png"};
    if (picture.file.found)
        return picture;
    PictureFile png = LoadPngFile(run.files, picture.pngPath, Presence::Undecided);
    if (png.found)
    {
        run.files.noteLookedIn(picture.file.path);
        return {std::move(png), picture.pngPath, picture.pngPath};
    }
    run.files.noteMissing(picture.file.path);
    run.files.noteMissing(png.path);
    return picture;
}

// Why a backdrop's picture gave none.
std::string pictureFailure(const PictureFile& picture, const std::string& pngPath = {})
{
    if (picture.found)
        return picture.path + " " + picture.failure;
    return "backdrop picture " + picture.path + " not found" + (pngPath.empty() ? "" : ", nor " + pngPath);
}

void writeBackdropFile(BackdropRun& run, Report report, const std::string& outputPath,
                       const BackdropPalette& basePalette, std::span<const BackdropPalette> extraPalettes,
                       std::span<const uint8_t> pixels4)
{
    const std::vector<uint8_t> bytes = EncodeBackdrop(basePalette, extraPalettes, pixels4);
    const std::string posixPath = toPosixPath(outputPath);
    RunOutput file = run.files.output();
    const BackdropWriteResult result = WriteBackdropBytes(file, posixPath, bytes);
    const std::string why =
        formatText("backdrop %s: %s", posixPath.c_str(), systemReason(file.error()).c_str());
    switch (result)
    {
    case BackdropWriteResult::Written:
        run.files.noteWritten(posixPath);
        break;
    case BackdropWriteResult::CannotCreate:
        report(run, formatText("Couldn't open output file %s", outputPath.c_str()), "cannot create " + why);
        break;
    case BackdropWriteResult::CannotWrite:
        report(run, formatText("Couldn't write output file %s", outputPath.c_str()), "cannot write " + why);
        break;
    }
}

// Palette entries always carry the STP bit, black included, so no colour of
// a backdrop is transparent.
uint16_t backdropColour(const UniqueColour& colour)
{
    return static_cast<uint16_t>(kPsxStpBit | packPsxColour(colour.r, colour.g, colour.b));
}

// Reduces the picture's channels to 5 bits in place and gives its colours in
// ascending PSX order (the rest of the palette 0), or nothing after the
// report when it has more than 16.
std::optional<BackdropPalette> paletteOfPicture(BackdropRun& run, RgbaImage& picture, const std::string& path)
{
    for (std::size_t i = 0; i + kRgbaBytesPerPixel <= picture.pixels.size(); i += kRgbaBytesPerPixel)
        for (std::size_t c = 0; c < 3; ++c)
            picture.pixels[i + c] = static_cast<uint8_t>(reduceChannel(picture.pixels[i + c]));
    const uint32_t count =
        CountColours(false, run.colours, picture.pixels.data(), picture.Width, picture.Height);
    if (count > kMaxBackdropColours)
    {
        reportError(run, formatText("More than 16 colours in %s", path.c_str()),
                    formatText("%s has %u colours; a backdrop picture may have 16", path.c_str(), count));
        return std::nullopt;
    }
    BackdropPalette palette{};
    const std::size_t entries = std::min<std::size_t>(count, run.colours.UniqueColourTable.size());
    for (std::size_t j = 0; j < entries; ++j)
        palette[j] = backdropColour(run.colours.UniqueColourTable[j]);
    return palette;
}

void writeBackdrop(BackdropRun& run, const std::string& name)
{
    const BackdropSettings& state = run.settings;
    std::vector<BackdropPalette> extraPalettes;
    for (uint32_t i = 0; i < state.PaletteCount; ++i)
    {
        const std::string path = formatText("%s%s.pa%u", state.TexturePath.c_str(), name.c_str(), i);
        PictureFile picture = LoadTgaFile(run.files, path, Presence::Required);
        if (!picture.image)
        {
            reportError(run, formatText("Failed to open %s", path.c_str()), pictureFailure(picture));
            return;
        }
        std::optional<BackdropPalette> palette = paletteOfPicture(run, *picture.image, path);
        if (!palette)
            return;
        extraPalettes.push_back(*palette);
    }

    BackdropPicture loaded = loadPicture(run, state.TexturePath + name);
    const std::string& inputPath = loaded.path;
    const std::string outputPath = formatText("%s%s", state.OutputPath.c_str(), name.c_str());
    if (!loaded.file.image)
    {
        reportError(run, formatText("Failed to open %s", inputPath.c_str()),
                    pictureFailure(loaded.file, loaded.pngPath));
        return;
    }
    const std::unique_ptr<RgbaImage> picture = std::move(loaded.file.image);
    // The file's pixel groups need 512 rows of 640 pixels; up to three
    // missing columns are the padding of the 4-bit rows.
    if (picture->Height != static_cast<int32_t>(kBackdropHeight) || picture->Width < kMinTrueColourWidth ||
        picture->Width > static_cast<int32_t>(kBackdropWidth))
    {
        reportError(run, formatText("Backdrop image must be 640 x 512: %s", inputPath.c_str()),
                    formatText("%s is %d x %d pixels; a backdrop is 640 x 512", inputPath.c_str(),
                               picture->Width, picture->Height));
        return;
    }
    const std::optional<BackdropPalette> basePalette = paletteOfPicture(run, *picture, inputPath);
    if (!basePalette)
        return;
    const std::optional<std::vector<uint8_t>> texels =
        MakeDowngrade4(run.colours, run.reporter, picture->pixels.data(), picture->Width, picture->Height);
    if (!texels)
        return; // MakeDowngrade4 has reported it
    writeBackdropFile(run, reportError, outputPath, *basePalette, extraPalettes, *texels);
}

// Where a picture's rows lie in its file: the Targa loader keeps the file's
// order, and Targa files are stored bottom-up.
enum class RowOrder : uint8_t
{
    TopDown,
    BottomUp,
};

// NEWBACKDROP's picture as palette indices, 640 x 512, top row first.
struct IndexedBackdrop
{
    std::vector<uint8_t> Indices;
    std::string Path; // as formed
    RowOrder Rows = RowOrder::TopDown;
};

bool hasBackdropSize(BackdropRun& run, const std::string& path, uint32_t width, uint32_t height)
{
    if (width == kBackdropWidth && height == kBackdropHeight)
        return true;
    reportInMessageLine(
        run, formatText("Backdrop image must be 640 x 512: %s", path.c_str()),
        formatText("%s is %u x %u pixels; a backdrop is 640 x 512", path.c_str(), width, height));
    return false;
}

std::optional<IndexedBackdrop> targaIndices(BackdropRun& run, const std::string& imagePath)
{
    const auto say = [&run](const std::string& text) { reportInMessageLine(run, text, {}); };
    std::unique_ptr<TgaImageLoader> loader = LoadTgaImage(run.files, imagePath);
    if (!loader)
    {
        say(formatText("Failed to open %s", imagePath.c_str()));
        return std::nullopt;
    }
    int decodeResult = kDecodeFailed;
    const std::unique_ptr<Bitmap> bitmap = CreateBitmapFromLoader(*loader, 0, &decodeResult);
    loader.reset();
    if (!bitmap)
    {
        say(formatText("Error loading %s", imagePath.c_str()));
        return std::nullopt;
    }
    const PixelFormat* format = bitmap->Format();
    if (format == nullptr || !format->IsIndexed())
    {
        say(formatText("Backdrop image not index-colour: %s", imagePath.c_str()));
        return std::nullopt;
    }
    // A half-decoded picture is not written.
    if (decodeResult != kDecodeSucceeded)
    {
        say(formatText("Error loading %s", imagePath.c_str()));
        return std::nullopt;
    }
    if (!hasBackdropSize(run, imagePath, bitmap->Width(), bitmap->Height()))
        return std::nullopt;
    IndexedBackdrop picture{std::vector<uint8_t>(std::size_t{kBackdropWidth} * kBackdropHeight), imagePath,
                            RowOrder::BottomUp};
    for (uint32_t y = 0; y < kBackdropHeight; ++y)
        for (uint32_t x = 0; x < kBackdropWidth; ++x)
            picture.Indices[y * kBackdropWidth + x] = static_cast<uint8_t>(
                std::min<uint32_t>(format->ReadRaw(bitmap->PixelAddress(x, kBackdropHeight - 1 - y)), 0xFF));
    return picture;
}

// A palette PNG's pixels are the numbers of their palette entries. The
// Targa file's place was only looked in.
std::optional<IndexedBackdrop> pngIndices(BackdropRun& run, const std::string& imagePath,
                                          const std::string& targaPlace)
{
    run.files.noteLookedIn(targaPlace);
    const FileRead file = run.files.read(imagePath);
    if (!file.bytes)
    {
        reportInMessageLine(run, formatText("Failed to open %s", imagePath.c_str()),
                            file.path + " cannot be read: " + file.failure);
        return std::nullopt;
    }
    IndexedPicture picture;
    std::string reason;
    switch (DecodePngIndices(picture, file.bytes->data(), file.bytes->size(), reason))
    {
    case PngIndexResult::NotIndexed:
        reportInMessageLine(run, formatText("Backdrop image not index-colour: %s", imagePath.c_str()), {});
        return std::nullopt;
    case PngIndexResult::Failed:
        reportInMessageLine(run, formatText("Error loading %s", imagePath.c_str()),
                            file.path + " does not decode as a PNG file: " + reason);
        return std::nullopt;
    case PngIndexResult::Decoded:
        break;
    }
    if (!hasBackdropSize(run, imagePath, picture.Width, picture.Height))
        return std::nullopt;
    return IndexedBackdrop{std::move(picture.Indices), imagePath, RowOrder::TopDown};
}

void writeNewBackdrop(BackdropRun& run, const std::string& name)
{
    const BackdropSettings& state = run.settings;
    const auto say = [&run](const std::string& text, const std::string& diagnostic = {})
    { reportInMessageLine(run, text, diagnostic); };
    if (state.PaletteCount == 0)
    {
        say(formatText("Need to specify number of palettes for %s", name.c_str()),
            formatText("NEWBACKDROP %s needs a palette count: give PALETTES first", name.c_str()));
        return;
    }
    // The palettes come from the working folder, by number alone.
    std::vector<BackdropPalette> palettes;
    for (uint32_t i = 0; i < state.PaletteCount; ++i)
    {
        const std::string actName = formatText("%u.act", i);
        BackdropPalette palette{};
        if (!ReadAct16(run.files, actName, palette))
        {
            say(formatText("Failed to open %s", actName.c_str()),
                formatText("ACT palette %s not found in the working folder", actName.c_str()));
            return;
        }
        palettes.push_back(palette);
    }

    const std::string stem = state.TexturePath + name;
    const std::string outputPath = formatText("%s%s", state.OutputPath.c_str(), name.c_str());
    const PathLookup targa = run.files.lookUp(stem + ".tga");
    const PathLookup png = targa.found ? PathLookup{} : run.files.lookUp(stem + ".png");
    if (!targa.found && !png.found)
        run.files.noteMissing(png.path);
    const std::optional<IndexedBackdrop> picture =
        png.found ? pngIndices(run, stem + ".png", targa.path) : targaIndices(run, stem + ".tga");
    if (!picture)
        return;
    std::vector<uint8_t> pixels4(kBackdropPixelBytes);
    for (uint32_t y = 0; y < kBackdropHeight; ++y)
        for (uint32_t x = 0; x < kBackdropWidth; x += 2)
        {
            const uint32_t left = picture->Indices[y * kBackdropWidth + x];
            const uint32_t right = picture->Indices[y * kBackdropWidth + x + 1];
            if (left > kMaxIndex || right > kMaxIndex)
            {
                reportInMessageLine(
                    run, std::string(kIndexOutOfRange),
                    formatText("%s has a pixel of colour index %u at %u, %u; a backdrop uses indices 0 to 15",
                               picture->Path.c_str(), std::max(left, right), left > kMaxIndex ? x : x + 1,
                               picture->Rows == RowOrder::BottomUp ? kBackdropHeight - 1 - y : y));
                return;
            }
            pixels4[y * kBackdropRowBytes + x / 2] = static_cast<uint8_t>(right << 4 | left);
        }
    writeBackdropFile(run, reportInMessageLine, outputPath, palettes.front(), palettes, pixels4);
}

} // namespace

void WriteBackdrop(const BackdropSettings& settings, ColourTable& colours, TexeloReporter& reporter,
                   RunFiles& files, std::string_view name)
{
    BackdropRun run{settings, colours, reporter, files};
    try
    {
        writeBackdrop(run, std::string(name));
    }
    catch (const std::bad_alloc&)
    {
        reportError(run, std::string(kOutOfMemory), "out of memory writing backdrop " + std::string(name));
    }
}

void WriteNewBackdrop(const BackdropSettings& settings, TexeloReporter& reporter, RunFiles& files,
                      std::string_view name)
{
    ColourTable unused;
    BackdropRun run{settings, unused, reporter, files};
    try
    {
        writeNewBackdrop(run, std::string(name));
    }
    catch (const std::bad_alloc&)
    {
        reportInMessageLine(run, std::string(kOutOfMemory),
                            "out of memory writing backdrop " + std::string(name));
    }
}
