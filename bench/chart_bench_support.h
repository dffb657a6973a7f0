// What the chart benchmarks share: the 4096 x 4096 test picture of noise and
// sharp edges, a best-of timer, and pixman, loaded at run time so that only
// the benchmarks touch it, as the yardstick the chart's pixel work is held
// against.
#pragma once

#include "platform/canvas/bitmap.h"

#include <pixman-1/pixman.h>

#include <dlfcn.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace chart_bench {

constexpr int PictureSide = 4096;

inline const char* Verdict(bool Met)
{
    return Met ? "ok" : "MISSED";
}

// The shortest of Runs timings of Work, in seconds.
template <class TWork>
double BestSeconds(int Runs, TWork&& Work)
{
    double Best = 1e30;
    for (int Run = 0; Run < Runs; ++Run) {
        const auto Start = std::chrono::steady_clock::now();
        Work();
        Best = std::min(Best, std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count());
    }
    return Best;
}

// 24-bit noise under hard-edged blocks, stripes and a disc, so that filters
// meet both smooth and sharp content and the Lanczos lobes overshoot.
inline std::unique_ptr<plat::TBitmap> TestPicture(int Side = PictureSide)
{
    auto Picture = std::make_unique<plat::TBitmap>(Side, Side, plat::pf24bit);
    std::mt19937 Random(2024);
    const double Centre = Side / 2.0;
    const double Radius2 = (Side / 5.0) * (Side / 5.0);
    for (int Y = 0; Y < Side; ++Y) {
        std::uint8_t* Row = Picture->ScanLine(Y);
        for (int X = 0; X < Side; ++X) {
            const std::uint32_t Noise = Random();
            const bool Block = ((X / 64) + (Y / 64)) % 2 == 0;
            const bool Stripe = (X / 3) % 5 == 0;
            const bool Disc = (X - Centre) * (X - Centre) + (Y - Centre) * (Y - Centre) < Radius2;
            std::uint8_t* Pixel = Row + 3 * X;
            Pixel[0] = static_cast<std::uint8_t>(Disc ? 250 : Block ? 20 + (Noise & 31) : Noise & 0xFF);
            Pixel[1] = static_cast<std::uint8_t>(Stripe ? 255 : Block ? 230 - (Noise >> 8 & 31) : Noise >> 8 & 0xFF);
            Pixel[2] = static_cast<std::uint8_t>(Disc ? 10 : Noise >> 16 & 0xFF);
        }
    }
    return Picture;
}

// The pixman calls the benchmarks use, found in the shared library.
struct TPixman {
    decltype(&pixman_image_create_bits) CreateBits = nullptr;
    decltype(&pixman_image_unref) Unref = nullptr;
    decltype(&pixman_image_set_transform) SetTransform = nullptr;
    decltype(&pixman_image_set_filter) SetFilter = nullptr;
    decltype(&pixman_transform_init_scale) InitScale = nullptr;
    decltype(&pixman_filter_create_separable_convolution) CreateSeparableConvolution = nullptr;
    decltype(&pixman_image_composite32) Composite = nullptr;
    decltype(&pixman_image_create_solid_fill) CreateSolidFill = nullptr;

    // False (with a message) when the library or a call is missing.
    bool Load()
    {
        void* Library = dlopen("libpixman-1.so.0", RTLD_NOW | RTLD_LOCAL);
        if (Library == nullptr) {
            std::printf("pixman not found: %s\n", dlerror());
            return false;
        }
        const auto Find = [Library](auto& Entry, const char* Name) {
            Entry = reinterpret_cast<std::remove_reference_t<decltype(Entry)>>(dlsym(Library, Name));
            return Entry != nullptr;
        };
        return Find(CreateBits, "pixman_image_create_bits") && Find(Unref, "pixman_image_unref")
            && Find(SetTransform, "pixman_image_set_transform") && Find(SetFilter, "pixman_image_set_filter")
            && Find(InitScale, "pixman_transform_init_scale")
            && Find(CreateSeparableConvolution, "pixman_filter_create_separable_convolution")
            && Find(Composite, "pixman_image_composite32") && Find(CreateSolidFill, "pixman_image_create_solid_fill");
    }

    // The shortest of Runs timings of copying From onto To (operator SRC,
    // through From's transform and filter) over Width x Height pixels.
    double SourceSeconds(pixman_image_t* From, pixman_image_t* To, int Width, int Height, int Runs) const
    {
        return BestSeconds(Runs, [&] { Composite(PIXMAN_OP_SRC, From, nullptr, To, 0, 0, 0, 0, 0, 0, Width, Height); });
    }
};

// A pixman image over pixels it does not own.
class TPixmanImage {
public:
    TPixmanImage(const TPixman& Pixman, pixman_format_code_t Format, int Width, int Height, void* Bits, int Stride)
        : FPixman(Pixman), FImage(Pixman.CreateBits(Format, Width, Height, static_cast<std::uint32_t*>(Bits), Stride))
    {
    }
    ~TPixmanImage() { FPixman.Unref(FImage); }
    TPixmanImage(const TPixmanImage&) = delete;
    TPixmanImage& operator=(const TPixmanImage&) = delete;

    pixman_image_t* Get() const { return FImage; }

private:
    const TPixman& FPixman;
    pixman_image_t* FImage;
};

// The picture's 24-bit rows as r8g8b8 (the same B, G, R bytes), rows of
// Width x 3 bytes, which pixman takes when that is a multiple of 4.
inline std::vector<std::uint8_t> ToR8G8B8(plat::TBitmap& Picture)
{
    const std::size_t Stride = static_cast<std::size_t>(Picture.Width()) * 3;
    std::vector<std::uint8_t> Bytes(Stride * static_cast<std::size_t>(Picture.Height()));
    for (int Y = 0; Y < Picture.Height(); ++Y) {
        std::memcpy(Bytes.data() + Stride * static_cast<std::size_t>(Y), Picture.ScanLine(Y), Stride);
    }
    return Bytes;
}

// The picture's 24-bit pixels as x8r8g8b8 (B, G, R, X in memory).
inline std::vector<std::uint32_t> ToX8R8G8B8(plat::TBitmap& Picture)
{
    std::vector<std::uint32_t> Pixels(static_cast<std::size_t>(Picture.Width()) * Picture.Height());
    for (int Y = 0; Y < Picture.Height(); ++Y) {
        const std::uint8_t* Row = Picture.ScanLine(Y);
        for (int X = 0; X < Picture.Width(); ++X) {
            const std::uint8_t* P = Row + 3 * X;
            Pixels[static_cast<std::size_t>(Y) * Picture.Width() + X] =
                0xFF000000u | std::uint32_t{P[2]} << 16 | std::uint32_t{P[1]} << 8 | P[0];
        }
    }
    return Pixels;
}

} // namespace chart_bench
