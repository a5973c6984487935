#include "readers/mzml/MzmlRunReader.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "pwiz/data/msdata/DefaultReaderList.hpp"
#include "pwiz/data/msdata/MSData.hpp"
#include "pwiz/data/msdata/Serializer_mzML.hpp"
#include "pwiz/data/msdata/Serializer_mzXML.hpp"
#include "readers/mzml/MzmlPreScan.h"
#include "readers/peak-detector/RunReadError.h"

namespace corvelin {

namespace {

namespace fs = std::filesystem;
namespace pm = pwiz::msdata;

// 512 bytes of the file from offset on: from the root element on, enough for the format test of the XML readers
// whatever comments come before it.
std::string FileHead(const std::string& path, std::size_t offset = 0)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw CRunReadError(EACCES, "The file cannot be opened.");
    in.seekg(static_cast<std::streamoff>(offset));
    std::string head(512, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    return head;
}

void CheckIsRegularFile(const std::string& path)
{
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status))
        throw CRunReadError(ENOENT, "The file does not exist.");
    if (!fs::is_regular_file(status))
        throw CRunReadError(EISDIR, "This is not a file.");
}

// Skips a byte-order mark and leading white space.
bool LooksLikeXml(const std::string& head)
{
    std::size_t i = head.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (i < head.size() && (head[i] == ' ' || head[i] == '\t' || head[i] == '\r' || head[i] == '\n'))
        ++i;
    return i < head.size() && head[i] == '<';
}

// The MS level of a scan: the cvParam of an mzML spectrum (mzXML's msLevel attribute arrives as the same
// term); a scan that states none counts as MS1, as in files written by older GC-MS converters.
int MsLevel(const pm::Spectrum& spectrum)
{
    const pwiz::data::CVParam level = spectrum.cvParam(pwiz::cv::MS_ms_level);
    if (level.empty())
        return spectrum.hasCVParam(pwiz::cv::MS_MSn_spectrum) ? 2 : 1;
    return level.valueAs<int>();
}

// The scan start time in minutes, or NaN when the scan has none. mzXML retention times come from the pre-scan,
// which reads every duration form; an mzML time must state its unit.
double ScanStartMinutes(const pm::Spectrum& spectrum, const CMzmlPreScan* mzxml)
{
    if (mzxml) {
        const std::size_t eq = spectrum.id.rfind("scan=");
        const auto found = eq == std::string::npos
                               ? mzxml->MzxmlSeconds.end()
                               : mzxml->MzxmlSeconds.find(std::strtoll(spectrum.id.c_str() + eq + 5, nullptr, 10));
        return found == mzxml->MzxmlSeconds.end() ? std::nan("") : found->second / 60.0;
    }
    if (spectrum.scanList.scans.empty())
        return std::nan("");
    const pwiz::data::CVParam time = spectrum.scanList.scans.front().cvParam(pwiz::cv::MS_scan_start_time);
    if (time.empty())
        return std::nan("");
    if (time.units != pwiz::cv::UO_second && time.units != pwiz::cv::UO_minute)
        throw CRunReadError(EBADMSG, "An MS1 scan's start time has no unit of time (seconds or minutes).");
    return time.timeInSeconds() / 60.0;
}

// A user or cv parameter's value by name, for the run's descriptive texts.
std::string ParamText(const pwiz::data::ParamContainer& params, pwiz::cv::CVID cvid, const char* userName)
{
    if (cvid != pwiz::cv::CVID_Unknown) {
        const pwiz::data::CVParam cv = params.cvParam(cvid);
        if (!cv.empty() && !cv.value.empty())
            return cv.value;
    }
    const pwiz::data::UserParam user = params.userParam(userName);
    return user.empty() ? std::string() : user.value;
}

void FillTexts(const pm::MSData& data, const std::string& path, CScanRun& run)
{
    run.DataFile = fs::path(path).filename().string();
    if (!data.samplePtrs.empty() && data.samplePtrs.front()) {
        const pm::Sample& sample = *data.samplePtrs.front();
        run.SampleName = ParamText(sample, pwiz::cv::MS_sample_name, "sample name");
        if (run.SampleName.empty())
            run.SampleName = !sample.name.empty() ? sample.name : sample.id;
        run.Comment = ParamText(sample, pwiz::cv::CVID_Unknown, "comment");
    }
    if (run.SampleName.empty())
        run.SampleName = data.run.id;
    if (run.Comment.empty())
        run.Comment = ParamText(data.run, pwiz::cv::CVID_Unknown, "comment");
}

