#include "engine/core/LibraryChromatogram.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/core/Archive.h"
#include "engine/platform/PendingTemporaryFile.h"

namespace corvelin {

namespace {
constexpr const char* kChromatogramIdentifier = "LibraryChromatogram";
constexpr std::uint32_t kChromatogramMinVersion = 4;
constexpr std::uint32_t kRITableVersion = 5;
// The smallest peak record: identifier (1 + 23), version, five doubles, and an empty spectrum (40 bytes).
constexpr std::size_t kMinPeakRecordBytes = 1 + 23 + 4 + 5 * 8 + 40;

// A library entry holds a few hundred peaks of a few hundred lines (a few MB); anything beyond this is not an
// entry and is refused before it is read into memory.
constexpr std::uint64_t kMaxEntryFileBytes = 256ull << 20;

// Closes a file descriptor when it goes out of scope.
struct FileDescriptor {
    int fd = -1;
    ~FileDescriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

[[noreturn]] void ThrowFileError(const std::string& path, int err, const char* what)
{
    throw CFileException(CFileException::CauseFromErrno(err), path, err, what);
}

// A per-thread buffer for the bytes of one entry file, reused by the next read so that a library search does not
// allocate (and clear) a few hundred kB per entry. A buffer grown beyond kKeptBufferBytes is given back after use.
class CFileBuffer {
public:
    static constexpr std::size_t kKeptBufferBytes = 8u << 20;

    std::uint8_t* Get(std::size_t size)
    {
        if (size > m_capacity) {
            m_data.reset();
            m_capacity = 0;
            m_data.reset(new std::uint8_t[size]); // not cleared: every byte used is read from the file
            m_capacity = size;
        }
        return m_data.get();
    }
    void Trim() noexcept
    {
        if (m_capacity > kKeptBufferBytes) {
            m_data.reset();
            m_capacity = 0;
        }
    }

    // Trims the buffer when it goes out of scope.
    struct TrimAfterUse {
        CFileBuffer& buffer;
        ~TrimAfterUse() { buffer.Trim(); }
    };

private:
    std::unique_ptr<std::uint8_t[]> m_data;
    std::size_t m_capacity = 0;
};

// The calling thread's buffer, shared by both ways of reading an entry.
CFileBuffer& ThreadFileBuffer()
{
    thread_local CFileBuffer buffer;
    return buffer;
}

// Reads the whole file into buffer and returns the bytes read.
std::span<const std::uint8_t> ReadWholeFile(const std::string& path, CFileBuffer& buffer)
{
    FileDescriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    if (file.fd < 0)
        ThrowFileError(path, errno, "cannot open file");
    struct stat st {};
    if (::fstat(file.fd, &st) != 0)
        ThrowFileError(path, errno, "cannot read file");
    if (!S_ISREG(st.st_mode))
        throw CFileException(CFileException::BadPath, path, 0, "not a regular file");
    if (static_cast<std::uint64_t>(st.st_size) > kMaxEntryFileBytes)
        throw CFileException(CFileException::InvalidFile, path, 0, "file too large for a library entry");
    const auto size = static_cast<std::size_t>(st.st_size);
    std::uint8_t* bytes = buffer.Get(size);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(file.fd, bytes + done, size - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ThrowFileError(path, errno, "cannot read file");
        }
        if (n == 0)
            break; // the file shrank meanwhile: read what is there
        done += static_cast<std::size_t>(n);
    }
    return {bytes, done};
}

} // namespace

// ---- CLibraryChromatogramData ---------------------------------------------------------------------------------

CLibraryChromatogramPeakData& CLibraryChromatogramData::AddPeak(std::unique_ptr<CLibraryChromatogramPeakData> peak)
{
    if (!peak)
        peak = std::make_unique<CLibraryChromatogramPeakData>();
    Peaks.push_back(std::move(peak));
    PeakCount = static_cast<int>(Peaks.size());
    return *Peaks.back();
}

CLibraryChromatogramPeakData& CLibraryChromatogramData::AddPeak()
{
    return AddPeak(std::make_unique<CLibraryChromatogramPeakData>());
}

void CLibraryChromatogramData::Clear()
{
    Peaks.clear();
    Comment.clear();
    DataFile.clear();
    SampleName.clear();
    TotalHeight = 0;
    TotalArea = 0;
    ExtraValue = 0;
    PeakCount = 0;
    RICalibration.Clear();
}

double CLibraryChromatogramData::ComputeLargestHeight() const noexcept
{
    double largest = 0;
    for (const auto& p : Peaks)
        if (p->Height >= largest)
            largest = p->Height;
    return largest;
}

void CLibraryChromatogramData::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteClassHeader(kChromatogramIdentifier);
        ar << TotalHeight << static_cast<std::int32_t>(PeakCount) << TotalArea << DataFile << ExtraValue << SampleName
           << Comment;
        RICalibration.Serialize(ar);
        ar.WriteInt32(static_cast<std::int32_t>(Peaks.size()));
        for (const auto& p : Peaks)
            p->Serialize(ar);
        return;
    }
    const std::size_t records = ReadHeader(ar);
    Peaks.clear();
    Peaks.reserve(records);
    for (std::size_t i = 0; i < records; ++i) {
        auto peak = std::make_unique<CLibraryChromatogramPeakData>();
        peak->Serialize(ar);
        peak->PeakNumber = static_cast<int>(i + 1);
        Peaks.push_back(std::move(peak));
    }
}

