#pragma once
// Spectrum thumbnails for hover texts: a picture of a peak's spectrum (drawn by CSpectrumDraw, automatic
// scales, the label in the corner) registered in a tool-tip's picture registry. A thumbnail is drawn when a
// text first asks for it and kept until Clear, so memory follows the peaks hovered, not the peaks shown.
#include <QSize>
#include <cstdint>
#include <string>
#include <unordered_map>

namespace corvelin {

class CHtmlPictures;
class CLibraryMassSpectrumData;

class CSpectrumThumbnails {
public:
    explicit CSpectrumThumbnails(CHtmlPictures& pictures, QSize size = QSize(150, 75));
    ~CSpectrumThumbnails();
    CSpectrumThumbnails(const CSpectrumThumbnails&) = delete;
    CSpectrumThumbnails& operator=(const CSpectrumThumbnails&) = delete;

    // The picture handle for key (the caller's name for a peak), drawn now when it is not cached; 0 when
    // spectrum is null ("no picture"). The spectrum is only read during the call.
    unsigned long Handle(std::uint64_t key, const CLibraryMassSpectrumData* spectrum, const std::string& label);
    // Releases every thumbnail (call when the peaks behind the keys change).
    void Clear();
    std::size_t Count() const noexcept { return m_handles.size(); }

    static std::uint64_t Key(int pane, int peakIndex)
    {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(pane)) << 32) |
               static_cast<std::uint32_t>(peakIndex);
    }

private:
    CHtmlPictures& m_pictures;
    QSize m_size;
    std::unordered_map<std::uint64_t, unsigned long> m_handles;
};

} // namespace corvelin
