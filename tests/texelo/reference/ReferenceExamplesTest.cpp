// Every example script of docs/script-language.md, run as the page shows it. The note before an example
// says what to make (tga PATH W H COLOURS: a texture(); palette PATH SHIFT: entry k colour k + SHIFT) and
// what the run gives (status N, err TEXT, absent FILE, size FILE BYTES, json BANK POINTER VALUE).

#include "ProgramInputs.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <utility>

namespace
{

// clang-format off
struct Example { std::string name; std::string script; std::vector<std::string> note; };
// clang-format on

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
            Example example{line.substr(fence.size()), "", std::exchange(note, {})};
            while (std::getline(page, line) && line != "```")
                example.script += line + "\n";
            examples.push_back(std::move(example));
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
        bytes.insert(bytes.end(), {static_cast<uint8_t>(c.r * 8), static_cast<uint8_t>(c.g * 8),
                                   static_cast<uint8_t>(c.b * 8)});
    }
    return bytes;
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
        for (const std::string& line : example.note)
        {
            std::istringstream words(line);
            std::string kind, rest, file, field, value; // field: a JSON pointer, or the size in bytes
            std::getline(words >> kind >> std::ws, rest);
            std::istringstream fields(rest);
            std::getline(fields >> file >> field >> std::ws, value);
            if (kind == "status")
                EXPECT_EQ(std::to_string(run.exitStatus), rest) << run.err;
            else if (kind == "err")
                EXPECT_NE(run.err.find(rest), std::string::npos) << run.err;
            else if (kind == "absent")
                EXPECT_FALSE(folder.exists(file));
            else if (kind == "size")
                EXPECT_EQ(std::to_string(folder.read(file).size()), field);
            else if (kind == "json")
            {
                const auto bank = nlohmann::json::parse(
                    runProgram({TBKINFO_EXECUTABLE, "--json", folder.file(file)}).out, nullptr, false);
                const nlohmann::json::json_pointer at(field);
                EXPECT_TRUE(bank.contains(at)) << line;
                const nlohmann::json found = bank.contains(at) ? bank.at(at) : "(no such value)";
                EXPECT_EQ(found.is_string() ? found.get<std::string>() : found.dump(), value) << line; // bare
            }
            else if (kind != "tga" && kind != "palette")
                ADD_FAILURE() << "a note line of no known kind: " << line;
        }
        const auto status = [](const std::string& line) { return line.rfind("status ", 0) == 0; };
        EXPECT_TRUE(std::ranges::any_of(example.note, status) && example.note.size() > 1)
            << "no status or fact";
    }
}
