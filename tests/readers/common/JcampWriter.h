#pragma once
// Writes synthetic runs as JCAMP-DX GC/MS text in the dialects real exporters use.
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "tests/readers/common/SyntheticRun.h"

namespace corvelin {

namespace synthetic {

// The JCAMP-DX GC/MS dialects real exporters write.
enum class Dialect {
    PagesAndRetentionTime, // ##SCAN_NUMBER, ##PAGE= T=, ##RETENTION_TIME (seconds), ##XYDATA= (XY..XY), one pair a
                           // line; header ##FIRST/##LAST in minutes
    RetentionTimeOnly,     // ##SCAN_NUMBER, ##RETENTION_TIME, masses in descending order
    NtuplesSeconds,        // ##NTUPLES with ##UNITS= ..., SECONDS; ##DATA TABLE= (XY..XY), PEAKS, pairs several a line
    NtuplesMinutes,        // the same with the time unit MINUTES
};

inline std::string Number(double v)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.6g", v);
    return buf;
}

inline std::string WriteJcamp(const std::vector<Scan>& scans, Dialect dialect)
{
    std::ostringstream out;
    const bool ntuples = dialect == Dialect::NtuplesSeconds || dialect == Dialect::NtuplesMinutes;
    const double toFileUnit = dialect == Dialect::NtuplesMinutes ? 1.0 / 60 : 1.0;
    out << "##TITLE= test mix\n##JCAMP-DX= 5.00 $$ synthetic\n##DATA TYPE= MASS SPECTRUM\n";
    out << "##DESCRIPTION= 10 ng per component\n";
    if (ntuples) {
        out << "##DATA CLASS= NTUPLES\n##NTUPLES= MASS SPECTRUM\n##VAR_NAME= MASS, INTENSITY, RETENTION TIME\n";
        out << "##SYMBOL= X, Y, T\n##UNITS= M/Z, RELATIVE ABUNDANCE, "
            << (dialect == Dialect::NtuplesMinutes ? "MINUTES" : "SECONDS") << "\n";
    } else {
        // Header range in minutes while the pages are in seconds, as real exports have it.
        out << "##FIRST= , , " << Number(scans.front().Seconds / 60) << "\n##LAST= , , "
            << Number(scans.back().Seconds / 60) << "\n";
    }
    int number = 0;
    for (const Scan& s : scans) {
        const std::string t = Number(s.Seconds * toFileUnit);
        if (!ntuples)
            out << "##SCAN_NUMBER= " << ++number << "\n";
        if (dialect != Dialect::RetentionTimeOnly)
            out << "##PAGE= T=" << t << "\n";
        if (!ntuples)
            out << "##RETENTION_TIME= " << t << "\n";
        out << "##NPOINTS= " << s.Lines.size() << "\n";
        if (ntuples) {
            out << "##DATA TABLE= (XY..XY), PEAKS\n";
            for (std::size_t k = 0; k < s.Lines.size(); ++k)
                out << Number(s.Lines[k].first) << ", " << Number(s.Lines[k].second) << (k % 4 == 3 ? "\n" : "; ");
            out << "\n";
        } else {
            out << "##XYDATA= (XY..XY)\n";
            if (dialect == Dialect::RetentionTimeOnly)
                for (auto it = s.Lines.rbegin(); it != s.Lines.rend(); ++it)
                    out << " " << Number(it->first) << ", " << Number(it->second) << "\n";
            else
                for (const auto& [m, v] : s.Lines)
                    out << " " << Number(m) << ", " << Number(v) << "\n";
        }
    }
    if (ntuples)
        out << "##END NTUPLES= MASS SPECTRUM\n##END=\n";
    return out.str();
}

} // namespace synthetic

} // namespace corvelin
