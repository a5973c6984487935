#include "bench/SyntheticLibrary.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <random>

#include "engine/core/LibraryChromatogram.h"
#include "engine/core/LibraryMassSpectrum.h"
#include "engine/core/LibraryRICalibration.h"

namespace corvelin {

namespace {

using Random = std::mt19937_64;

double Uniform(Random& r, double lo, double hi)
{
    return std::uniform_real_distribution<double>(lo, hi)(r);
}

// RI of a retention time on the synthetic column: n-alkanes C8 ... C30 elute every 1.6 minutes from 3.0.
constexpr double kFirstAlkaneRT = 3.0;
constexpr double kAlkaneSpacing = 1.6;
double SyntheticRI(double rt)
{
    return 800.0 + (rt - kFirstAlkaneRT) / kAlkaneSpacing * 100.0;
}

void AddCalibration(CLibraryChromatogram& c)
{
    c.RICalibration.Clear();
    c.RICalibration.SetCalculationOption(1);
    for (int n = 8; n <= 30; ++n) {
        auto point = std::make_unique<CLibraryRICalibrationPoint>();
        point->CompoundName = std::string("C").append(std::to_string(n));
        point->RT = kFirstAlkaneRT + (n - 8) * kAlkaneSpacing;
        point->RI = n * 100.0;
        c.RICalibration.AddPoint(std::move(point));
    }
}

void Totals(CLibraryChromatogram& c)
{
    c.TotalArea = 0;
    c.TotalHeight = 0;
    for (const auto& p : c.Peaks) {
        c.TotalArea += p->Area;
        c.TotalHeight += p->Height;
    }
    c.PeakCount = static_cast<int>(c.Peaks.size());
    c.NumberPeaks();
}

} // namespace

struct CSyntheticLibrary::Compound {
    double RT = 0;
    double Size = 0; // typical area
    CLibraryMassSpectrumData Spectrum;
};

void MakeEISpectrum(CLibraryMassSpectrumData& spectrum, int molecularMass, int lines, std::uint64_t seed)
{
    Random r(seed);
    std::map<int, double> ions;
    auto add = [&](int mass, double intensity) {
        if (mass >= 29 && mass <= molecularMass + 2)
            ions[mass] = std::max(ions[mass], intensity);
    };
    // Alkyl (CnH2n+1, CnH2n-1) and aromatic series, decaying with mass, as most EI spectra show.
    for (int mass : {29, 41, 43, 55, 57, 69, 71, 83, 85, 97, 99})
        add(mass, Uniform(r, 5, 60) * std::exp(-(mass - 29) / 80.0));
    if (r() % 3 == 0)
        for (int mass : {51, 65, 77, 91, 105})
            add(mass, Uniform(r, 10, 70));
    // The molecular ion and losses of 15, 18, 29, 31, 43, 45.
    add(molecularMass, Uniform(r, 1, 30));
    for (int loss : {15, 18, 29, 31, 43, 45})
        if (r() % 2 == 0)
            add(molecularMass - loss, Uniform(r, 2, 50));
    const int base = 40 + static_cast<int>(r() % static_cast<unsigned>(std::max(1, molecularMass - 60)));
    add(base, 100.0);
    // Fill with a log-normal tail of fragments until the line count is reached, then isotope peaks.
    std::lognormal_distribution<double> tail(0.5, 1.2);
    int guard = 0;
    while (static_cast<int>(ions.size()) < lines && guard++ < 100000) {
        const int mass = 29 + static_cast<int>(r() % static_cast<unsigned>(std::max(1, molecularMass - 27)));
        const double intensity = std::min(99.0, tail(r));
        if (!ions.count(mass))
            add(mass, intensity);
        if (ions.count(mass) && !ions.count(mass + 1) && static_cast<int>(ions.size()) < lines)
            add(mass + 1, ions[mass] * Uniform(r, 0.05, 0.15));
    }
    while (static_cast<int>(ions.size()) > lines) {
        // Drop the weakest lines above the count (the base peak stays).
        auto weakest = std::min_element(ions.begin(), ions.end(),
                                        [](const auto& a, const auto& b) { return a.second < b.second; });
        ions.erase(weakest);
    }
    double largest = 0;
    for (const auto& [mass, intensity] : ions)
        largest = std::max(largest, intensity);
    spectrum.Clear();
    for (const auto& [mass, intensity] : ions)
        spectrum.Append(CLibraryMassSpectrumPoint(mass, std::round(intensity * 1000.0 / largest) / 10.0));
    spectrum.ApplyWeighting();
}

CSyntheticLibrary::CSyntheticLibrary(const CSyntheticLibraryShape& shape) : m_shape(shape)
{
    Random r(shape.Seed);
    const int compounds = shape.Compounds > 0 ? shape.Compounds : std::max(3 * shape.Peaks, 10);
    m_pool.resize(static_cast<std::size_t>(compounds));
    const double lastRT = kFirstAlkaneRT + 22 * kAlkaneSpacing; // C30
    for (int k = 0; k < compounds; ++k) {
        Compound& c = m_pool[static_cast<std::size_t>(k)];
        c.RT = Uniform(r, kFirstAlkaneRT + 0.2, lastRT - 0.2);
        c.Size = std::exp(Uniform(r, std::log(2e4), std::log(5e7)));
        // Heavier molecules elute later.
        const int molecularMass =
            std::max(shape.Lines + 60, 60 + static_cast<int>((c.RT - kFirstAlkaneRT) * 9.0 + Uniform(r, 0, 80)));
        MakeEISpectrum(c.Spectrum, molecularMass, shape.Lines, r());
    }
    m_replicateOf.assign(static_cast<std::size_t>(shape.Entries), -1);
    for (int i = 1; i < shape.Entries; ++i)
        if (Uniform(r, 0, 1) < shape.ReplicateShare)
            m_replicateOf[static_cast<std::size_t>(i)] = static_cast<int>(r() % static_cast<unsigned>(i));
}

CSyntheticLibrary::~CSyntheticLibrary() = default;

std::unique_ptr<CLibraryChromatogram> CSyntheticLibrary::Draw(int i) const
{
    Random r(m_shape.Seed * 7919 + static_cast<std::uint64_t>(i) * 104729 + 17);
    auto c = std::make_unique<CLibraryChromatogram>();
    char name[32];
    std::snprintf(name, sizeof name, "entry%04i", i);
    c->SampleName = std::string("Sample ") + name;
    c->Comment = "synthetic";
    c->DataFile = std::string(name) + ".raw";
    std::vector<int> chosen(m_pool.size());
    for (std::size_t k = 0; k < chosen.size(); ++k)
        chosen[k] = static_cast<int>(k);
    std::shuffle(chosen.begin(), chosen.end(), r);
    chosen.resize(std::min<std::size_t>(chosen.size(), static_cast<std::size_t>(m_shape.Peaks)));
    std::sort(chosen.begin(), chosen.end(), [&](int a, int b) {
        return m_pool[static_cast<std::size_t>(a)].RT < m_pool[static_cast<std::size_t>(b)].RT;
    });
    for (int k : chosen) {
        const Compound& compound = m_pool[static_cast<std::size_t>(k)];
        auto& peak = c->AddPeak();
        peak.RT = compound.RT + Uniform(r, -0.005, 0.005);
        const double width = Uniform(r, 3.0, 8.0) / 60.0;
        peak.StartRT = peak.RT - width / 2;
        peak.EndRT = peak.RT + width / 2;
        peak.Area = compound.Size * std::exp(Uniform(r, -0.7, 0.7));
        peak.Height = peak.Area / (width * 60.0) * 1.6;
        peak.RI = SyntheticRI(peak.RT);
        peak.Spectrum.CopyFrom(compound.Spectrum);
    }
    AddCalibration(*c);
    Totals(*c);
    return c;
}

std::unique_ptr<CLibraryChromatogram> CSyntheticLibrary::Replicate(const CLibraryChromatogram& source,
                                                                   std::uint64_t seed) const
{
    Random r(seed);
    auto c = std::make_unique<CLibraryChromatogram>(source);
    for (auto& peak : c->Peaks) {
        const double shift = Uniform(r, -m_shape.RTNoise, m_shape.RTNoise);
        peak->RT += shift;
        peak->StartRT += shift;
        peak->EndRT += shift;
        peak->RI = SyntheticRI(peak->RT);
        const double scale = 1.0 + Uniform(r, -m_shape.AreaNoise, m_shape.AreaNoise);
        peak->Area *= scale;
        peak->Height *= scale;
    }
    Totals(*c);
    return c;
}

std::unique_ptr<CLibraryChromatogram> CSyntheticLibrary::MakeEntry(int i) const
{
    const int of = ReplicateOf(i);
    if (of < 0)
        return Draw(i);
    auto c = Replicate(*MakeEntry(of), m_shape.Seed * 31 + static_cast<std::uint64_t>(i));
    char name[32];
    std::snprintf(name, sizeof name, "entry%04i", i);
    c->SampleName = std::string("Sample ") + name;
    c->DataFile = std::string(name) + ".raw";
    c->Comment = "replicate of entry" + std::to_string(of);
    return c;
}

std::unique_ptr<CLibraryChromatogram> CSyntheticLibrary::MakeReplicate(int i, std::uint64_t seed) const
{
    return Replicate(*MakeEntry(i), seed);
}

std::vector<std::string> CSyntheticLibrary::WriteLibrary(const std::string& folder) const
{
    std::vector<std::string> paths;
    for (int i = 0; i < m_shape.Entries; ++i) {
        std::string dir = folder;
        const int group = m_shape.Subfolders > 0 ? i % (m_shape.Subfolders + 1) : 0;
        if (group > 0)
            dir += "/sub" + std::to_string(group);
        std::filesystem::create_directories(dir);
        char name[48];
        std::snprintf(name, sizeof name, "/entry%04i.ChromLibEntry", i);
        MakeEntry(i)->SaveEntry(dir + name);
        paths.push_back(dir + name);
    }
    return paths;
}

} // namespace corvelin
