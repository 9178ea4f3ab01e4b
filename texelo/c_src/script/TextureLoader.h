#pragma once

#include "script/TexeloContext.h"

#include <memory>
#include <string_view>

// Loads one texture into a new record, reading the script state for its
// flags and CLUT copies; nothing when the texture cannot be used (the reason
// has been reported). "NULL" gives a placeholder that only takes an Id.
[[nodiscard]] std::unique_ptr<TextureRecord> LoadTexture(TexeloContext& ctx, std::string_view name,
                                                         const TextureRequest& request = {});

// Loads a texture and appends it to PendingList; ClutSize8 returns to 256
// afterwards, loaded or not. The record appended, or null.
TextureRecord* AddTexture(TexeloContext& ctx, std::string_view name, const TextureRequest& request = {});

// Loads every file (not folder) in TexturePath that matches `pattern`.
void AddFiles(TexeloContext& ctx, std::string_view pattern);