std::size_t CLibraryChromatogramData::ReadHeader(CArchive& ar)
{
    const std::uint32_t version = ar.ReadClassHeader(kChromatogramIdentifier, kChromatogramMinVersion);
    std::int32_t peakCount = 0;
    ar >> TotalHeight >> peakCount >> TotalArea >> DataFile >> ExtraValue >> SampleName >> Comment;
    PeakCount = peakCount;
    if (version >= kRITableVersion)
        RICalibration.Serialize(ar);
    // The number of records decides how many peaks follow; PeakCount keeps the stored value.
    return ar.ReadItemCount(kMinPeakRecordBytes);
}

// ---- CLibraryChromatogram -------------------------------------------------------------------------------------

CLibraryChromatogram::CLibraryChromatogram(const CLibraryChromatogram& other) : CLibraryChromatogramData()
{
    CopyFrom(other);
}

void CLibraryChromatogram::Serialize(CArchive& ar)
{
    CLibraryChromatogramData::Serialize(ar);
    if (ar.IsStoring()) {
        ar << LargestHeight << SourcePath;
        return;
    }
    ReadTail(ar);
}

void CLibraryChromatogram::ReadTail(CArchive& ar)
{
    // The tail is optional: entries written without it end right after the stored record.
    LargestHeight = 0;
    try {
        ar.ReadDouble(); // the cached value is not trusted; it is recomputed on demand
        std::string path = ar.ReadString();
        if (!ar.IsFromFile())
            SourcePath = std::move(path);
    } catch (const CArchiveException&) {
    }
    if (ar.IsFromFile())
        SourcePath = ar.GetPath();
}

void CLibraryChromatogram::CopyFrom(const CLibraryChromatogram& other)
{
    if (this == &other) {
        CLibraryChromatogram copy(other);
        *this = std::move(copy);
        return;
    }
    // Member-wise, with the entry format's meaning: what a store and a load would carry over, and nothing else.
    // The new peak list is built before anything of this is replaced, so a failed allocation leaves this as it was.
    std::vector<std::unique_ptr<CLibraryChromatogramPeakData>> peaks;
    peaks.reserve(other.Peaks.size());
    for (const auto& source : other.Peaks) {
        if (!source)
            continue; // a missing peak has no record to copy
        auto peak = std::make_unique<CLibraryChromatogramPeakData>();
        peak->Area = source->Area;
        peak->Height = source->Height;
        peak->RT = source->RT;
        peak->StartRT = source->StartRT;
        peak->EndRT = source->EndRT;
        peak->RI = source->RI;
        peak->Spectrum.CopyFrom(source->Spectrum);
        peak->PeakNumber = static_cast<int>(peaks.size() + 1);
        peaks.push_back(std::move(peak));
    }
    CLibraryRICalibrationData table(other.RICalibration);

    TotalHeight = other.TotalHeight;
    PeakCount = other.PeakCount;
    TotalArea = other.TotalArea;
    DataFile = other.DataFile;
    ExtraValue = other.ExtraValue;
    SampleName = other.SampleName;
    Comment = other.Comment;
    RICalibration = std::move(table);
    Peaks = std::move(peaks);
    LargestHeight = 0; // the cached value is never carried over; it is recomputed on demand
    SourcePath = other.SourcePath;
}

std::vector<std::uint8_t> CLibraryChromatogram::StoreToBytes() const
{
    CArchive ar;
    const_cast<CLibraryChromatogram*>(this)->Serialize(ar);
    return ar.TakeBytes();
}

void CLibraryChromatogram::LoadFromBytes(std::span<const std::uint8_t> bytes, const std::string& path, bool fromFile)
{
    Clear();
    CArchive ar(bytes, path, fromFile);
    Serialize(ar);
}

void CLibraryChromatogram::ReadEntry(const std::string& path)
{
    Clear();
    CFileBuffer& buffer = ThreadFileBuffer();
    const CFileBuffer::TrimAfterUse trim{buffer};
    LoadFromBytes(ReadWholeFile(path, buffer), path, true);
}

