// Every example script of the script-language reference (docs/script-language.md),
// run as the page shows it. The note before an example says what to make and
// what the run must give, in lines of the page's own words:
//   tga PATH W H COLOURS     a Targa picture (ProgramInputs.h's texture())
//   palette PATH SHIFT       256 raw triplets, entry k the texture colour k + SHIFT (black stays)
//   status N | err TEXT | absent FILE | size FILE BYTES
//   json BANK POINTER VALUE  a value of tbkinfo --json BANK at the JSON pointer

#include "ProgramInputs.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace
{

struct Example
{
    std::string name;
    std::string script;
    std::vector<std::string> note;
};

std::vector<Example> examplesOfThePage()
{
    std::ifstream page(SCRIPT_REFERENCE_PAGE);
    std::vector<Example> examples;
    std::vector<std::string> note;
    const std::string fence = "```texelo-example ";
    for (std::string line; std::getline(page, line);)
    {
        if (line == "<!-- example")
            for (note.clear(); std::getline(page, line) && line != "-->";)
                note.push_back(line);
        else if (line.rfind(fence, 0) == 0)
        {
            Example example{line.substr(fence.size()), "", std::move(note)};
            while (std::getline(page, line) && line != "```")
                example.script += line + "\n";
            examples.push_back(std::move(example));
            note.clear();
        }
    }
    return examples;
}

Bytes paletteFile(int shift)
{
    Bytes bytes;
    for (int k = 0; k < 256; ++k)
    {
        const tgawriter::Rgba c = psxColour(k == 0 ? 0 : (k + shift) % 256);
        for (const uint8_t channel : {c.r, c.g, c.b})
            bytes.push_back(static_cast<uint8_t>(channel * 8));
    }
    return bytes;
}

// A value as the page writes it: strings bare, everything else as JSON.
std::string shown(const nlohmann::json& value)
{
    return value.is_string() ? value.get<std::string>() : value.dump();
}

} // namespace

TEST(ScriptReference, EveryExampleRunsAsThePageSays)
{
    const std::vector<Example> examples = examplesOfThePage();
    ASSERT_GE(examples.size(), 10u) << "no examples read from " << SCRIPT_REFERENCE_PAGE;
    for (const Example& example : examples)
    {
        SCOPED_TRACE(example.name);
        TempFolder folder;
        folder.write(example.name, example.script);
        for (const std::string& line : example.note)
        {
            std::istringstream words(line);
            std::string kind, path;
            int width = 0, height = 0, colours = 0;
            if (words >> kind >> path && kind == "tga" && words >> width >> height >> colours)
                folder.write(path, texture(width, height, colours));
            else if (kind == "palette" && words >> colours)
                folder.write(path, paletteFile(colours));
        }
        const ProgramRun run = texelo({example.name, "/c"}, folder.path());
        bool statusStated = false;
        for (const std::string& line : example.note)
        {
            std::istringstream words(line);
            std::string kind, rest, file, value;
            std::getline(words >> kind >> std::ws, rest);
            std::istringstream fields(rest);
            std::getline(fields >> file >> std::ws, value);
            const std::string pointer = value.substr(0, value.find(' '));
            statusStated = statusStated || kind == "status";
            if (kind == "status")
                EXPECT_EQ(std::to_string(run.exitStatus), rest) << run.err;
            else if (kind == "err")
                EXPECT_NE(run.err.find(rest), std::string::npos) << run.err;
            else if (kind == "absent")
                EXPECT_FALSE(folder.exists(file));
            else if (kind == "size")
                EXPECT_EQ(std::to_string(folder.read(file).size()), value);
            else if (kind == "json")
            {
                const ProgramRun info = runProgram({TBKINFO_EXECUTABLE, "--json", folder.file(file)});
                const auto bank = nlohmann::json::parse(info.out, nullptr, false);
                const nlohmann::json::json_pointer at(pointer);
                ASSERT_TRUE(bank.contains(at) && pointer.size() < value.size()) << line << "\n" << info.out;
                EXPECT_EQ(shown(bank.at(at)), value.substr(pointer.size() + 1)) << line;
            }
            else if (kind != "tga" && kind != "palette")
                ADD_FAILURE() << "a note line of no known kind: " << line;
        }
        EXPECT_TRUE(statusStated && example.note.size() > 1) << "an example states its status and a fact";
    }
}
