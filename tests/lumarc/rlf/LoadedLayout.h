// Puts a layout through the real reader: written as an MDF file by the test
// writer, then loaded, so conversions start from exactly what a user's file
// would give.
#pragma once

#include "MdfLoader.h"
#include "MdfWriter.h"
#include "TempFolder.h"

#include <memory>
#include <string>

// The loaded model, or nullptr when the file could not be written or read.
[[nodiscard]] inline std::unique_ptr<MdfRoot>
loadLayout(const TempFolder& folder, const mdfwriter::Bytes& mdf, const std::string& name = "layout.mdf")
{
    const std::string path = folder.file(name);
    MdfLoadResult loaded = mdfwriter::writeFile(path, mdf) ? loadMdf(path) : MdfLoadResult{};
    return loaded.status == MdfLoadStatus::Loaded ? std::move(loaded.model) : nullptr;
}

[[nodiscard]] inline std::unique_ptr<MdfRoot>
loadLayout(const TempFolder& folder, const mdfwriter::Layout& layout, const std::string& name = "layout.mdf")
{
    return loadLayout(folder, mdfwriter::mdfFile(layout), name);
}
