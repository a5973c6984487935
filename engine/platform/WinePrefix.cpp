#include "engine/platform/WinePrefix.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace corvelin {

namespace {

char LowerLetter(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

std::string Canonical(const fs::path& path)
{
    std::error_code ec;
    const fs::path resolved = fs::weakly_canonical(path, ec);
    return ec ? path.lexically_normal().string() : resolved.string();
}

} // namespace

CWinePrefix::CWinePrefix()
{
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix) {
        m_folder = prefix;
        return;
    }
    std::string home;
    if (const char* h = std::getenv("HOME"); h && *h)
        home = h;
    else if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_dir)
        home = pw->pw_dir;
    m_folder = home + "/.wine";
}

CWinePrefix::CWinePrefix(std::string folder) : m_folder(std::move(folder)) {}

std::string CWinePrefix::WinIniPath() const
{
    return m_folder + "/drive_c/windows/win.ini";
}

std::string CWinePrefix::DriveTarget(char letter) const
{
    const fs::path link = fs::path(m_folder) / "dosdevices" / (std::string(1, LowerLetter(letter)) + ":");
    std::error_code ec;
    if (fs::exists(link, ec))
        return Canonical(link);
    if (LowerLetter(letter) == 'c')
        return Canonical(fs::path(m_folder) / "drive_c");
    return {};
}

std::string CWinePrefix::ToUnixPath(const std::string& windowsPath) const
{
    std::string rest = windowsPath;
    std::string root;
    const bool drive =
        windowsPath.size() >= 2 && windowsPath[1] == ':' &&
        ((windowsPath[0] >= 'A' && windowsPath[0] <= 'Z') || (windowsPath[0] >= 'a' && windowsPath[0] <= 'z'));
    if (drive) {
        root = DriveTarget(windowsPath[0]);
        rest = windowsPath.substr(2);
    }
    for (char& c : rest)
        if (c == '\\')
            c = '/';
    if (!drive)
        return rest;
    if (root.empty())
        root = m_folder + "/dosdevices/" + std::string(1, LowerLetter(windowsPath[0])) + ":";
    while (!root.empty() && root.back() == '/')
        root.pop_back();
    if (!rest.empty() && rest.front() != '/')
        rest.insert(rest.begin(), '/');
    return root + rest;
}

std::string CWinePrefix::ToWindowsPath(const std::string& unixPath) const
{
    const std::string path = Canonical(fs::path(unixPath));
    std::string best;
    char bestLetter = 0;
    std::error_code ec;
    const fs::path devices = fs::path(m_folder) / "dosdevices";
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        const fs::path link = devices / (std::string(1, letter) + ":");
        if (!fs::exists(link, ec))
            continue;
        std::string target = Canonical(link);
        while (target.size() > 1 && target.back() == '/')
            target.pop_back();
        const bool under =
            target == "/" ? !path.empty() && path.front() == '/' : path == target || path.rfind(target + "/", 0) == 0;
        if (under && (bestLetter == 0 || target.size() > best.size())) {
            best = target;
            bestLetter = letter;
        }
    }
    if (bestLetter == 0)
        return unixPath;
    std::string rest = best == "/" ? path.substr(1) : path.substr(best.size());
    if (!rest.empty() && rest.front() == '/')
        rest.erase(rest.begin());
    for (char& c : rest)
        if (c == '/')
            c = '\\';
    return std::string(1, static_cast<char>(bestLetter - 32)) + ":\\" + rest;
}

} // namespace corvelin
