#pragma once

#include "script/TexeloContext.h"

#include <memory>
#include <string_view>

// Loads one texture into a new record as the request asks, reading the
// script state only for where to look and for its CLUT copies; nothing when
// the texture cannot be used (the reason has been reported). "NULL" gives a
// placeholder that only takes an Id.
[[nodiscard]] std::unique_ptr<TextureRecord> LoadTexture(TexeloContext& ctx, std::string_view name,
                                                         const TextureRequest& request = {});

// Loads a texture and appends it to PendingList. The record appended, or
// null.
TextureRecord* AddTexture(TexeloContext& ctx, std::string_view name, const TextureRequest& request = {});

// Loads every file (not folder) in TexturePath that matches `pattern`, each
// as the request asks.
void AddFiles(TexeloContext& ctx, std::string_view pattern, const TextureRequest& request);
