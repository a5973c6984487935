// The direct deep copy of a chromatogram against storing it as an entry and loading it back: on random records
// (any bytes in the texts, lengths across the length-prefix forms, any double bit pattern, RI tables, optional
// tail fields, a target that already holds data) both must give the same result, field by field and bit for bit.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>

#include "engine/core/LibraryChromatogram.h"

using namespace corvelin;

namespace {

class RandomRecord {
public:
    explicit RandomRecord(std::uint64_t seed) : m_random(seed) {}

    CLibraryChromatogram Chromatogram()
    {
        CLibraryChromatogram c;
        c.Comment = Text();
        c.DataFile = Text();
        c.SampleName = Text();
        c.TotalHeight = Number();
        c.TotalArea = Number();
        c.ExtraValue = Number();
        c.SourcePath = Text();
        c.LargestHeight = Number();
        const int peaks = Below(4) == 0 ? 0 : Below(30);
        for (int i = 0; i < peaks; ++i) {
            auto& p = c.AddPeak();
            p.Area = Number();
            p.Height = Number();
            p.RT = Number();
            p.StartRT = Number();
            p.EndRT = Number();
            p.RI = Number();
            p.PeakNumber = static_cast<int>(m_random());
            Spectrum(p.Spectrum);
        }
        // A stored peak count that disagrees with the records is carried as it is.
        c.PeakCount = Below(3) == 0 ? static_cast<int>(m_random()) : peaks;
        const int points = Below(3) == 0 ? 0 : Below(6);
        for (int i = 0; i < points; ++i) {
            auto point = std::make_unique<CLibraryRICalibrationPoint>();
            CLibraryMassSpectrumData spectrum;
            Spectrum(spectrum);
            point->Set(Text(), Number(), Number(), spectrum);
            c.RICalibration.AddPoint(std::move(point));
        }
        c.RICalibration.SetCalculationOption(static_cast<int>(m_random()));
        return c;
    }

private:
    int Below(int n) { return static_cast<int>(m_random() % static_cast<std::uint64_t>(n)); }

    // Ordinary values mostly, and any bit pattern (NaN payloads, infinities, -0, subnormals) now and then.
    double Number()
    {
        switch (Below(4)) {
        case 0:
            return std::bit_cast<double>(m_random());
        case 1:
            return -0.0;
        default:
            return std::uniform_real_distribution<double>(-1e6, 1e6)(m_random);
        }
    }

    // Any bytes (NUL and bytes above 127 included), with lengths on both sides of the 1-, 3- and 7-byte prefixes.
    std::string Text()
    {
        static constexpr std::size_t kLengths[] = {0, 1, 7, 254, 255, 256, 0xFFFD, 0xFFFE, 0xFFFF, 0x10000};
        const std::size_t length = Below(4) == 0 ? kLengths[Below(10)] : static_cast<std::size_t>(Below(40));
        std::string text(length, '\0');
        for (char& ch : text)
            ch = static_cast<char>(m_random());
        return text;
    }

    void Spectrum(CLibraryMassSpectrumData& spectrum)
    {
        const int lines = Below(5) == 0 ? 0 : Below(80);
        for (int i = 0; i < lines; ++i)
            spectrum.Append(CLibraryMassSpectrumPoint(Number(), Number(), Number(), Number()));
    }

