#include "gui/plots/SpectrumThumbnails.h"

#include <QImage>
#include <QPainter>

#include "engine/core/LibraryMassSpectrum.h"
#include "gui/plots/SpectrumDraw.h"
#include "gui/widgets/HtmlPictures.h"

namespace corvelin {

CSpectrumThumbnails::CSpectrumThumbnails(CHtmlPictures& pictures, QSize size) : m_pictures(pictures), m_size(size) {}

CSpectrumThumbnails::~CSpectrumThumbnails()
{
    Clear();
}

unsigned long CSpectrumThumbnails::Handle(std::uint64_t key, const CLibraryMassSpectrumData* spectrum,
                                          const std::string& label)
{
    if (spectrum == nullptr)
        return 0;
    const auto found = m_handles.find(key);
    if (found != m_handles.end() && m_pictures.Find(found->second) != nullptr)
        return found->second;
    QImage image(m_size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        CSpectrumDraw::Draw(painter, spectrum, 0, 0, label, QRect(QPoint(0, 0), m_size));
    }
    const unsigned long handle = m_pictures.Add(std::move(image));
    m_handles[key] = handle;
    return handle;
}

void CSpectrumThumbnails::Clear()
{
    for (const auto& [key, handle] : m_handles)
        m_pictures.Remove(handle);
    m_handles.clear();
}

} // namespace corvelin
