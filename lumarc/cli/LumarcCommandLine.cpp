#include "LumarcCommandLine.h"

#include "LayoutPicture.h"
#include "MdfLoader.h"
#include "RlfConversion.h"
#include "RlfSave.h"
#include "StandardOutput.h"

#include <cinttypes>
#include <cstring>

namespace
{

constexpr const char* kUsage = "Usage: lumarc [--psx] INPUT.mdf OUTPUT.rlf\n"
                               "       lumarc --list INPUT.mdf\n"
                               "       lumarc [--psx] --render PICTURE.png [--size WxH] [--plain] INPUT.mdf\n"
                               "Converts a screen layout (.mdf) into a render list (.rlf). Run without\n"
                               "arguments, lumarc opens its converter dialog \"MDF -> RLF\" (a build\n"
                               "without windows prints this text instead).\n"
                               "  --psx     write for the console: every y coordinate 16 lines lower\n"
                               "  --list    print one line per gadget: ID, name, child rects, hotspots,\n"
                               "            primitives, separated by TAB\n"
                               "  --render  convert in memory and draw the render list as the screen\n"
                               "            would show it into a PNG file, as rlfinfo --render does\n"
                               "  --size    the screen drawn, 640x480 unless given\n"
                               "  --plain   draw the render entries only, without the gadget boxes,\n"
                               "            child areas and hotspots\n"
                               "  --help    show this text\n"
                               "  --version show the version\n"
                               "A failure names the file and the reason on standard error and leaves\n"
                               "no output file. Exit status: 0 done, 1 a file could not be read or\n"
                               "written, 2 a wrong command line.\n";

// The system's words for `error`; a failure that left no errno is an I/O error.
const char* reason(int error)
{
    return std::strerror(error != 0 ? error : EIO);
}

struct Options
{
    bool psx = false;
    bool list = false;
    std::string picture; // --render's file; empty without it
    PictureOptions drawing;
    bool sizeGiven = false;
    bool plain = false;
    std::vector<std::string> files;
    std::string problem; // what is wrong with the command line; empty when nothing
};

// Options may stand anywhere among the file names; "--" ends them.
Options parse(const std::vector<std::string>& args)
{
    Options options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i)
    {
        const std::string& arg = args[i];
        const bool valueFollows = i + 1 < args.size();
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-")
            options.files.push_back(arg);
        else if (arg == "--")
            optionsEnded = true;
        else if (arg == "--psx")
            options.psx = true;
        else if (arg == "--list")
            options.list = true;
        else if (arg == "--plain")
            options.plain = true;
        else if ((arg == "--render" || arg == "--size") && (!valueFollows || args[i + 1].empty()))
        {
            options.problem = arg + " needs a value";
            return options;
        }
        else if (arg == "--render")
            options.picture = args[++i];
        else if (arg == "--size")
        {
            const std::optional<PictureOptions> sized = parseCanvasSize(args[++i], options.drawing);
            if (!sized)
            {
                options.problem = "--size takes WxH, each side 1 to " + std::to_string(kLargestCanvasSide) +
                                  ", not '" + args[i] + "'";
                return options;
            }
            options.drawing = *sized;
            options.sizeGiven = true;
        }
        else
        {
            const bool alone = arg == "--help" || arg == "--version";
            options.problem = alone ? arg + " takes no other arguments" : "unknown option '" + arg + "'";
            return options;
        }
    }
    const bool rendering = !options.picture.empty();
    const std::size_t wanted = options.list || rendering ? 1 : 2;
    options.drawing.overlays = !options.plain;
    if (options.list && options.psx)
        options.problem = "--psx cannot be used with --list";
    else if (options.list && rendering)
        options.problem = "--render cannot be used with --list";
    else if (!rendering && (options.sizeGiven || options.plain))
        options.problem = std::string(options.plain ? "--plain" : "--size") + " needs --render";
    else if (options.files.size() > wanted)
        options.problem = "unexpected argument '" + options.files[wanted] + "'";
    else if ((options.list || rendering) && options.files.empty())
        options.problem = "missing INPUT.mdf";
    else if (options.files.empty())
        options.problem = "missing INPUT.mdf and OUTPUT.rlf";
    else if (options.files.size() == 1 && wanted == 2)
        options.problem = "missing OUTPUT.rlf";
    return options;
}

