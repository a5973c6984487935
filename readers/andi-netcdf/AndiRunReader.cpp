#include "readers/andi-netcdf/AndiRunReader.h"

#include <netcdf.h>
#include <netcdf_mem.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <vector>

#include "readers/andi-netcdf/NetcdfHeaderCheck.h"
#include "readers/peak-detector/RunFile.h"
#include "readers/peak-detector/RunReadError.h"

namespace corvelin {

namespace {

// Files above this size are refused before anything is allocated for them.
constexpr std::uintmax_t kMaxFileBytes = std::uintmax_t{1} << 31;

// The "no value" mark of ANDI files (for example acquisition times of library entries).
constexpr double kNoValue = -9999.0;

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string Trim(const std::string& s)
{
    std::size_t a = 0, b = s.size();
    while (a < b && (std::isspace(static_cast<unsigned char>(s[a])) || s[a] == '\0'))
        ++a;
    while (b > a && (std::isspace(static_cast<unsigned char>(s[b - 1])) || s[b - 1] == '\0'))
        --b;
    return s.substr(a, b - a);
}

// Closes the netCDF handle on every way out.
class NcHandle {
public:
    explicit NcHandle(int id) : m_id(id) {}
    ~NcHandle() { nc_close(m_id); }
    NcHandle(const NcHandle&) = delete;
    NcHandle& operator=(const NcHandle&) = delete;
    int Id() const noexcept { return m_id; }

private:
    int m_id;
};

class AndiParser {
public:
    AndiParser(int ncid, std::size_t fileSize, std::string name)
        : m_nc(ncid), m_fileSize(fileSize), m_name(std::move(name))
    {
    }

    CScanRun Parse();

private:
    [[noreturn]] void Refuse(int code, const std::string& why) const
    {
        throw CRunReadError(code, "'" + m_name + "' " + why);
    }

    bool HasVar(const char* name) const
    {
        int id;
        return nc_inq_varid(m_nc, name, &id) == NC_NOERR;
    }
    std::string TextAttribute(int varid, const char* name) const;
    double NumberAttribute(int varid, const char* name, double fallback) const;
    // Reads a one-dimensional numeric variable as doubles with its scale_factor and add_offset applied; *dimLength
    // receives its length. A missing variable is refused when required, else gives no values.
    std::vector<double> ReadNumbers(const char* name, std::size_t* dimLength, bool required) const;
    std::string FirstText(std::initializer_list<const char*> names) const;

