#pragma once
// Writes synthetic scans as mzML (plain, zlib-compressed or numpress-encoded arrays) or mzXML with the same
// data library the reader uses, the way converters write GC-MS runs.
#include <memory>
#include <string>
#include <vector>

#include <boost/make_shared.hpp>

#include "pwiz/data/msdata/MSData.hpp"
#include "pwiz/data/msdata/MSDataFile.hpp"
#include "tests/readers/common/SyntheticRun.h"

namespace corvelin {

namespace synthetic {

enum class MzmlForm { Plain, Zlib, Numpress, MzXML };

struct MzmlOptions {
    MzmlForm Form = MzmlForm::Plain;
    bool TimesInMinutes = false; // mzML only: scan start times stated in minutes
    bool Profile = false;        // scans marked as profile data
    int MsLevel = 1;             // every scan's level
    bool WithTimes = true;
    bool ChromatogramOnly = false; // a TIC chromatogram and no spectra
    bool Indexed = true;           // with the offset index
    std::string SampleName = "test mix";
    std::string Comment = "10 ng per component";
};

inline void WriteMzml(const std::vector<Scan>& scans, const std::string& path, const MzmlOptions& options = {})
{
    namespace pm = pwiz::msdata;
    using namespace pwiz::cv;
    pm::MSData data;
    data.id = "run";
    data.run.id = "run";
    auto sample = boost::make_shared<pm::Sample>("sample1", options.SampleName);
    sample->userParams.emplace_back("comment", options.Comment);
    data.samplePtrs.push_back(sample);
    data.run.samplePtr = sample;
    data.fileDescription.fileContent.set(MS_MS1_spectrum);
    auto spectra = boost::make_shared<pm::SpectrumListSimple>();
    auto chromatograms = boost::make_shared<pm::ChromatogramListSimple>();
    if (options.ChromatogramOnly) {
        auto tic = boost::make_shared<pm::Chromatogram>();
        tic->index = 0;
        tic->id = "TIC";
        tic->set(MS_TIC_chromatogram);
        std::vector<double> times, totals;
        for (const Scan& scan : scans) {
            double total = 0;
            for (const auto& line : scan.Lines)
                total += line.second;
            times.push_back(scan.Seconds);
            totals.push_back(total);
        }
        tic->setTimeIntensityArrays(times, totals, UO_second, MS_number_of_detector_counts);
        chromatograms->chromatograms.push_back(tic);
    } else {
        for (std::size_t i = 0; i < scans.size(); ++i) {
            auto spectrum = boost::make_shared<pm::Spectrum>();
            spectrum->index = i;
            spectrum->id = "scan=" + std::to_string(i + 1);
            spectrum->set(MS_ms_level, options.MsLevel);
            spectrum->set(options.MsLevel == 1 ? MS_MS1_spectrum : MS_MSn_spectrum);
            spectrum->set(options.Profile ? MS_profile_spectrum : MS_centroid_spectrum);
            spectrum->scanList.set(MS_no_combination);
            spectrum->scanList.scans.emplace_back();
            if (options.WithTimes) {
                if (options.TimesInMinutes)
                    spectrum->scanList.scans.back().set(MS_scan_start_time, scans[i].Seconds / 60.0, UO_minute);
                else
                    spectrum->scanList.scans.back().set(MS_scan_start_time, scans[i].Seconds, UO_second);
            }
            std::vector<double> mz, intensity;
            for (const auto& [m, v] : scans[i].Lines) {
                mz.push_back(m);
                intensity.push_back(v);
            }
            spectrum->setMZIntensityArrays(mz, intensity, MS_number_of_detector_counts);
            spectra->spectra.push_back(spectrum);
        }
    }
    data.run.spectrumListPtr = spectra;
    data.run.chromatogramListPtr = chromatograms;

    pm::MSDataFile::WriteConfig config(options.Form == MzmlForm::MzXML ? pm::MSDataFile::Format_mzXML
                                                                       : pm::MSDataFile::Format_mzML);
    config.useWorkerThreads = false;
    config.indexed = options.Indexed;
    config.binaryDataEncoderConfig.precision = pm::BinaryDataEncoder::Precision_64;
    if (options.Form == MzmlForm::Zlib)
        config.binaryDataEncoderConfig.compression = pm::BinaryDataEncoder::Compression_Zlib;
    if (options.Form == MzmlForm::Numpress) {
        config.binaryDataEncoderConfig.numpressOverrides[MS_m_z_array] = pm::BinaryDataEncoder::Numpress_Linear;
        config.binaryDataEncoderConfig.numpressOverrides[MS_intensity_array] = pm::BinaryDataEncoder::Numpress_Slof;
    }
    pm::MSDataFile::write(data, path, config);
}

} // namespace synthetic

} // namespace corvelin
