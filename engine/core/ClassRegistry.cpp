#include "engine/core/ClassRegistry.h"

#include "engine/core/Archive.h"
#include "engine/core/LibraryChromatogram.h"

namespace corvelin {

namespace {

// A spectrum line as a stand-alone object: the line record of a spectrum (four doubles, no identifier).
class CLibraryMassSpectrumPointObject : public CSerializable {
public:
    const char* GetClassName() const override { return "CLibraryMassSpectrumPoint"; }
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar << Point.Mass << Point.Intensity << Point.PointExtra << Point.WeightedIntensity;
        } else {
            ar >> Point.Mass >> Point.Intensity >> Point.PointExtra >> Point.WeightedIntensity;
        }
    }
    CLibraryMassSpectrumPoint Point;
};

template <class T> std::unique_ptr<CSerializable> Make()
{
    return std::make_unique<T>();
}

struct RegisteredClass {
    std::string_view name;
    std::unique_ptr<CSerializable> (*create)();
};

constexpr RegisteredClass kClasses[] = {
    {"CLibraryRICalibrationPoint", &Make<CLibraryRICalibrationPoint>},
    {"CLibraryMassSpectrum", &Make<CLibraryMassSpectrum>},
    {"CLibraryMassSpectrumPoint", &Make<CLibraryMassSpectrumPointObject>},
    {"CLibraryMassSpectrumData", &Make<CLibraryMassSpectrumData>},
    {"CLibraryChromatogramPeakData", &Make<CLibraryChromatogramPeakData>},
    {"CLibraryChromatogramData", &Make<CLibraryChromatogramData>},
    {"CLibraryRICalibrationData", &Make<CLibraryRICalibrationData>},
};

} // namespace

std::unique_ptr<CSerializable> CreateRegisteredObject(std::string_view className)
{
    for (const auto& c : kClasses)
        if (c.name == className)
            return c.create();
    return nullptr;
}

bool IsRegisteredClass(std::string_view className) noexcept
{
    for (const auto& c : kClasses)
        if (c.name == className)
            return true;
    return false;
}

} // namespace corvelin