    int m_nc;
    std::size_t m_fileSize;
    std::string m_name;
};

std::string AndiParser::TextAttribute(int varid, const char* name) const
{
    nc_type type;
    std::size_t len = 0;
    if (nc_inq_att(m_nc, varid, name, &type, &len) != NC_NOERR || type != NC_CHAR || len > m_fileSize)
        return {};
    std::string text(len, '\0');
    if (len && nc_get_att_text(m_nc, varid, name, text.data()) != NC_NOERR)
        return {};
    return Trim(text);
}

double AndiParser::NumberAttribute(int varid, const char* name, double fallback) const
{
    nc_type type;
    std::size_t len = 0;
    if (nc_inq_att(m_nc, varid, name, &type, &len) != NC_NOERR || len != 1 || type == NC_CHAR || type == NC_STRING)
        return fallback;
    double value = fallback;
    if (nc_get_att_double(m_nc, varid, name, &value) != NC_NOERR || !std::isfinite(value))
        return fallback;
    return value;
}

std::vector<double> AndiParser::ReadNumbers(const char* name, std::size_t* dimLength, bool required) const
{
    int varid;
    if (nc_inq_varid(m_nc, name, &varid) != NC_NOERR) {
        if (required)
            Refuse(ENODATA, std::string("has no variable \"") + name + "\"; it is not an ANDI-MS run.");
        return {};
    }
    nc_type type;
    int ndims = 0;
    if (nc_inq_vartype(m_nc, varid, &type) != NC_NOERR || nc_inq_varndims(m_nc, varid, &ndims) != NC_NOERR)
        Refuse(EBADMSG, std::string("has an unreadable variable \"") + name + "\".");
    if (ndims != 1 || type == NC_CHAR || type == NC_STRING || type < NC_BYTE || type > NC_UINT64)
        Refuse(EBADMSG, std::string("has a variable \"") + name + "\" of the wrong shape or type.");
    int dimid;
    std::size_t len = 0;
    if (nc_inq_vardimid(m_nc, varid, &dimid) != NC_NOERR || nc_inq_dimlen(m_nc, dimid, &len) != NC_NOERR)
        Refuse(EBADMSG, std::string("has an unreadable dimension for \"") + name + "\".");
    std::size_t typeSize = 1;
    nc_inq_type(m_nc, type, nullptr, &typeSize);
    // The values must be in the file: never allocate for more than its bytes can hold.
    if (typeSize == 0 || len > m_fileSize / typeSize)
        Refuse(EBADMSG, std::string("claims more \"") + name + "\" values than the file holds.");
    std::vector<double> values(len);
    if (len && nc_get_var_double(m_nc, varid, values.data()) != NC_NOERR)
        Refuse(EBADMSG, std::string("has unreadable \"") + name + "\" values (the file may be truncated).");
    // Packed values: the netCDF library leaves scale_factor and add_offset to the reader.
    const double scale = NumberAttribute(varid, "scale_factor", 1.0);
    const double offset = NumberAttribute(varid, "add_offset", 0.0);
    if ((scale != 1.0 && scale > 0) || offset != 0.0)
        for (double& v : values)
            if (v != kNoValue)
                v = v * (scale > 0 ? scale : 1.0) + offset;
    if (dimLength)
        *dimLength = len;
    return values;
}

std::string AndiParser::FirstText(std::initializer_list<const char*> names) const
{
    for (const char* n : names) {
        std::string t = TextAttribute(NC_GLOBAL, n);
        if (!t.empty())
            return t;
    }
    return {};
}

CScanRun AndiParser::Parse()
{
    if (!HasVar("mass_values") || !HasVar("intensity_values")) {
        if (HasVar("ordinate_values") || !TextAttribute(NC_GLOBAL, "aia_template_revision").empty())
            Refuse(EMEDIUMTYPE, "is an ANDI chromatography file without mass spectra, not an ANDI-MS run.");
        Refuse(EMEDIUMTYPE, "is a netCDF file without mass spectra; it is not an ANDI-MS run.");
    }
    const std::string experiment = Lower(TextAttribute(NC_GLOBAL, "experiment_type"));
    if (experiment.find("library") != std::string::npos || HasVar("entry_name"))
        Refuse(ENODATA, "is an ANDI-MS library of reference spectra, not a GC-MS run.");

    std::size_t scans = 0, points = 0, pointLength = 0;
    const std::vector<double> index = ReadNumbers("scan_index", &scans, true);
    std::vector<double> times = ReadNumbers("scan_acquisition_time", nullptr, true);
    const std::vector<double> counts = ReadNumbers("point_count", nullptr, false);
    const std::vector<double> masses = ReadNumbers("mass_values", &points, true);
    const std::vector<double> intensities = ReadNumbers("intensity_values", &pointLength, true);
    if (times.size() != scans || (!counts.empty() && counts.size() != scans))
        Refuse(EBADMSG, "has scan variables of different lengths.");
    if (pointLength != points)
        Refuse(EBADMSG, "has mass and intensity variables of different lengths.");
    if (scans == 0)
        Refuse(ENODATA, "holds no scans.");

    // Units: the time variable's own attribute, else the per-point time variable's, else the global one.
    int timeVar = NC_GLOBAL, pointTimeVar = NC_GLOBAL;
    nc_inq_varid(m_nc, "scan_acquisition_time", &timeVar);
    std::string unit = TextAttribute(timeVar, "units");
    if (unit.empty() && nc_inq_varid(m_nc, "time_values", &pointTimeVar) == NC_NOERR)
        unit = TextAttribute(pointTimeVar, "units");
    if (unit.empty())
        unit = TextAttribute(NC_GLOBAL, "units");
    const double toMinutes = AndiTimeUnitToMinutes(unit);

    CScanRun run;
    run.SampleName = FirstText({"sample_name", "experiment_title", "sample_id", "sample_internal_id"});
    run.Comment = FirstText({"sample_comments", "administrative_comments", "test_comments"});
    run.DataFile = FirstText({"source_file_reference"});
    if (run.DataFile.empty())
        run.DataFile = std::filesystem::path(m_name).filename().string();
    run.Reserve(scans, points);

    // Detector counts are never negative: a point table with negative intensities (other than the "no value"
    // mark) holds garbage, even where the scan table does not point.
    const auto negatives =
        std::count_if(intensities.begin(), intensities.end(), [](double v) { return v < 0 && v != kNoValue; });
    if (negatives > 0)
        Refuse(EBADMSG, "is broken: its point table holds " + std::to_string(negatives) + " negative intensities.");

    // Where scans begin, ascending: a scan ends at the next higher start.
    std::vector<double> starts(index);
    std::sort(starts.begin(), starts.end());
    std::size_t timed = 0, badLines = 0, lines = 0;
    for (std::size_t s = 0; s < scans; ++s) {
        const double t = times[s];
        if (!std::isfinite(t) || t == kNoValue)
            continue; // no acquisition time: not a scan of a run
        const double first = index[s];
        if (!(first >= 0) || first > static_cast<double>(points) || first != std::floor(first))
            Refuse(EBADMSG, "has a scan_index outside the point table.");
        const std::size_t begin = static_cast<std::size_t>(first);
        // A scan ends where the next higher scan_index begins; point_count may be stale (larger than that
        // step, then the step wins) or leave gaps between scans (smaller, then it wins).
        std::size_t limit = points;
        if (const auto next = std::upper_bound(starts.begin(), starts.end(), first); next != starts.end())
            limit = std::min(points, static_cast<std::size_t>(std::min(*next, static_cast<double>(points))));
        std::size_t count = limit - begin;
        if (!counts.empty() && counts[s] >= 0 && std::isfinite(counts[s]))
            count = std::min(count, static_cast<std::size_t>(std::min(counts[s], static_cast<double>(points))));
        ++timed;
        run.AddScan(t * toMinutes);
        for (std::size_t k = begin; k < begin + count; ++k) {
            const double m = masses[k];
            const double v = intensities[k];
            if (m == kNoValue || v == kNoValue)
                continue;
            ++lines;
            if (!std::isfinite(m) || !std::isfinite(v) || m <= 0 || v < 0) {
                ++badLines;
                continue;
            }
            run.AddLine(m, v);
        }
    }
    if (timed == 0)
        Refuse(ENODATA, "has no scan with an acquisition time; it is not a GC-MS run.");
    // A few odd values are tolerated; a file full of zero or negative masses and intensities is broken.
    if (badLines > lines / 20 + 2)
        Refuse(EBADMSG, "is inconsistent: " + std::to_string(badLines) + " of " + std::to_string(lines) +
                            " mass/intensity values are negative, zero or not numbers.");
    if (run.LineCount() == 0)
        Refuse(ENODATA, "holds no mass spectra.");
    run.SortScansByTime();
    return run;
}

void CheckMagic(const unsigned char* head, std::size_t size, const std::string& name)
{
    if (size >= 4 && head[0] == 'C' && head[1] == 'D' && head[2] == 'F' && (head[3] == 1 || head[3] == 2))
        return;
    if (size >= 4 && head[0] == 'C' && head[1] == 'D' && head[2] == 'F')
        throw CRunReadError(EMEDIUMTYPE,
                            "'" + name + "' is a netCDF file of a kind ANDI-MS files never are (not classic).");
    if (size >= 4 && head[0] == 'P' && head[1] == 'K' && head[2] == 3 && head[3] == 4)
        throw CRunReadError(EMEDIUMTYPE, "'" + name + "' is a ZIP archive, not a netCDF file; unpack it first.");
    if (size >= 4 && head[0] == 0x89 && head[1] == 'H' && head[2] == 'D' && head[3] == 'F')
        throw CRunReadError(EMEDIUMTYPE, "'" + name + "' is a netCDF-4/HDF5 file; ANDI-MS files are netCDF classic.");
    throw CRunReadError(EMEDIUMTYPE, "'" + name + "' is not a netCDF file.");
}

// The netCDF library keeps process-wide tables of open files without locking them, and the program reads
// several files at once (the multi-file summary reads ahead on worker threads): one file at a time goes
// through the library.
std::mutex& NetcdfMutex()
{
    static std::mutex mutex;
    return mutex;
}

// Parses a whole file image. The netCDF library reads the image in place (read-only).
CScanRun ParseImage(std::vector<unsigned char>& image, const std::string& name)
{
    CheckMagic(image.data(), image.size(), name);
    CheckNetcdfClassicHeader(image.data(), image.size(), name);
    std::lock_guard lock(NetcdfMutex());
    int ncid = -1;
    if (const int rc = nc_open_mem(name.c_str(), NC_NOWRITE, image.size(), image.data(), &ncid); rc != NC_NOERR)
        throw CRunReadError(EBADMSG, "'" + name + "' is a damaged netCDF file (" + nc_strerror(rc) + ").");
    NcHandle handle(ncid);
    return AndiParser(ncid, image.size(), name).Parse();
}

} // namespace

double AndiTimeUnitToMinutes(const std::string& unitText)
{
    const std::string u = Lower(Trim(unitText));
    if (u.find("min") != std::string::npos)
        return 1.0;
    if (u.find("hour") != std::string::npos || u == "h")
        return 60.0;
    if (u.find("millisec") != std::string::npos || u == "ms")
        return 1.0 / 60000.0;
    return 1.0 / 60.0;
}

CScanRun ReadAndiRun(const std::string& path)
{
    std::vector<unsigned char> image = ReadRunFile(path, kMaxFileBytes);
    return ParseImage(image, path);
}

CScanRun ReadAndiRunFromMemory(const void* data, std::size_t size, const std::string& name)
{
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::vector<unsigned char> image(bytes, bytes + size);
    return ParseImage(image, name);
}

} // namespace corvelin
