#include "RlfInfoCommandLine.h"

#include "LayoutPicture.h"
#include "RlfFormat.h"
#include "RlfJsonReport.h"
#include "RlfReader.h"
#include "RlfTextReport.h"
#include "StandardOutput.h"
#include "WholeFile.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <optional>

namespace
{

constexpr const char* kUsage =
    "Usage: rlfinfo [--json] FILE\n"
    "       rlfinfo --render PICTURE.png [--size WxH] [--plain] FILE\n"
    "Prints what a render list (.rlf) holds and checks that every stored offset\n"
    "is where the layout puts it.\n"
    "  --json    print one JSON document instead of text\n"
    "  --render  draw the render list as the screen would show it, with the\n"
    "            gadget boxes, child areas and hotspots over it, into a PNG file\n"
    "  --size    the screen drawn, 640x480 unless given\n"
    "  --plain   draw the render entries only\n"
    "  --help    show this text\n"
    "  --version show the version\n"
    "The text starts with the lines gadgets, bytes, byteOrder and offsetsChecked;\n"
    "then each gadget has a line \"gadget I offset N childAreas C hotspots H entries E\"\n"
    "and indented lines box, offsets, childArea, hotspot and entry, as name-value\n"
    "pairs. Points are x,y; colours #RRGGBB. PC and PSX files share one layout\n"
    "and do not say which screen they are for: coordinates are shown as stored\n"
    "(a PSX file has every y 16 lines lower). Either byte order is read;\n"
    "byteOrder says which one the file uses.\n"
    "A damaged file is reported on standard error with the byte where it stops\n"
    "making sense; then no picture is written. Exit status: 0 printed or drawn,\n"
    "1 unreadable or damaged, or the picture not written, 2 wrong usage.\n";

enum class Request : uint8_t
{
    Report = 0,
    Help = 1,
    Version = 2,
};

struct Options
{
    Request request = Request::Report;
    bool json = false;
    std::string file;
    std::string picture; // --render's file; empty without it
    std::optional<PictureOptions> drawing;
    bool sizeGiven = false;
    bool plain = false;
};

// Options may come before or after the file name; "--" ends them.
std::optional<Options> parse(const std::vector<std::string>& args)
{
    Options options;
    std::vector<std::string> files;
    PictureOptions drawing;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i)
    {
        const std::string& arg = args[i];
        const bool valueFollows = i + 1 < args.size();
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-")
            files.push_back(arg);
        else if (arg == "--")
            optionsEnded = true;
        else if (arg == "--json")
            options.json = true;
        else if (arg == "--render" && valueFollows && !args[i + 1].empty())
            options.picture = args[++i];
        else if (arg == "--size" && valueFollows)
        {
            const std::optional<PictureOptions> sized = parseCanvasSize(args[++i], drawing);
            if (!sized)
                return std::nullopt;
            drawing = *sized;
            options.sizeGiven = true;
        }
        else if (arg == "--plain")
            options.plain = true;
        else if (arg == "--help")
            options.request = Request::Help;
        else if (arg == "--version" && options.request != Request::Help)
            options.request = Request::Version;
        else if (arg != "--version")
            return std::nullopt;
    }
    if (options.request != Request::Report)
        return options;
    if (files.size() != 1)
        return std::nullopt;
    options.file = files.front();
    if (options.picture.empty())
        return options.sizeGiven || options.plain ? std::nullopt : std::optional<Options>(options);
    if (options.json)
        return std::nullopt;
    drawing.overlays = !options.plain;
    options.drawing = drawing;
    return options;
}

// The file's gadgets as the picture takes them.
std::vector<PictureGadget> pictureGadgets(const rlfinfo::Contents& contents)
{
    std::vector<PictureGadget> gadgets;
    gadgets.reserve(contents.gadgets.size());
    for (const rlfinfo::Gadget& read : contents.gadgets)
    {
        PictureGadget& gadget = gadgets.emplace_back();
        gadget.box = read.box;
        gadget.childAreas = read.childAreas;
        gadget.hotspots = read.hotspots;
        gadget.entries.reserve(read.entries.size());
        for (const rlfinfo::Entry& entry : read.entries)
            gadget.entries.push_back(
                RlfRenderEntry{entry.kind, entry.modeLow, entry.textureId, entry.points, entry.colours});
    }
    return gadgets;
}

int drawPicture(const Options& options, const rlfinfo::Contents& contents, std::FILE* err)
{
    const LayoutPicture picture = drawLayout(pictureGadgets(contents), *options.drawing);
    for (const std::string& note : picture.notes)
        std::fprintf(err, "rlfinfo: %s: %s\n", options.file.c_str(), note.c_str());
    std::string why;
    if (!writePngFile(options.picture, picture.canvas.picture(), why))
    {
        std::fprintf(err, "rlfinfo: cannot write %s: %s\n", options.picture.c_str(), why.c_str());
        return 1;
    }
    return 0;
}

} // namespace

int runRlfInfo(const std::vector<std::string>& args, std::FILE* out, std::FILE* err)
{
    const std::optional<Options> options = parse(args);
    if (!options)
    {
        std::fputs(kUsage, err);
        return 2;
    }
    if (options->request == Request::Help)
    {
        std::fputs(kUsage, out);
        return outputReached(out, err, "rlfinfo") ? 0 : 1;
    }
    if (options->request == Request::Version)
    {
        std::fputs("rlfinfo 1.0\n", out);
        return outputReached(out, err, "rlfinfo") ? 0 : 1;
    }

    const WholeFile file = readWholeFile(options->file, rlf::kLongestFile);
    if (file.status == WholeFileStatus::CannotOpen)
    {
        std::fprintf(err, "rlfinfo: cannot open %s: %s\n", options->file.c_str(), file.reason.c_str());
        return 1;
    }
    rlfinfo::ReadResult result;
    if (file.status == WholeFileStatus::TooLong)
        result.damage =
            rlfinfo::Damage{rlf::kLongestFile, "the file is longer than 32-bit offsets can address"};
    else
        result = rlfinfo::readRlf(file.bytes);
    if (result.damage)
    {
        std::fprintf(err, "rlfinfo: %s is damaged at byte %llu: %s\n", options->file.c_str(),
                     static_cast<unsigned long long>(result.damage->offset), result.damage->what.c_str());
        return 1;
    }
    if (options->drawing)
        return drawPicture(*options, result.contents, err);
    const std::string report =
        options->json ? rlfinfo::jsonReport(result.contents) : rlfinfo::textReport(result.contents);
    // A report cut short by a full disk or a closed pipe must not pass for
    // a complete one.
    if (std::fputs(report.c_str(), out) < 0 || std::fflush(out) != 0)
    {
        std::fprintf(err, "rlfinfo: cannot write the report: %s\n", std::strerror(errno));
        return 1;
    }
    return 0;
}
