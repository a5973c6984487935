#pragma once
// The pictures that tool-tip texts embed as "<bmp handle=%lu ...>": a text names a picture by a handle from
// this registry, never by an address, so a stale or forged handle can only miss.
#include <QImage>
#include <cstdint>
#include <unordered_map>

namespace corvelin {

class CHtmlPictures {
public:
    // Registers image and returns its handle (never 0; 0 is the handle of "no picture").
    unsigned long Add(QImage image);
    // The picture of handle, or nullptr when the handle is 0, unknown or removed.
    const QImage* Find(unsigned long handle) const;
    void Remove(unsigned long handle);
    void Clear();
    std::size_t Count() const noexcept { return m_images.size(); }

private:
    std::unordered_map<unsigned long, QImage> m_images;
    unsigned long m_next = 1;
};

} // namespace corvelin
