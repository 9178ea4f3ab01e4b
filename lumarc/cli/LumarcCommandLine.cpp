#include "LumarcCommandLine.h"

#include "MdfLoader.h"
#include "RlfConversion.h"
#include "RlfSave.h"

#include <cinttypes>
#include <optional>

namespace
{

constexpr const char* kUsage = "Usage: lumarc [--psx] INPUT.mdf OUTPUT.rlf\n"
                               "       lumarc --list INPUT.mdf\n"
                               "Converts a screen layout (.mdf) into a render list (.rlf).\n"
                               "  --psx     write for the console: every y coordinate 16 lines lower\n"
                               "  --list    print one line per gadget: ID, name, child rects, hotspots,\n"
                               "            primitives, separated by TAB\n"
                               "  --help    show this text\n"
                               "  --version show the version\n";

struct Options
{
    bool psx = false;
    bool list = false;
    std::vector<std::string> files;
};

// Options come before the file names; "--" ends them.
std::optional<Options> parse(const std::vector<std::string>& args)
{
    Options options;
    bool optionsEnded = false;
    for (const std::string& arg : args)
    {
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-")
            options.files.push_back(arg);
        else if (arg == "--")
            optionsEnded = true;
        else if (arg == "--psx")
            options.psx = true;
        else if (arg == "--list")
            options.list = true;
        else
            return std::nullopt;
    }
    const std::size_t wanted = options.list ? 1 : 2;
    if (options.files.size() != wanted || (options.list && options.psx))
        return std::nullopt;
    return options;
}

int listGadgets(const MdfRoot& model, std::FILE* out)
{
    for (uint16_t i = 0; i < model.gadgets.count(); ++i)
    {
        const MdfGadget& gadget = model.gadgets.at(i);
        std::fprintf(out, "%04d\t%s\t%d\t%d\t%zu\n", i, model.gadgetName(i).c_str(), gadget.rects.count(),
                     gadget.hotspots.count(), gadget.primitiveCount());
    }
    return std::fflush(out) == 0 ? kExitOk : kExitFailed;
}

} // namespace

int runLumarcCommandLine(const std::vector<std::string>& args, std::FILE* out, std::FILE* err)
{
    if (args.size() == 1 && args[0] == "--help")
    {
        std::fputs(kUsage, out);
        return kExitOk;
    }
    if (args.size() == 1 && args[0] == "--version")
    {
        std::fputs("lumarc 1.0\n", out);
        return kExitOk;
    }
    const std::optional<Options> options = parse(args);
    if (!options)
    {
        std::fputs(kUsage, err);
        return kExitUsage;
    }

    const MdfLoadResult loaded = loadMdf(options->files[0]);
    if (loaded.status != MdfLoadStatus::Loaded)
    {
        std::fprintf(err, "%s\n", loaded.message.c_str());
        return kExitFailed;
    }
    if (options->list)
        return listGadgets(*loaded.model, out);

    const int yOffset = options->psx ? kPsxYOffset : 0;
    const auto printSize = [out](int64_t bytes)
    {
        std::fprintf(out, "%" PRId64 " bytes\n", bytes);
        std::fflush(out);
    };
    const RlfSaveResult saved = saveRlf(*loaded.model, yOffset, options->files[1], printSize);
    if (saved.status != RlfSaveStatus::Saved)
    {
        std::fprintf(err, "%s\n", saved.message.c_str());
        return kExitFailed;
    }
    return kExitOk;
}
