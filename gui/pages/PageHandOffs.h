#pragma once
// What the library search page hands to other pages of the main window. A page that takes a hand-off
// implements the matching interface; the library search page finds it through the main window.
#include <string>

namespace corvelin {

// The chromatogram match page: show the match of two files; false when the user refused.
class IMatchTarget {
public:
    virtual ~IMatchTarget() = default;
    virtual bool ShowMatch(const std::string& thisPath, const std::string& otherPath) = 0;
};

// The match matrix page: take both paths and build the matrix at once.
class IMatrixTarget {
public:
    virtual ~IMatrixTarget() = default;
    virtual void SetPathsAndBuild(const std::string& thisPath, const std::string& otherPath) = 0;
};

// The peak match table page: take both paths and build the table at once.
class IPeakTableTarget {
public:
    virtual ~IPeakTableTarget() = default;
    virtual void SetPathsAndBuild(const std::string& thisPath, const std::string& otherPath) = 0;
};

// The overlay plot page: add a file to its list.
class IOverlayTarget {
public:
    virtual ~IOverlayTarget() = default;
    virtual void AddOverlayFile(const std::string& path) = 0;
};

} // namespace corvelin
