#include "readers/andi-netcdf/NetcdfHeaderCheck.h"

#include <cerrno>
#include <cstdint>

#include "readers/peak-detector/RunReadError.h"

namespace corvelin {

namespace {

constexpr std::uint32_t kDimensionTag = 0x0A;
constexpr std::uint32_t kVariableTag = 0x0B;
constexpr std::uint32_t kAttributeTag = 0x0C;

class HeaderWalker {
public:
    HeaderWalker(const unsigned char* data, std::size_t size, const std::string& name)
        : m_data(data), m_size(size), m_name(name)
    {
    }

    void Walk()
    {
        if (m_size < 8 || m_data[0] != 'C' || m_data[1] != 'D' || m_data[2] != 'F' ||
            (m_data[3] != 1 && m_data[3] != 2))
            Fail("does not start with a netCDF classic header");
        m_offsetSize = m_data[3] == 2 ? 8 : 4;
        m_pos = 4;
        Word(); // number of records (or the streaming mark)
        const std::uint32_t dims = List(kDimensionTag, 8);
        for (std::uint32_t i = 0; i < dims; ++i) {
            Name();
            Word(); // length
        }
        Attributes();
        const std::uint32_t vars = List(kVariableTag, 24);
        for (std::uint32_t i = 0; i < vars; ++i) {
            Name();
            const std::uint32_t rank = Count(4);
            for (std::uint32_t d = 0; d < rank; ++d)
                if (Word() >= dims)
                    Fail("names a dimension that does not exist");
            Attributes();
            TypeSize(Word());
            Word(); // vsize
            Skip(m_offsetSize);
        }
    }

private:
    [[noreturn]] void Fail(const char* why) const
    {
        throw CRunReadError(EBADMSG, "'" + m_name + "' is a damaged netCDF file: its header " + why + ".");
    }

    std::size_t Remaining() const { return m_size - m_pos; }

    void Skip(std::size_t n)
    {
        if (n > Remaining())
            Fail("runs past the end of the file");
        m_pos += n;
    }

    std::uint32_t Word()
    {
        if (Remaining() < 4)
            Fail("runs past the end of the file");
        const unsigned char* p = m_data + m_pos;
        m_pos += 4;
        return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
    }

    // A count of elements each taking at least minBytes; refused when the rest of the file cannot hold them.
    std::uint32_t Count(std::size_t minBytes)
    {
        const std::uint32_t n = Word();
        if (n > Remaining() / minBytes)
            Fail("counts more elements than the file holds");
        return n;
    }

    // A tagged list (ABSENT = two zero words); returns its number of elements.
    std::uint32_t List(std::uint32_t tag, std::size_t minElementBytes)
    {
        const std::uint32_t t = Word();
        if (t == 0) {
            if (Word() != 0)
                Fail("has an absent list with elements");
            return 0;
        }
        if (t != tag)
            Fail("has an unknown list tag");
        return Count(minElementBytes);
    }

    static std::size_t Padded(std::size_t n) { return (n + 3) / 4 * 4; }

    void Name()
    {
        const std::uint32_t length = Count(1);
        Skip(Padded(length));
    }

    std::size_t TypeSize(std::uint32_t type) const
    {
        switch (type) {
        case 1: // byte
        case 2: // char
            return 1;
        case 3: // short
            return 2;
        case 4: // int
        case 5: // float
            return 4;
        case 6: // double
            return 8;
        default:
            Fail("has a value of an unknown type");
        }
    }

    void Attributes()
    {
        const std::uint32_t attrs = List(kAttributeTag, 12);
        for (std::uint32_t i = 0; i < attrs; ++i) {
            Name();
            const std::size_t size = TypeSize(Word());
            const std::uint32_t n = Count(size);
            Skip(Padded(static_cast<std::size_t>(n) * size));
        }
    }

    const unsigned char* m_data;
    std::size_t m_size;
    const std::string& m_name;
    std::size_t m_pos = 0;
    std::size_t m_offsetSize = 4;
};

} // namespace

void CheckNetcdfClassicHeader(const unsigned char* data, std::size_t size, const std::string& name)
{
    HeaderWalker(data, size, name).Walk();
}

} // namespace corvelin
