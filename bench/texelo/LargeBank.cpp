#include "LargeBank.h"

#include "TgaWriter.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace
{

using tgawriter::Rgba;

// A layout bank has texture pages 0 and 1 (cells a and q). Each texture stays
// within one page; the bottom lines of the pages are kept for the bank's
// CLUT rows, which the layout hands out from line 255 upwards (an 8-bit CLUT
// is 256 words wide and crosses both pages).
constexpr int kPageWords = 64;
constexpr int kPages = 2;
constexpr int kImageLines = 192;
constexpr int kClutRowBudget = 256 - kImageLines;
constexpr int kMaxHeight = 128;

// A small deterministic generator, so every run times the same level.
class Random
{
public:
    [[nodiscard]] uint32_t next()
    {
        m_state = m_state * 1664525u + 1013904223u;
        return m_state >> 8;
    }
    [[nodiscard]] int below(int limit) { return static_cast<int>(next() % static_cast<uint32_t>(limit)); }

private:
    uint32_t m_state = 12345;
};

// A side between 8 and `max`, small ones more often: a power-of-two band
// chosen evenly, then a size within it.
int pickSide(Random& random, int max)
{
    int bands = 0;
    while ((8 << (bands + 1)) <= max)
        ++bands;
    const int low = 8 << random.below(bands + 1);
    return std::min(max, low + random.below(low));
}

struct Texture
{
    std::string name;
    int depth = 4; // what the converter will make of it
    int width = 0, height = 0;

    [[nodiscard]] int words() const
    {
        return depth == 4 ? (width + 3) / 4 : depth == 8 ? (width + 1) / 2 : width;
    }
    [[nodiscard]] int clutWidth() const { return depth == 4 ? 16 : depth == 8 ? 256 : 0; }
};

// Pictures whose colour counts select the depth: 12 colours in bands (4
// bits), 29 to 200 in diagonal stripes (8 bits), a distinct colour per pixel
// (16 bits). The file form rotates through the Targa variants.
tgawriter::Bytes encodeTexture(const Texture& texture, int variant)
{
    const int w = texture.width;
    const int h = texture.height;
    std::vector<Rgba> pixels;
    std::vector<uint8_t> indices;
    std::vector<Rgba> palette;
    if (texture.depth == 16)
    {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                pixels.push_back({static_cast<uint8_t>(x % 32 * 8), static_cast<uint8_t>(y % 32 * 8),
                                  static_cast<uint8_t>((x / 32 + y / 32 * 2) * 32), 255});
        constexpr uint8_t kDirectDepths[] = {16, 24, 32};
        tgawriter::TgaImage image = tgawriter::fromColours(w, h, pixels, kDirectDepths[variant % 3]);
        image.rle = variant % 4 == 3;
        return tgawriter::encodeTga(image);
    }
    const int colours = texture.depth == 4 ? 12 : 200;
    for (int i = 0; i < colours; ++i)
        palette.push_back({static_cast<uint8_t>(i % 32 * 8), static_cast<uint8_t>(i / 32 * 40), 100, 255});
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            indices.push_back(
                static_cast<uint8_t>(texture.depth == 4 ? (x / 4 + y / 4) % colours : (x + 3 * y) % colours));
    if (variant % 2 == 0)
    {
        tgawriter::TgaImage image = tgawriter::indexedImage(w, h, indices, palette);
        image.rle = variant % 4 == 2;
        return tgawriter::encodeTga(image);
    }
    for (uint8_t index : indices)
        pixels.push_back(palette[index]);
    return tgawriter::encodeTga(tgawriter::fromColours(w, h, pixels, 24));
}

Texture makeTexture(Random& random, int number)
{
    Texture texture;
    char name[16];
    std::snprintf(name, sizeof name, "t%03d", number);
    texture.name = name;
    const int roll = random.below(100);
    texture.depth = roll < 45 ? 4 : roll < 70 ? 8 : 16;
    // Widest that still fits one page: 256, 128 and 64 texels.
    const int maxWidth = kPageWords * 4 / (texture.depth / 4);
    texture.width = pickSide(random, maxWidth);
    texture.height = pickSide(random, kMaxHeight);
    // 16 bits needs more than 256 colours, so more than 256 pixels.
    while (texture.depth == 16 && texture.width * texture.height < 512)
        texture.height *= 2;
    return texture;
}

// Shelf packing into the two pages of one bank, and the layout's CLUT rows
// counted the way cell lines hand them out.
class BankPacker
{
public:
    // The cell line for the texture, or empty when the bank is full.
    [[nodiscard]] std::string place(const Texture& texture)
    {
        int column = m_clutColumn;
        int row = m_clutRow;
        if (texture.clutWidth() != 0)
        {
            if (column + texture.clutWidth() > kPageWords)
            {
                column = 0;
                --row;
            }
            column += texture.clutWidth();
            if (column >= kPageWords)
            {
                column = 0;
                --row;
            }
        }
        const int rowsTouched = 255 - row + (column > 0 ? 1 : 0);
        if (rowsTouched > kClutRowBudget)
            return {};

        for (; m_page < kPages; ++m_page, m_x = 0, m_y = 0, m_shelf = 0)
        {
            if (m_x + texture.words() > kPageWords)
            {
                m_x = 0;
                m_y += m_shelf;
                m_shelf = 0;
            }
            if (m_y + texture.height <= kImageLines)
                break;
        }
        if (m_page == kPages)
            return {};

        const int x = m_x;
        const int y = m_y;
        m_x += texture.words();
        m_shelf = std::max(m_shelf, texture.height);
        m_clutColumn = column;
        m_clutRow = row;
        // Cell a is page 0, cell q page 1; x is given in 4-bit texels.
        return std::string(m_page == 0 ? "a " : "q ") + texture.name + " " + std::to_string(x * 4) + " " +
               std::to_string(y) + " " + std::to_string(texture.width) + " " + std::to_string(texture.height);
    }

private:
    int m_page = 0;
    int m_x = 0, m_y = 0, m_shelf = 0;
    int m_clutColumn = 0;
    int m_clutRow = 255;
};

bool writeText(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out);
}

} // namespace