int listGadgets(const MdfRoot& model, std::FILE* out, std::FILE* err)
{
    for (uint16_t i = 0; i < model.gadgets.count(); ++i)
    {
        const MdfGadget& gadget = model.gadgets.at(i);
        std::fprintf(out, "%04d\t%s\t%d\t%d\t%zu\n", i, model.gadgetName(i).c_str(), gadget.rects.count(),
                     gadget.hotspots.count(), gadget.primitiveCount());
    }
    return outputReached(out, err, "lumarc") ? kExitOk : kExitFailed;
}

// The gadgets of the render list the save would write, boxes and texture
// numbers as the layout pass leaves them.
std::vector<PictureGadget> pictureGadgets(RlfFile& rlf)
{
    rlf.layout();
    std::vector<PictureGadget> gadgets;
    for (const RlfGadget& converted : rlf.gadgets)
    {
        PictureGadget& gadget = gadgets.emplace_back();
        gadget.box = RlfRect{converted.x, converted.y, converted.w, converted.h};
        gadget.childAreas.assign(converted.childAreas.begin(), converted.childAreas.end());
        gadget.hotspots.assign(converted.hotspots.begin(), converted.hotspots.end());
        gadget.entries.assign(converted.renderList.entries.begin(), converted.renderList.entries.end());
    }
    return gadgets;
}

int drawPicture(const MdfRoot& model, const Options& options, std::FILE* err)
{
    const std::unique_ptr<RlfFile> rlf = buildRlf(model, options.psx ? kPsxYOffset : 0);
    const LayoutPicture picture = drawLayout(pictureGadgets(*rlf), options.drawing);
    for (const std::string& note : picture.notes)
        std::fprintf(err, "lumarc: '%s': %s\n", options.files[0].c_str(), note.c_str());
    std::string why;
    if (!writePngFile(options.picture, picture.canvas.picture(), why))
    {
        std::fprintf(err, "lumarc: cannot write '%s': %s\n", options.picture.c_str(), why.c_str());
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace

int runLumarcCommandLine(const std::vector<std::string>& args, std::FILE* out, std::FILE* err)
{
    if (args.size() == 1 && args[0] == "--help")
    {
        std::fputs(kUsage, out);
        return outputReached(out, err, "lumarc") ? kExitOk : kExitFailed;
    }
    if (args.size() == 1 && args[0] == "--version")
    {
        std::fputs("lumarc 1.0\n", out);
        return outputReached(out, err, "lumarc") ? kExitOk : kExitFailed;
    }
    const Options options = parse(args);
    if (!options.problem.empty())
    {
        std::fprintf(err, "lumarc: %s\n%s", options.problem.c_str(), kUsage);
        return kExitUsage;
    }

    const std::string& input = options.files[0];
    const MdfLoadResult loaded = loadMdf(input);
    if (loaded.status == MdfLoadStatus::CannotOpen)
    {
        std::fprintf(err, "lumarc: cannot open '%s': %s\n", input.c_str(), reason(loaded.error));
        return kExitFailed;
    }
    if (loaded.status != MdfLoadStatus::Loaded)
    {
        // The reader's message already names the file and the byte where it stops making sense.
        std::fprintf(err, "lumarc: %s\n", loaded.message.c_str());
        return kExitFailed;
    }
    if (options.list)
        return listGadgets(*loaded.model, out, err);
    if (!options.picture.empty())
        return drawPicture(*loaded.model, options, err);

    const std::string& output = options.files[1];
    const int yOffset = options.psx ? kPsxYOffset : 0;
    const auto printSize = [out](int64_t bytes) { std::fprintf(out, "%" PRId64 " bytes\n", bytes); };
    const RlfSaveResult saved = saveRlf(*loaded.model, yOffset, output, printSize);
    if (saved.status != RlfSaveStatus::Saved)
    {
        std::fprintf(err, "lumarc: cannot write '%s': %s\n", output.c_str(), reason(saved.error));
        return kExitFailed;
    }
    // The render list is written and stays; a build still learns that its
    // log lost the size line.
    return outputReached(out, err, "lumarc") ? kExitOk : kExitFailed;
}
