// Compares REDUCE's colour reduction, without dithering, with ImageMagick's
// -colors on a set of generated textures, as the console would show them.
//
// Every picture is first rounded to 5 bits a channel. Ours reduces those
// 5-bit colours; ImageMagick gets the same picture as an 8-bit PNG and is
// run with +dither and with -dither FloydSteinberg, the better of the two
// counting. Both results are judged by the PSNR of their 5-bit channels
// against the 5-bit picture, and by the VRAM words the reduction saves.
//
// Usage: reduce_vs_imagemagick [WORK_FOLDER]   (needs ImageMagick's `convert`)
#include "convert/ColourReduction.h"
#include "convert/PsxColour.h"
#include "convert/PsxConvert.h"
#include "image/PngDecoder.h"

#include "PngFile.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace
{

constexpr int kSide = 128;

struct Texture
{
    std::string name;
    int width = kSide;
    int height = kSide;
    std::vector<uint8_t> rgba; // 8-bit channels
};

// A small fixed generator, so the set is the same on every machine.
struct Random
{
    uint32_t state;
    uint32_t next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    double unit() { return (next() & 0xFFFFFF) / double(0x1000000); }
};

uint8_t byte(double v)
{
    return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

Texture paint(const std::string& name, const std::function<void(int, int, uint8_t*)>& pixel, int side = kSide)
{
    Texture t{name, side, side, std::vector<uint8_t>(static_cast<std::size_t>(side * side * 4))};
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            pixel(x, y, &t.rgba[static_cast<std::size_t>(4 * (y * side + x))]);
    return t;
}

// Smooth noise: bilinear blends of a coarse random lattice, several octaves.
struct ValueNoise
{
    std::vector<double> lattice;
    int cells;
    ValueNoise(uint32_t seed, int cellCount) : cells(cellCount)
    {
        Random random{seed};
        lattice.resize(static_cast<std::size_t>((cells + 1) * (cells + 1)));
        for (double& v : lattice)
            v = random.unit();
    }
    double at(double u, double v) const
    {
        const double fx = u * cells, fy = v * cells;
        const int x = std::min(static_cast<int>(fx), cells - 1), y = std::min(static_cast<int>(fy), cells - 1);
        const double tx = fx - x, ty = fy - y;
        const auto l = [&](int i, int j) { return lattice[static_cast<std::size_t>(j * (cells + 1) + i)]; };
        return (l(x, y) * (1 - tx) + l(x + 1, y) * tx) * (1 - ty) + (l(x, y + 1) * (1 - tx) + l(x + 1, y + 1) * tx) * ty;
    }
};

std::vector<Texture> textureSet()
{
    std::vector<Texture> set;
    set.push_back(paint("gradient-linear", [](int x, int y, uint8_t* p)
                        { p[0] = byte(x * 2.0), p[1] = byte(y * 2.0), p[2] = byte(255 - x - y / 2.0), p[3] = 255; }));
    set.push_back(paint("gradient-radial",
                        [](int x, int y, uint8_t* p)
                        {
                            const double d = std::hypot(x - 64.0, y - 64.0) / 90.0;
                            p[0] = byte(255 * (1 - d)), p[1] = byte(180 * d + 40), p[2] = byte(90 + 120 * d * d);
                            p[3] = 255;
                        }));
    set.push_back(paint("gradient-hue",
                        [](int x, int y, uint8_t* p)
                        {
                            const double h = x / 128.0 * 6, light = 0.35 + y / 200.0;
                            for (int c = 0; c < 3; ++c)
                            {
                                const double k = std::fmod(h + 4 - 2 * c + 6, 6);
                                p[c] = byte(255 * light * (1 - std::clamp(std::min(k, 4 - k), 0.0, 1.0) * 0.8));
                            }
                            p[3] = 255;
                        }));
    // The last one is as large as a texture can be, with grain down to single pixels.
    for (const auto& [seed, side] : {std::pair{11u, kSide}, {29u, kSide}, {47u, kSide}, {83u, 256}})
    {
        const ValueNoise red(seed, 6), green(seed + 1, 9), blue(seed + 2, 4), grain(seed + 3, side / 3);
        char name[32];
        std::snprintf(name, sizeof name, side == kSide ? "photo-%u" : "photo-%u-%d", seed, side);
        set.push_back(paint(name,
                            [&, side = side](int x, int y, uint8_t* p)
                            {
                                const double u = x / double(side), v = y / double(side), g = (grain.at(u, v) - 0.5) * 40;
                                p[0] = byte(40 + 180 * red.at(u, v) + g);
                                p[1] = byte(30 + 160 * green.at(u, v) + g);
                                p[2] = byte(20 + 120 * blue.at(u, v) + g);
                                p[3] = 255;
                            },
                            side));
    }
    // The worst case for time: a 256 x 256 texture of random colours.
    Random noise{101};
    set.push_back(paint("noise-256", [&](int, int, uint8_t* p)
                        { p[0] = byte(noise.unit() * 255), p[1] = byte(noise.unit() * 255), p[2] = byte(noise.unit() * 255), p[3] = 255; },
                        256));
    // Pixel art: a few flat colours in blocks, edges softened by blending.
    Random random{5};
    std::vector<std::array<uint8_t, 3>> inks(24);
    for (auto& ink : inks)
        ink = {byte(random.unit() * 255), byte(random.unit() * 255), byte(random.unit() * 255)};
    std::vector<int> blocks(16 * 16);
    for (int& b : blocks)
        b = static_cast<int>(random.next() % inks.size());
    set.push_back(paint("pixel-art-flat", [&](int x, int y, uint8_t* p)
                        {
                            const auto& ink = inks[static_cast<std::size_t>(blocks[static_cast<std::size_t>(y / 8 * 16 + x / 8)])];
                            p[0] = ink[0], p[1] = ink[1], p[2] = ink[2], p[3] = 255;
                        }));
    set.push_back(paint("pixel-art-soft",
                        [&](int x, int y, uint8_t* p)
                        {
                            const auto ink = [&](int bx, int by)
                            { return inks[static_cast<std::size_t>(blocks[static_cast<std::size_t>(std::min(by, 15) * 16 + std::min(bx, 15))])]; };
                            const double tx = (x % 8) / 8.0, ty = (y % 8) / 8.0;
                            for (int c = 0; c < 3; ++c)
                                p[c] = byte((ink(x / 8, y / 8)[c] * (1 - tx) + ink(x / 8 + 1, y / 8)[c] * tx) * (1 - ty) +
                                            (ink(x / 8, y / 8 + 1)[c] * (1 - tx) + ink(x / 8 + 1, y / 8 + 1)[c] * tx) * ty);
                            p[3] = 255;
                        }));
    // Sprites: transparent black around an opaque shape.
    for (uint32_t seed : {3u, 17u})
    {
        const ValueNoise shade(seed, 5);
        set.push_back(paint("alpha-sprite-" + std::to_string(seed),
                            [&](int x, int y, uint8_t* p)
                            {
                                const double u = x / 128.0, v = y / 128.0;
                                if (std::hypot(u - 0.5, (v - 0.5) * 1.3) > 0.42)
                                {
                                    p[0] = p[1] = p[2] = p[3] = 0;
                                    return;
                                }
                                const double s = shade.at(u, v);
                                p[0] = byte(60 + 190 * s), p[1] = byte(200 * u * s + 30), p[2] = byte(140 * v + 50);
                                p[3] = 255;
                            }));
    }
    return set;
}

// The picture as the console sees it: 5-bit channels, alpha as it is.
std::vector<uint8_t> rounded(const std::vector<uint8_t>& rgba)
{
    std::vector<uint8_t> out(rgba);
    for (std::size_t i = 0; i < out.size(); ++i)
        if (i % 4 != 3)
            out[i] = static_cast<uint8_t>(reduceChannel(out[i]));
    return out;
}

double psnr5(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    double squared = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (i % 4 != 3)
            squared += (a[i] - b[i]) * (a[i] - b[i]);
    const double mse = squared / (a.size() / 4 * 3);
    return mse == 0 ? 99.0 : 10 * std::log10(31.0 * 31.0 / mse);
}

unsigned distinctColours(const std::vector<uint8_t>& five)
{
    std::vector<bool> seen(1 << 16);
    unsigned n = 0;
    for (std::size_t i = 0; i < five.size(); i += 4)
    {
        const unsigned key = five[i] | five[i + 1] << 5 | five[i + 2] << 10 | (five[i + 3] == 0 ? 0 : 1u << 15);
        n += seen[key] ? 0 : 1;
        seen[key] = true;
    }
    return n;
}

// VRAM words of a texture with `colours` colours: image and CLUT.
long vramWords(int width, int height, unsigned colours)
{
    const long texels = static_cast<long>(width) * height;
    if (colours <= 16)
        return texels / 4 + 16;
    if (colours <= 256)
        return texels / 2 + 256;
    return texels;
}

std::vector<uint8_t> readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// ImageMagick's reduction of the picture, rounded to 5 bits; empty on failure.
std::vector<uint8_t> peerReduction(const std::string& folder, const Texture& t, const std::vector<uint8_t>& five,
                                   unsigned colours, const char* dither)
{
    RgbaPicture picture{static_cast<uint32_t>(t.width), static_cast<uint32_t>(t.height), five};
    for (std::size_t i = 0; i < picture.rgba.size(); ++i)
        if (i % 4 != 3)
            picture.rgba[i] = static_cast<uint8_t>(five[i] << 3 | five[i] >> 2);
    std::string error;
    const std::string in = folder + "/" + t.name + ".png", out = folder + "/" + t.name + "-im.png";
    if (!writePngFile(in, picture, error))
        return {};
    const std::string command = "convert '" + in + "' " + dither + " -colors " + std::to_string(colours) + " 'PNG32:" + out + "'";
    if (std::system(command.c_str()) != 0)
        return {};
    const std::vector<uint8_t> bytes = readFile(out);
    RgbaImage image;
    if (!DecodePng(image, bytes.data(), bytes.size(), error))
        return {};
    return rounded(image.pixels);
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string folder = argc > 1 ? argv[1] : "/tmp/reduce_vs_imagemagick";
    if (std::system(("mkdir -p '" + folder + "'").c_str()) != 0 || std::system("convert -version >/dev/null 2>&1") != 0)
    {
        std::fprintf(stderr, "reduce_vs_imagemagick: needs ImageMagick's convert (apt-get install imagemagick) "
                             "and a writable %s\n",
                     folder.c_str());
        return 1;
    }
    const std::vector<Texture> set = textureSet();
    bool goalMet = true;
    for (const unsigned size : {16u, 256u})
    {
        std::printf("\nREDUCE: %u, DITHER: 0\n%-18s %7s %9s %9s %9s %7s %8s %7s\n", size, "texture", "colours",
                    "ours dB", "IM dB", "IM with", "ahead", "saved", "ms");
        std::vector<double> ahead;
        for (const Texture& t : set)
        {
            const std::vector<uint8_t> five = rounded(t.rgba);
            const unsigned before = distinctColours(five);
            if (before <= size)
                continue;
            std::vector<uint8_t> ours = five;
            ColourTable table;
            const uint32_t counted = CountColours(false, table, ours.data(), t.width, t.height);
            const auto start = std::chrono::steady_clock::now();
            const std::optional<ReductionOutcome> outcome =
                ReduceColours({static_cast<uint16_t>(size), 0}, counted, ours.data(), t.width, t.height);
            const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            const std::vector<uint8_t> plain = peerReduction(folder, t, five, size, "+dither");
            const std::vector<uint8_t> diffused = peerReduction(folder, t, five, size, "-dither FloydSteinberg");
            if (!outcome || plain.empty() || diffused.empty())
            {
                std::fprintf(stderr, "reduce_vs_imagemagick: %s could not be reduced\n", t.name.c_str());
                return 1;
            }
            const double oursDb = psnr5(five, ours), plainDb = psnr5(five, plain), diffusedDb = psnr5(five, diffused);
            const double peerDb = std::max(plainDb, diffusedDb);
            ahead.push_back(oursDb - peerDb);
            goalMet &= oursDb - peerDb >= -0.5;
            std::printf("%-18s %7u %9.2f %9.2f %9s %+7.2f %8ld %7.1f\n", t.name.c_str(), before, oursDb, peerDb,
                        plainDb >= diffusedDb ? "+dither" : "FS", oursDb - peerDb,
                        vramWords(t.width, t.height, before) - vramWords(t.width, t.height, distinctColours(ours)), ms);
        }
        const double middle = median(ahead);
        goalMet &= middle >= 1.0;
        std::printf("median ahead of ImageMagick: %+.2f dB; least: %+.2f dB\n", middle,
                    ahead.empty() ? 0 : *std::min_element(ahead.begin(), ahead.end()));
    }
    std::printf("\ngoal (median at least +1 dB, none below -0.5 dB): %s\n", goalMet ? "met" : "NOT met");
    return goalMet ? 0 : 2;
}
