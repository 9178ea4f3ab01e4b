#include "RlfInfoCommandLine.h"

#include "RlfFormat.h"
#include "RlfJsonReport.h"
#include "RlfReader.h"
#include "RlfTextReport.h"
#include "WholeFile.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <optional>

namespace
{

constexpr const char* kUsage =
    "Usage: rlfinfo [--json] FILE\n"
    "Prints what a render list (.rlf) holds and checks that every stored offset\n"
    "is where the layout puts it.\n"
    "  --json    print one JSON document instead of text\n"
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
    "making sense. Exit status: 0 printed, 1 unreadable or damaged, 2 wrong usage.\n";

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
};

// Options may come before or after the file name; "--" ends them.
std::optional<Options> parse(const std::vector<std::string>& args)
{
    Options options;
    std::vector<std::string> files;
    bool optionsEnded = false;
    for (const std::string& arg : args)
    {
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-")
            files.push_back(arg);
        else if (arg == "--")
            optionsEnded = true;
        else if (arg == "--json")
            options.json = true;
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
    return options;
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
        return 0;
    }
    if (options->request == Request::Version)
    {
        std::fputs("rlfinfo 1.0\n", out);
        return 0;
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