LargeBank writeLargeBank(const std::filesystem::path& folder, int textureCount)
{
    LargeBank bank;
    Random random;
    std::string script;
    BankPacker packer;
    const auto finishScript = [&]
    {
        char name[32];
        std::snprintf(name, sizeof name, "bank%02zu", bank.scripts.size());
        script += "FIT:" + std::string(name) + "\n";
        std::string upperCase = script;
        std::transform(upperCase.begin(), upperCase.end(), upperCase.begin(),
                       [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
        bank.scripts.push_back(std::string(name) + ".txt");
        bank.upperCaseScripts.push_back(std::string(name) + "_upper.txt");
        const bool written = writeText(folder / bank.scripts.back(), script) &&
                             writeText(folder / bank.upperCaseScripts.back(), upperCase);
        script.clear();
        packer = BankPacker{};
        return written;
    };

    for (int number = 0; number < textureCount; ++number)
    {
        const Texture texture = makeTexture(random, number);
        const tgawriter::Bytes bytes = encodeTexture(texture, number);
        if (!tgawriter::writeTgaFile((folder / (texture.name + ".tga")).string(), bytes))
            return {};
        bank.targaBytes += static_cast<int64_t>(bytes.size());
        ++bank.textures;
        (texture.depth == 4 ? bank.textures4 : texture.depth == 8 ? bank.textures8 : bank.textures16)++;

        std::string line = packer.place(texture);
        if (line.empty())
        {
            if (!finishScript())
                return {};
            line = packer.place(texture);
        }
        script += line + "\n";
    }
    if (!script.empty() && !finishScript())
        return {};
    return bank;
}
