#include "gui/widgets/HtmlPictures.h"

#include <utility>

namespace corvelin {

unsigned long CHtmlPictures::Add(QImage image)
{
    const unsigned long handle = m_next++;
    m_images.emplace(handle, std::move(image));
    return handle;
}

const QImage* CHtmlPictures::Find(unsigned long handle) const
{
    const auto found = m_images.find(handle);
    return found == m_images.end() ? nullptr : &found->second;
}

void CHtmlPictures::Remove(unsigned long handle)
{
    m_images.erase(handle);
}

void CHtmlPictures::Clear()
{
    m_images.clear();
}

} // namespace corvelin
