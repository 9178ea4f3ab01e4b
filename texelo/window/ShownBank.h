#pragma once

#include "script/TexeloContext.h"

#include <optional>
#include <string>

// What the window and the map picture show: the last bank placed, as the
// run's context holds it. The references follow the run, so the window shows
// each bank as soon as it replaces the one before.
struct ShownBank
{
    const TextureList& records;
    const std::optional<VramOutline>& failure; // where a texture that found no place was tried
    const std::string& name;                   // as its FIT line named it; empty before the first
};

[[nodiscard]] inline ShownBank shownBankOf(const TexeloContext& ctx)
{
    return {ctx.ShownList, ctx.ShownFailure, ctx.ShownBankName};
}
