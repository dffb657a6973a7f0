// The chart's smooth stretch on one thread: the 4096 x 4096 24-bit test
// picture reduced to 2048 x 2048 and enlarged to 6144 x 6144 with the
// Lanczos and triangle weights, beside pixman scaling the same picture as
// x8r8g8b8 with its separable Lanczos-3 convolution; and the memory the
// stretch takes beyond its two bitmaps. Run by hand.
#include "chart_bench_support.h"

#include "widgets/chart/smooth_stretch.h"

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace {

using namespace chart_bench;

// The resident size now, and the peak since the last ResetPeak, in bytes.
double ResidentBytes()
{
    long Size = 0;
    long Resident = 0;
    std::ifstream("/proc/self/statm") >> Size >> Resident;
    return static_cast<double>(Resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

double PeakResidentBytes()
{
    rusage Usage{};
    getrusage(RUSAGE_SELF, &Usage);
    return static_cast<double>(Usage.ru_maxrss) * 1024.0;
}

void ResetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

double PixmanLanczosSeconds(const TPixman& Pixman, std::vector<std::uint32_t>& Source, int Target, int Runs)
{
    std::vector<std::uint32_t> Dest(static_cast<std::size_t>(Target) * Target);
    TPixmanImage From(Pixman, PIXMAN_x8r8g8b8, PictureSide, PictureSide, Source.data(), PictureSide * 4);
    TPixmanImage To(Pixman, PIXMAN_x8r8g8b8, Target, Target, Dest.data(), Target * 4);
    const double Ratio = static_cast<double>(PictureSide) / Target;   // source pixels per target pixel
    pixman_transform Transform;
    Pixman.InitScale(&Transform, pixman_double_to_fixed(Ratio), pixman_double_to_fixed(Ratio));
    Pixman.SetTransform(From.Get(), &Transform);
    // Reducing samples the source through the widened window; enlarging
    // reconstructs it between the pixels.
    const bool Reducing = Ratio > 1;
    const pixman_kernel_t Reconstruct = Reducing ? PIXMAN_KERNEL_IMPULSE : PIXMAN_KERNEL_LANCZOS3;
    const pixman_kernel_t Sample = Reducing ? PIXMAN_KERNEL_LANCZOS3 : PIXMAN_KERNEL_IMPULSE;
    const pixman_fixed_t Scale = pixman_double_to_fixed(Reducing ? Ratio : 1.0);
    int Count = 0;
    pixman_fixed_t* Params =
        Pixman.CreateSeparableConvolution(&Count, Scale, Scale, Reconstruct, Reconstruct, Sample, Sample, 4, 4);
    Pixman.SetFilter(From.Get(), PIXMAN_FILTER_SEPARABLE_CONVOLUTION, Params, Count);
    std::free(Params);
    return Pixman.SourceSeconds(From.Get(), To.Get(), Target, Target, Runs);
}

} // namespace

int main()
{
    TPixman Pixman;
    const bool HavePixman = Pixman.Load();
    auto Picture = TestPicture();
    std::vector<std::uint32_t> PixmanSource = HavePixman ? ToX8R8G8B8(*Picture) : std::vector<std::uint32_t>{};

    std::printf("smooth stretch of a %d x %d 24-bit picture, one thread\n", PictureSide, PictureSide);
    struct TCase {
        int Target;
        double Goal;   // Lanczos speed over pixman's
        int Runs;
    };
    for (const TCase& Case : {TCase{2048, 4.0, 3}, TCase{6144, 2.0, 2}}) {
        const double Pixels = static_cast<double>(Case.Target) * Case.Target;
        plat::TBitmap Dest(Case.Target, Case.Target, plat::pf24bit);
        ResetPeak();
        const double Resident = ResidentBytes();
        const double Lanczos = BestSeconds(Case.Runs, [&] { qel::SmoothStretch(Picture.get(), &Dest, false); });
        const double Extra = PeakResidentBytes() - Resident;
        const double Triangle = BestSeconds(Case.Runs, [&] { qel::SmoothStretch(Picture.get(), &Dest, true); });
        const double Intermediate = static_cast<double>(Case.Target) * PictureSide * 3;
        std::printf("to %d x %d: Lanczos %.1f MPixel/s (%.3f s), triangle %.1f MPixel/s (%.3f s)\n", Case.Target,
            Case.Target, Pixels / Lanczos / 1e6, Lanczos, Pixels / Triangle / 1e6, Triangle);
        std::printf("  extra memory %.1f MB, of which the intermediate image %.1f MB\n", Extra / 1e6,
            Intermediate / 1e6);
        if (HavePixman) {
            const double Reference = PixmanLanczosSeconds(Pixman, PixmanSource, Case.Target, 1);
            const double Ratio = Reference / Lanczos;
            std::printf("  pixman separable Lanczos-3 %.1f MPixel/s (%.3f s); Lanczos %.2fx pixman (target %.0fx) %s\n",
                Pixels / Reference / 1e6, Reference, Ratio, Case.Goal, Verdict(Ratio >= Case.Goal));
        }
    }
    return 0;
}
