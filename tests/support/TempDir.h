#pragma once
// A fresh temporary folder for one test, removed with everything in it when the object goes away.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace corvelin {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const noexcept { return m_path; }
    // Path of a file name inside the folder, as text.
    std::string File(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

// Whole-file helpers for tests.
std::vector<std::uint8_t> ReadAllBytes(const std::string& path);
std::string ReadAllText(const std::string& path);
void WriteAllBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
void WriteAllText(const std::string& path, const std::string& text);

} // namespace corvelin
