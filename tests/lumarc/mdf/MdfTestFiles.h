// Inputs made by the MDF test writer, kept in a private folder that goes with
// the test and read back through the real disk stream or loader.
#pragma once

#include "MdfLoader.h"
#include "MdfWriter.h"
#include "ScriptFileDiskStream.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace mdftest
{

using mdfwriter::Bytes;

inline std::string writeIn(const TempFolder& folder, const std::string& name, const Bytes& bytes)
{
    EXPECT_TRUE(mdfwriter::writeFile(folder.file(name), bytes)) << folder.file(name);
    return folder.file(name);
}

struct StreamOver
{
    explicit StreamOver(const Bytes& bytes) : path(writeIn(dir, "input.bin", bytes)), stream(path) {}

    TempFolder dir;
    std::string path;
    ScriptFileDiskStream stream;
};

// Fails the test unless the load succeeds.
inline std::unique_ptr<MdfRoot> loadModel(const Bytes& bytes)
{
    TempFolder dir;
    MdfLoadResult result = loadMdf(writeIn(dir, "layout.mdf", bytes));
    EXPECT_EQ(result.status, MdfLoadStatus::Loaded) << result.message;
    return std::move(result.model);
}

template <typename Bank>
std::vector<std::string> texts(const Bank& bank)
{
    std::vector<std::string> out;
    for (int i = 0; i < bank.count(); ++i)
        out.push_back(bank.at(i).text);
    return out;
}

inline Bytes concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

// A root record of only a names bank and a table of these gadget records.
inline Bytes rootWithGadgets(const std::vector<Bytes>& gadgetRecords, const std::vector<std::string>& names)
{
    std::vector<Bytes> nameBodies;
    for (const std::string& name : names)
        nameBodies.push_back(mdfwriter::stringBody(name));
    return mdfwriter::recordBody({{"MDFDSB00", mdfwriter::arrayOf("MDFDSB00", nameBodies)},
                                  {"MDFTGDG0", mdfwriter::arrayOf("MDFTGDG0", gadgetRecords)}});
}

} // namespace mdftest
