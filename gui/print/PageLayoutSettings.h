#pragma once
// The print page layout of the per-user settings section "PageLayout": borders in millimetres, the base font
// and whether reports print the search options block.
#include <string>

namespace corvelin {

struct CPageLayoutSettings {
    int BorderLeft = 15;
    int BorderTop = 20;
    int BorderRight = 20;
    int BorderBottom = 20;
    int BaseFontSize = 10; // points
    std::string FontName = "Arial";
    int PrintSearchOptions = 1;

    static CPageLayoutSettings Load();
};

} // namespace corvelin
