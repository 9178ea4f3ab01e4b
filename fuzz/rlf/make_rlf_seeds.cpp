// make_rlf_seeds OUTDIR: writes the seed corpus of rlf_reader_fuzz.
//
// Render lists saved by the real converter from layouts of our own MDF
// writer, for the PC and the console, one in the opposite byte order, and a
// few damaged copies so the fuzzer starts from refusals as well. The output
// is deterministic.
#include "BinaryOutStream.h"
#include "MdfLoader.h"
#include "MdfWriter.h"
#include "RlfConversion.h"
#include "RlfSave.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

namespace
{

namespace fs = std::filesystem;
using namespace mdfwriter;

Prim quad(uint8_t type, int16_t x, int16_t y, uint16_t textureId = 0)
{
    Prim prim{.type = type, .mode = 0x0B, .textureId = textureId};
    prim.vertices = {Vertex{x, y}, Vertex{int16_t(x + 24), y}, Vertex{x, int16_t(y + 12)},
                     Vertex{int16_t(x + 24), int16_t(y + 12)}};
    prim.colours = {Colour{200, 40, 40}, Colour{40, 200, 40}, Colour{40, 40, 200}, Colour{255, 255, 255}};
    return prim;
}

// Every mix of parts a gadget can have, in one file.
Layout everyMix()
{
    Gadget full{.name = "Full",
                .rects = {{Rect{10, 10, 60, 40}}, {Rect{-4, 300, 700, 500}}},
                .hotspots = {{Hotspot{12, 14, 0x06}}},
                .primLists = {PrimList{3, -2, {quad(kPrimF4, 0, 0), quad(kPrimGT4, 30, 0, 2)}}}};
    Gadget areasOnly{.name = "Areas", .rects = {{Rect{0, 0, 5, 5}}, {Rect{6, 6, 9, 9}}}};
    Gadget pointsOnly{.name = "Points", .hotspots = {{Hotspot{100, 90}}, {Hotspot{120, 95, 0x0F}}}};
    Gadget quadsOnly{.name = "Quads",
                     .primLists = {PrimList{0, 0, {quad(kPrimG4, 1, 1), quad(kPrimFT4, 5, 5, 5)}}}};
    Gadget empty{.name = "Empty"};
    return Layout{{full, areasOnly, pointsOnly, quadsOnly, empty}};
}

Layout oneGadget()
{
    return Layout{{Gadget{.name = "One",
                          .rects = {{Rect{0, 0, 10, 10}}},
                          .hotspots = {{Hotspot{5, 5, 0x06}}},
                          .primLists = {PrimList{0, 0, {quad(kPrimGT4, 0, 0, 1)}}}}}};
}

Bytes readAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Converts `layout` into `target` through an MDF file beside it, removed
// afterwards; big-endian files are written by the model directly, the way
// the stream would if asked for that order.
bool save(const Layout& layout, int yOffset, const fs::path& target, bool bigEndian = false)
{
    const fs::path mdf = fs::path(target).concat(".mdf");
    bool ok = writeFile(mdf.string(), mdfFile(layout));
    MdfLoadResult loaded = loadMdf(mdf.string());
    std::error_code ignored;
    fs::remove(mdf, ignored);
    ok = ok && loaded.status == MdfLoadStatus::Loaded;
    if (ok && !bigEndian)
        ok = saveRlf(*loaded.model, yOffset, target.string(), {}).status == RlfSaveStatus::Saved;
    else if (ok)
    {
        const auto rlf = buildRlf(*loaded.model, yOffset);
        rlf->layout();
        BinaryOutStream stream;
        ok = stream.open(target.string(), "wb", false) && rlf->write(stream) && stream.close();
    }
    if (!ok)
        std::fprintf(stderr, "make_rlf_seeds: cannot make %s\n", target.c_str());
    return ok;
}

bool damaged(const fs::path& from, const fs::path& to, std::size_t at, uint8_t value, std::size_t keep)
{
    Bytes bytes = readAll(from);
    if (at < bytes.size())
        bytes[at] = value;
    bytes.resize(std::min(keep, bytes.size()));
    return writeFile(to.string(), bytes);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: make_rlf_seeds OUTDIR\n");
        return 2;
    }
    const fs::path folder = argv[1];
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
    {
        std::fprintf(stderr, "make_rlf_seeds: cannot create %s\n", folder.c_str());
        return 1;
    }
    bool ok = save(everyMix(), 0, folder / "mix_pc.rlf");
    ok &= save(everyMix(), kPsxYOffset, folder / "mix_psx.rlf");
    ok &= save(everyMix(), 0, folder / "mix_big_endian.rlf", true);
    ok &= save(oneGadget(), 0, folder / "one.rlf");
    ok &= save(Layout{}, 0, folder / "none.rlf");
    // Refusals: a cut render list, an unknown entry kind (first entry of the
    // one-gadget file, at byte 52), a forged gadget offset.
    ok &= damaged(folder / "one.rlf", folder / "bad_cut.rlf", 0, 1, 60);
    ok &= damaged(folder / "one.rlf", folder / "bad_kind.rlf", 52, 7, 88);
    ok &= damaged(folder / "mix_pc.rlf", folder / "bad_offset.rlf", 8, 0xFF, 1 << 20);
    return ok ? 0 : 1;
}
