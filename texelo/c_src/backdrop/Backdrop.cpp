#include "backdrop/Backdrop.h"

#include "backdrop/ActPalette.h"
#include "backdrop/BackdropFile.h"
#include "convert/PsxConvert.h"
#include "files/PathLookup.h"
#include "image/ImageLoader.h"
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

using Report = void (*)(BackdropRun& run, const std::string& text);

void reportError(BackdropRun& run, const std::string& text)
{
    run.reporter.ReportError(text);
}

// NEWBACKDROP's failures are shown in MessageLine only, yet each one means
// the backdrop was not written: an error of the run.
void reportInMessageLine(BackdropRun& run, const std::string& text)
{
    run.reporter.noteError();
    run.reporter.setMessageLine(text);
    FlushMessageLine(run.reporter);
}

void writeBackdropFile(BackdropRun& run, Report report, const std::string& outputPath,
                       const BackdropPalette& basePalette, std::span<const BackdropPalette> extraPalettes,
                       std::span<const uint8_t> pixels4)
{
    const std::vector<uint8_t> bytes = EncodeBackdrop(basePalette, extraPalettes, pixels4);
    const std::string posixPath = toPosixPath(outputPath);
    switch (WriteBackdropBytes(posixPath, bytes))
    {
    case BackdropWriteResult::Written:
        run.files.noteWritten(posixPath);
        break;
    case BackdropWriteResult::CannotCreate:
        report(run, formatText("Couldn't open output file %s", outputPath.c_str()));
        break;
    case BackdropWriteResult::CannotWrite:
        report(run, formatText("Couldn't write output file %s", outputPath.c_str()));
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
        run.reporter.ReportError(formatText("More than 16 colours in %s", path.c_str()));
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
        std::unique_ptr<RgbaImage> picture = LoadTgaFile(run.reporter, run.files, path);
        if (!picture)
        {
            run.reporter.ReportError(formatText("Failed to open %s", path.c_str()));
            return;
        }
        std::optional<BackdropPalette> palette = paletteOfPicture(run, *picture, path);
        if (!palette)
            return;
        extraPalettes.push_back(*palette);
    }

    const std::string inputPath = formatText("%s%s.tga", state.TexturePath.c_str(), name.c_str());
    const std::string outputPath = formatText("%s%s", state.OutputPath.c_str(), name.c_str());
    std::unique_ptr<RgbaImage> picture = LoadTgaFile(run.reporter, run.files, inputPath);
    if (!picture)
    {
        run.reporter.ReportError(formatText("Failed to open %s", inputPath.c_str()));
        return;
    }
    // The file's pixel groups need 512 rows of 640 pixels; up to three
    // missing columns are the padding of the 4-bit rows.
    if (picture->Height != static_cast<int32_t>(kBackdropHeight) || picture->Width < kMinTrueColourWidth ||
        picture->Width > static_cast<int32_t>(kBackdropWidth))
    {
        run.reporter.ReportError(formatText("Backdrop image must be 640 x 512: %s", inputPath.c_str()));
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

void writeNewBackdrop(BackdropRun& run, const std::string& name)
{
    const BackdropSettings& state = run.settings;
    const auto say = [&run](const std::string& text) { reportInMessageLine(run, text); };
    if (state.PaletteCount == 0)
    {
        say(formatText("Need to specify number of palettes for %s", name.c_str()));
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
            say(formatText("Failed to open %s", actName.c_str()));
            return;
        }
        palettes.push_back(palette);
    }

    const std::string imagePath = formatText("%s%s.tga", state.TexturePath.c_str(), name.c_str());
    const std::string outputPath = formatText("%s%s", state.OutputPath.c_str(), name.c_str());
    std::unique_ptr<TgaImageLoader> loader = LoadTgaImage(run.files, imagePath);
    if (!loader)
    {
        say(formatText("Failed to open %s", imagePath.c_str()));
        return;
    }
    int decodeResult = kDecodeFailed;
    const std::unique_ptr<Bitmap> bitmap = CreateBitmapFromLoader(*loader, 0, &decodeResult);
    loader.reset();
    if (!bitmap)
    {
        say(formatText("Error loading %s", imagePath.c_str()));
        return;
    }
    const PixelFormat* format = bitmap->Format();
    if (format == nullptr || !format->IsIndexed())
    {
        say(formatText("Backdrop image not index-colour: %s", imagePath.c_str()));
        return;
    }
    // A half-decoded picture is not written.
    if (decodeResult != kDecodeSucceeded)
    {
        say(formatText("Error loading %s", imagePath.c_str()));
        return;
    }
    if (bitmap->Width() != kBackdropWidth || bitmap->Height() != kBackdropHeight)
    {
        say(formatText("Backdrop image must be 640 x 512: %s", imagePath.c_str()));
        return;
    }

    // The loader keeps the file's row order, and files are stored bottom-up.
    std::vector<uint8_t> pixels4(kBackdropPixelBytes);
    for (uint32_t j = 0; j < kBackdropHeight; ++j)
    {
        const uint32_t row = kBackdropHeight - 1 - j;
        for (uint32_t x = 0; x < kBackdropWidth; x += 2)
        {
            const uint32_t left = format->ReadRaw(bitmap->PixelAddress(x, row));
            const uint32_t right = format->ReadRaw(bitmap->PixelAddress(x + 1, row));
            if (left > kMaxIndex || right > kMaxIndex)
            {
                say(std::string(kIndexOutOfRange));
                return;
            }
            pixels4[j * kBackdropRowBytes + x / 2] = static_cast<uint8_t>(right << 4 | left);
        }
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
        run.reporter.ReportError(std::string(kOutOfMemory));
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
        reportInMessageLine(run, std::string(kOutOfMemory));
    }
}