void CLibraryChromatogram::ReadEntryPeakByPeak(const std::string& path, const PeakRecordVisitor& onPeak)
{
    Clear();
    CFileBuffer& buffer = ThreadFileBuffer();
    const CFileBuffer::TrimAfterUse trim{buffer};
    CArchive ar(ReadWholeFile(path, buffer), path, true);
    const std::size_t records = ReadHeader(ar);
    CLibraryChromatogramPeakData peak;
    for (std::size_t i = 0; i < records; ++i) {
        peak.ReadFieldsAtOnce(ar);
        const std::span<const std::uint8_t> lines = CLibraryMassSpectrumData::ReadLineBytesAtOnce(ar);
        peak.PeakNumber = static_cast<int>(i + 1);
        onPeak(peak, lines);
    }
    ReadTail(ar);
}

bool CLibraryChromatogram::LoadEntry(const std::string& path) noexcept
{
    try {
        ReadEntry(path);
        return true;
    } catch (const std::exception&) {
        // CEngineException for the documented errors, std::bad_alloc when memory runs out.
        return false;
    }
}

namespace {

// Whether name is a temporary file of SaveEntry for the entry named base: base + "." + 16 hex digits + ".tmp".
bool IsEntryTemporaryName(const std::string& name, const std::string& base)
{
    if (name.size() != base.size() + 21 || name.compare(0, base.size(), base) != 0 || name[base.size()] != '.' ||
        name.compare(name.size() - 4, 4, ".tmp") != 0)
        return false;
    for (std::size_t i = base.size() + 1; i < base.size() + 17; ++i)
        if (!std::isxdigit(static_cast<unsigned char>(name[i])))
            return false;
    return true;
}

// Removes the temporary files a killed earlier write of this entry left behind. A writer holds a lock on its
// temporary file while it writes, so a file whose lock can be taken belongs to no running writer.
void RemoveStaleTemporaryFiles(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent* item = ::readdir(dir)) {
        const std::string name = item->d_name;
        if (!IsEntryTemporaryName(name, base))
            continue;
        const std::string stale = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + name;
        const int fd = ::open(stale.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(stale.c_str());
        ::close(fd);
    }
    ::closedir(dir);
}

} // namespace

void CLibraryChromatogram::SaveEntry(const std::string& path) const
{
    const std::vector<std::uint8_t> bytes = StoreToBytes();
    RemoveStaleTemporaryFiles(path);

    // A temporary file beside the target, renamed over it once complete, so an existing entry is never left
    // half-written.
    static thread_local std::mt19937_64 random{std::random_device{}()};
    std::string temp;
    FileDescriptor file;
    for (int attempt = 0; attempt < 100 && file.fd < 0; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%016llx.tmp", static_cast<unsigned long long>(random()));
        temp = path + suffix;
        file.fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (file.fd < 0 && errno != EEXIST)
            ThrowFileError(path, errno, "cannot create file");
    }
    if (file.fd < 0)
        ThrowFileError(path, EEXIST, "cannot create file");
    // Held until the file is closed: marks it as being written (see RemoveStaleTemporaryFiles). A signal that
    // ends the program meanwhile removes it.
    ::flock(file.fd, LOCK_EX | LOCK_NB);
    const CPendingTemporaryFile pending(temp);

    auto fail = [&](int err, const char* what) {
        ::close(file.fd);
        file.fd = -1;
        ::unlink(temp.c_str());
        ThrowFileError(path, err, what);
    };
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(file.fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(errno, "cannot write file");
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(file.fd) != 0)
        fail(errno, "cannot write file");
    const int fd = file.fd;
    file.fd = -1;
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        ThrowFileError(path, err, "cannot write file");
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        ThrowFileError(path, err, "cannot write file");
    }
}

double CLibraryChromatogram::GetLargestHeight(bool force)
{
    if (LargestHeight == 0 || force)
        LargestHeight = ComputeLargestHeight();
    return LargestHeight;
}

void CLibraryChromatogram::SortPeaksByRT()
{
    const std::size_t n = Peaks.size();
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = n - 1; j > i; --j)
            if (Peaks[j]->RT < Peaks[i]->RT)
                std::swap(Peaks[i], Peaks[j]);
}

void CLibraryChromatogram::Recalibrate(const CLibraryRICalibrationData& table)
{
    RICalibration.CopyFrom(table);
    for (auto& p : Peaks)
        p->RI = RICalibration.ComputeRI(p->RT);
}

void CLibraryChromatogram::NumberPeaks() noexcept
{
    for (std::size_t i = 0; i < Peaks.size(); ++i)
        Peaks[i]->PeakNumber = static_cast<int>(i + 1);
}

} // namespace corvelin
