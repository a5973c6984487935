// corvelinscope-make-library: writes a synthetic library of EI-like chromatograms (and optionally an unknown
// that replicates one entry) as library entry files, for benchmarks, demonstrations and tests.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "bench/SyntheticLibrary.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"
#include "engine/options/SearchParameterFile.h"

using namespace corvelin;

namespace {

int Usage()
{
    std::fputs("usage: corvelinscope-make-library <folder> [--entries N] [--peaks P] [--lines L] [--subfolders S]\n"
               "                                  [--seed X] [--unknown <file.ChromLibEntry> [--of I]]\n"
               "                                  [--params <file.spf>]\n"
               "Writes N entries of P peaks with L-line spectra into <folder> (and S subfolders sub1 ... subS);\n"
               "--unknown writes a noisy replicate of entry I (default 0) as the unknown; --params writes search\n"
               "parameters for it (MS, RT and RI matching, subfolders searched).\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argv[1][0] == '-')
        return Usage();
    CSyntheticLibraryShape shape;
    shape.Entries = 100;
    shape.Peaks = 50;
    std::string unknown;
    std::string params;
    int of = 0;
    for (int i = 2; i < argc; i += 2) {
        if (i + 1 >= argc)
            return Usage();
        const std::string option = argv[i];
        const char* value = argv[i + 1];
        if (option == "--entries")
            shape.Entries = std::atoi(value);
        else if (option == "--peaks")
            shape.Peaks = std::atoi(value);
        else if (option == "--lines")
            shape.Lines = std::atoi(value);
        else if (option == "--subfolders")
            shape.Subfolders = std::atoi(value);
        else if (option == "--seed")
            shape.Seed = std::strtoull(value, nullptr, 10);
        else if (option == "--unknown")
            unknown = value;
        else if (option == "--params")
            params = value;
        else if (option == "--of")
            of = std::atoi(value);
        else
            return Usage();
    }
    if (shape.Entries < 1 || shape.Peaks < 1 || shape.Lines < 1 || of < 0 || of >= shape.Entries)
        return Usage();
    try {
        const CSyntheticLibrary library(shape);
        const std::vector<std::string> paths = library.WriteLibrary(argv[1]);
        if (!unknown.empty()) {
            // Which entry the unknown replicates, as the hit list's "File" cell names it, in "replicates.txt"
            // beside the unknown: the top hit of a search should be that entry.
            std::string cell = paths.at(static_cast<std::size_t>(of)).substr(std::string(argv[1]).size() + 1);
            if (cell.find('/') != std::string::npos)
                cell = "./" + cell;
            const std::size_t slash = unknown.rfind('/');
            const std::string note =
                (slash == std::string::npos ? std::string() : unknown.substr(0, slash + 1)) + "replicates.txt";
            if (FILE* f = std::fopen(note.c_str(), "w")) {
                std::fprintf(f, "%s\n", cell.c_str());
                std::fclose(f);
            }
            auto c = library.MakeReplicate(of, shape.Seed + 1000003);
            c->SampleName = "Unknown (replicate of entry" + std::to_string(of) + ")";
            c->Comment = "synthetic unknown";
            c->DataFile = "unknown.raw";
            c->SaveEntry(unknown);
        }
        if (!params.empty()) {
            CSearchOptions options;
            options.MSMatching = 1;
            options.RTMatching = 1;
            options.RIMatching = 1;
            options.RTWindowWidth = 0.1;
            options.SearchSubfolders = 1;
            if (!WriteParameterFile(options, params)) {
                std::fprintf(stderr, "corvelinscope-make-library: could not write %s\n", params.c_str());
                return 1;
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "corvelinscope-make-library: %s\n", e.what());
        return 1;
    }
    std::printf("wrote %d entries of %d peaks to %s%s%s\n", shape.Entries, shape.Peaks, argv[1],
                unknown.empty() ? "" : " and the unknown ", unknown.c_str());
    return 0;
}