    std::mt19937_64 m_random;
};

std::uint64_t Bits(double v)
{
    return std::bit_cast<std::uint64_t>(v);
}

// The differences between two chromatograms, one line each; empty when they agree in every field.
class Differences {
public:
    void Compare(const CLibraryChromatogram& a, const CLibraryChromatogram& b)
    {
        Text("Comment", a.Comment, b.Comment);
        Text("DataFile", a.DataFile, b.DataFile);
        Text("SampleName", a.SampleName, b.SampleName);
        Text("SourcePath", a.SourcePath, b.SourcePath);
        Number("TotalHeight", a.TotalHeight, b.TotalHeight);
        Number("TotalArea", a.TotalArea, b.TotalArea);
        Number("ExtraValue", a.ExtraValue, b.ExtraValue);
        Number("LargestHeight", a.LargestHeight, b.LargestHeight);
        Integer("PeakCount", a.PeakCount, b.PeakCount);
        Integer("peaks", static_cast<long long>(a.Peaks.size()), static_cast<long long>(b.Peaks.size()));
        for (std::size_t i = 0; i < std::min(a.Peaks.size(), b.Peaks.size()); ++i) {
            const auto& p = *a.Peaks[i];
            const auto& q = *b.Peaks[i];
            const std::string at = "peak " + std::to_string(i) + " ";
            Number(at + "Area", p.Area, q.Area);
            Number(at + "Height", p.Height, q.Height);
            Number(at + "RT", p.RT, q.RT);
            Number(at + "StartRT", p.StartRT, q.StartRT);
            Number(at + "EndRT", p.EndRT, q.EndRT);
            Number(at + "RI", p.RI, q.RI);
            Integer(at + "PeakNumber", p.PeakNumber, q.PeakNumber);
            Spectrum(at + "spectrum", p.Spectrum, q.Spectrum);
        }
        const auto& s = a.RICalibration;
        const auto& t = b.RICalibration;
        Integer("RI option", s.GetCalculationOption(), t.GetCalculationOption());
        Integer("RI points", static_cast<long long>(s.GetCount()), static_cast<long long>(t.GetCount()));
        for (std::size_t i = 0; i < std::min(s.GetCount(), t.GetCount()); ++i) {
            const std::string at = "RI point " + std::to_string(i) + " ";
            Text(at + "name", s.GetPoint(i).CompoundName, t.GetPoint(i).CompoundName);
            Number(at + "RT", s.GetPoint(i).RT, t.GetPoint(i).RT);
            Number(at + "RI", s.GetPoint(i).RI, t.GetPoint(i).RI);
            Spectrum(at + "spectrum", s.GetPoint(i).Spectrum, t.GetPoint(i).Spectrum);
        }
    }
    std::string Text() const { return m_out.str(); }

private:
    void Text(const std::string& what, const std::string& a, const std::string& b)
    {
        if (a != b)
            m_out << what << " differs (lengths " << a.size() << ", " << b.size() << ")\n";
    }
    void Number(const std::string& what, double a, double b)
    {
        if (Bits(a) != Bits(b))
            m_out << what << ": " << a << " vs " << b << "\n";
    }
    void Integer(const std::string& what, long long a, long long b)
    {
        if (a != b)
            m_out << what << ": " << a << " vs " << b << "\n";
    }
    void Spectrum(const std::string& what, const CLibraryMassSpectrumData& a, const CLibraryMassSpectrumData& b)
    {
        Integer(what + " lines", static_cast<long long>(a.GetCount()), static_cast<long long>(b.GetCount()));
        for (std::size_t i = 0; i < std::min(a.GetCount(), b.GetCount()); ++i) {
            const auto& p = *a.GetPoint(i);
            const auto& q = *b.GetPoint(i);
            if (Bits(p.Mass) != Bits(q.Mass) || Bits(p.Intensity) != Bits(q.Intensity) ||
                Bits(p.PointExtra) != Bits(q.PointExtra) || Bits(p.WeightedIntensity) != Bits(q.WeightedIntensity))
                m_out << what << " line " << i << " differs\n";
        }
    }
    std::ostringstream m_out;
};

std::string DifferencesOf(const CLibraryChromatogram& a, const CLibraryChromatogram& b)
{
    Differences d;
    d.Compare(a, b);
    return d.Text();
}

// The reference: store the record as an entry and load it into target.
void CopyThroughEntry(const CLibraryChromatogram& source, CLibraryChromatogram& target)
{
    const std::vector<std::uint8_t> bytes = source.StoreToBytes();
    target.LoadFromBytes(bytes, {}, false);
}

} // namespace

TEST(ChromatogramDeepCopy, EqualsTheEntryRoundTripOnRandomRecords)
{
    for (std::uint64_t seed = 1; seed <= 150; ++seed) {
        RandomRecord random(seed);
        const CLibraryChromatogram source = random.Chromatogram();
        // Both targets start with the same other record, so anything the copy forgets to replace shows.
        const CLibraryChromatogram before = random.Chromatogram();
        CLibraryChromatogram direct;
        CLibraryChromatogram viaEntry;
        CopyThroughEntry(before, direct);
        CopyThroughEntry(before, viaEntry);
        direct.LargestHeight = viaEntry.LargestHeight = 12.5;

        direct.CopyFrom(source);
        CopyThroughEntry(source, viaEntry);
        ASSERT_EQ(DifferencesOf(direct, viaEntry), "") << "seed " << seed;
        EXPECT_EQ(direct.StoreToBytes(), viaEntry.StoreToBytes()) << "seed " << seed;

        // The copy is deep: changing the source afterwards leaves it alone.
        CLibraryChromatogram source2 = random.Chromatogram();
        CLibraryChromatogram copy(source2);
        const std::vector<std::uint8_t> stored = copy.StoreToBytes();
        for (auto& p : source2.Peaks) {
            p->Area += 1;
            p->Spectrum.Append(CLibraryMassSpectrumPoint(1, 1));
        }
        if (source2.RICalibration.GetCount() > 0)
            source2.RICalibration.GetPoint(0).CompoundName += "x";
        EXPECT_EQ(copy.StoreToBytes(), stored) << "seed " << seed;
    }
}

TEST(ChromatogramDeepCopy, FromItselfEqualsTheRoundTrip)
{
    RandomRecord random(77);
    CLibraryChromatogram c = random.Chromatogram();
    CLibraryChromatogram expected;
    CopyThroughEntry(c, expected);
    c.CopyFrom(c);
    EXPECT_EQ(DifferencesOf(c, expected), "");
}

TEST(ChromatogramDeepCopy, LeavesOutAMissingPeakAndNumbersTheRest)
{
    // A reader module may leave a hole in the peak list; the copy must not follow it.
    CLibraryChromatogram source;
    source.AddPeak().RT = 1;
    source.Peaks.push_back(nullptr);
    source.AddPeak().RT = 3;
    CLibraryChromatogram copy(source);
    ASSERT_EQ(copy.Peaks.size(), 2u);
    EXPECT_EQ(copy.PeakCount, 3);
    EXPECT_EQ(copy.GetPeak(1)->RT, 3);
    EXPECT_EQ(copy.GetPeak(1)->PeakNumber, 2);
}
