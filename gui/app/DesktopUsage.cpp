#include "gui/app/DesktopUsage.h"

namespace corvelin {

const char* DesktopUsage() noexcept
{
    return "usage: corvelinscope [file] [options]\n"
           "       corvelinscope /Search=<unknown> [/Library=<folder>] [options] [/Save] [/Print]\n"
           "       corvelinscope /Convert=<data file> [/MinArea=<percent>] [/Params=<file.spf>]\n"
           "\n"
           "GC-MS chromatogram library search. Without options the main window opens; /Search= and /Convert= run\n"
           "unattended and close the program when done. Keywords ignore case; options apply in order.\n"
           "  <file>             a file without a keyword: a search parameter file (.spf) is loaded, any other\n"
           "                     file is shown on the \"Add Chromatogram\" page (\"just display\")\n"
           "  /Search=<file>     search the library with this unknown chromatogram, then save the CSV report\n"
           "                     next to it (and print with /Print) and close\n"
           "  /Library=<folder>  library folder (default: the last one of the library search page)\n"
           "  /Convert=<file>    convert a data file into a library entry beside it and close\n"
           "  /Params=<file>     load a search parameter file at this position\n"
           "  /MinArea=<real>    area threshold (%) on; minimum peak area of a conversion given after /Convert=\n"
           "  /SWnd=<real>       RT window width        /RIWnd=<real>    RI window width\n"
           "  /MS= /RT= /RI= /Area= /Height= /Absolute= /Multi=<0|1>   matching switches\n"
           "  /RTRange=<text>    RT search range (\"*\" or \"2-5;7-9\")\n"
           "  /Weight=<0..4>     weighting: none, Area, Height, log(Area), log(Height)\n"
           "  /Save              save the CSV report after a /Search= run\n"
           "  /Print             print the hit list after a /Search= run (asks before closing unless /Save)\n"
           "  /Debug             show every argument as it is parsed\n"
           "  --help             this text\n"
           "The manual: F1 in the program, or <prefix>/share/corvelinscope/manual/index.html.\n";
}

} // namespace corvelin
