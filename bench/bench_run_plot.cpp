// One zoom step of the run plot on a long full-scan run: the decimated polyline (lowest and highest point per pixel
// column) against mapping every scan to a pixel, and both against one frame at 60 Hz. Prints the times side by
// side with their ratios.
//   bench_run_plot [--scans N] [--width PIXELS] [--steps N]
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/views/RunPlotModel.h"

using namespace corvelin;

namespace {

double Seconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

} // namespace

int main(int argc, char** argv)
{
    std::size_t scans = 18000; // 30 minutes at 10 scans per second
    int width = 1600;
    int steps = 40;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--scans"))
            scans = std::strtoul(argv[i + 1], nullptr, 10);
        else if (!std::strcmp(argv[i], "--width"))
            width = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--steps"))
            steps = std::atoi(argv[i + 1]);
    }
    std::vector<double> times(scans), tic(scans);
    for (std::size_t s = 0; s < scans; ++s) {
        times[s] = 30.0 * static_cast<double>(s) / static_cast<double>(scans);
        tic[s] = 1e5 + 3e3 * std::sin(static_cast<double>(s) * 0.7) +
                 1e6 * std::exp(-std::pow(std::fmod(times[s], 0.5) - 0.25, 2) / 1e-4);
    }
    CRunPlotModel model;
    model.SetRun(times, tic);
    const CPixelRect rect{0, 0, width, 600};

    // Zoom steps from the whole run in to half a minute and back, as a user's drags and double clicks do.
    std::size_t points = 0, all = 0;
    const auto decimatedStart = std::chrono::steady_clock::now();
    for (int step = 0; step < steps; ++step) {
        const double span = 30.0 / std::pow(1.15, step % 20);
        model.SetView({15 - span / 2, 15 + span / 2, 0, 1.2e6});
        points += model.Polyline(-1, rect).size();
    }
    const double decimated = Seconds(std::chrono::steady_clock::now() - decimatedStart) / steps;

    const auto fullStart = std::chrono::steady_clock::now();
    for (int step = 0; step < steps; ++step) {
        const double span = 30.0 / std::pow(1.15, step % 20);
        model.SetView({15 - span / 2, 15 + span / 2, 0, 1.2e6});
        const CPlotMapping mapping = model.Mapping(rect);
        std::vector<CPixelPoint> line;
        line.reserve(scans);
        for (std::size_t s = 0; s < scans; ++s)
            line.push_back({mapping.XPixel(times[s]), mapping.YPixel(tic[s])});
        all += line.size();
    }
    const double full = Seconds(std::chrono::steady_clock::now() - fullStart) / steps;
    const double frame = 1.0 / 60;

    std::printf("run of %zu scans, plot %d pixels wide, %d zoom steps\n", scans, width, steps);
    std::printf("%-34s %12s %12s %14s\n", "per zoom step", "time (ms)", "points", "share of frame");
    std::printf("%-34s %12.3f %12zu %13.1f%%\n", "min/max per pixel column", decimated * 1e3, points / steps,
                decimated / frame * 100);
    std::printf("%-34s %12.3f %12zu %13.1f%%\n", "every scan mapped (no decimation)", full * 1e3, all / steps,
                full / frame * 100);
    std::printf("points drawn: decimated / every scan = %.3f\n",
                static_cast<double>(points) / static_cast<double>(std::max<std::size_t>(all, 1)));
    return 0;
}