// Reads the file with the mzML or the mzXML reader of the library; anything else is refused. True for mzXML. The
// library's format test looks at the file's first bytes only, so a file whose root element comes later (after a
// long comment) goes to the library's parser of its root element directly.
bool ReadData(const std::string& path, const std::string& head, const std::string& rootName, pm::MSData& data)
{
    const pm::Reader_mzML mzml;
    const pm::Reader_mzXML mzxml;
    const pm::Reader* reader = nullptr;
    if (!mzml.identify(path, head).empty())
        reader = &mzml;
    else if (!mzxml.identify(path, head).empty())
        reader = &mzxml;
    const bool mzmlRoot = rootName == "mzML" || rootName == "indexedmzML";
    if (!reader && !mzmlRoot && rootName != "mzXML")
        throw CRunReadError(EMEDIUMTYPE, "The file is XML but neither mzML nor mzXML.");
    try {
        if (reader) {
            reader->read(path, head, data);
            return reader == &mzxml;
        }
        const boost::shared_ptr<std::istream> stream(new std::ifstream(path, std::ios::binary));
        if (mzmlRoot) {
            pm::Serializer_mzML::Config config;
            config.indexed = rootName == "indexedmzML";
            pm::Serializer_mzML(config).read(stream, data);
        } else {
            pm::Serializer_mzXML().read(stream, data);
        }
    } catch (const std::exception& e) {
        throw CRunReadError(EBADMSG, std::string("The file is damaged or truncated: ") + e.what());
    }
    return !mzmlRoot;
}

void AddScan(const pm::Spectrum& spectrum, double minutes, CScanRun& run)
{
    const pm::BinaryDataArrayPtr mz = spectrum.getMZArray();
    const pm::BinaryDataArrayPtr intensity = spectrum.getIntensityArray();
    run.AddScan(minutes);
    if (!mz || !intensity) {
        if (spectrum.defaultArrayLength > 0)
            throw CRunReadError(EBADMSG, "A scan announces lines but lacks its mass or intensity array.");
        return; // a scan without arrays is an empty scan
    }
    const std::size_t n = mz->data.size();
    if (intensity->data.size() != n)
        throw CRunReadError(EBADMSG, "A scan's mass and intensity arrays differ in length.");
    if (n > kMaxMzmlLinesPerScan)
        throw CRunReadError(EFBIG, "A scan holds more lines than any GC-MS scan (the limit is " +
                                       std::to_string(kMaxMzmlLinesPerScan) + " lines).");
    if (spectrum.defaultArrayLength > n)
        throw CRunReadError(EBADMSG, "A scan holds fewer lines than it announces (the file is damaged).");
    for (std::size_t i = 0; i < n; ++i)
        run.AddLine(mz->data[i], intensity->data[i]);
}

} // namespace

CScanRun ReadMzmlRun(const std::string& path)
{
    CheckIsRegularFile(path);
    if (!LooksLikeXml(FileHead(path)))
        throw CRunReadError(EMEDIUMTYPE, "The file is not an XML file (mzML or mzXML).");
    const CMzmlPreScan scan = PreScanMzml(path, kMaxMzmlLinesPerScan, kMaxMzmlLinesPerScan * sizeof(double));

    pm::MSData data;
    const bool mzxml = ReadData(path, FileHead(path), scan.RootName, data);

    CScanRun run;
    FillTexts(data, path, run);
    const pm::SpectrumListPtr spectra = data.run.spectrumListPtr;
    const std::size_t count = spectra ? spectra->size() : 0;
    if (count == 0) {
        const bool chromatograms = data.run.chromatogramListPtr && data.run.chromatogramListPtr->size() > 0;
        throw CRunReadError(ENODATA, chromatograms ? "The file holds chromatograms only, no scans."
                                                   : "The file holds no scans.");
    }
    std::size_t higherLevels = 0;
    try {
        for (std::size_t i = 0; i < count; ++i) {
            const pm::SpectrumPtr spectrum = spectra->spectrum(i, true);
            if (!spectrum)
                continue;
            if (spectrum->index != i || spectrum->id != spectra->spectrumIdentity(i).id)
                throw CRunReadError(EBADMSG, "The file's index points at the wrong scans (the file is damaged).");
            if (MsLevel(*spectrum) != 1) {
                ++higherLevels;
                continue;
            }
            const double minutes = ScanStartMinutes(*spectrum, mzxml ? &scan : nullptr);
            if (!std::isfinite(minutes))
                throw CRunReadError(ENODATA, "An MS1 scan has no scan start time.");
            AddScan(*spectrum, minutes, run);
        }
    } catch (const CRunReadError&) {
        throw;
    } catch (const std::exception& e) {
        throw CRunReadError(EBADMSG, std::string("The file is damaged or truncated: ") + e.what());
    }
    if (run.ScanCount() == 0 && higherLevels > 0)
        throw CRunReadError(ENODATA, "The file holds MS/MS scans only, no MS1 scans.");
    if (run.ScanCount() > 0 && run.LineCount() == 0)
        throw CRunReadError(ENODATA, "Every MS1 scan of the file is empty.");
    if (run.ScanCount() < 2)
        throw CRunReadError(EMEDIUMTYPE,
                            "The file holds fewer than two MS1 scans: a single spectrum is not a chromatogram.");
    if (!run.IsTimeOrdered())
        run.SortScansByTime();
    return run;
}

} // namespace corvelin
