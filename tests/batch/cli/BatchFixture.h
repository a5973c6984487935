#pragma once
// Runs corvelinscope-batch from a private program folder: a copy of the executable in <tmp>/bin with
// <tmp>/lib pointing at the build's libraries, a settings.ini of its own registering the library-entry reader
// and the test-only "Fake GC-MS" reader (".ms", ".hpt", ".elu", ".raw"), and a registry folder and home of its own.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"

namespace corvelin {

class CLibraryChromatogram;
class CSearchOptions;

struct BatchRun {
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

class BatchFixture : public ::testing::Test {
protected:
    void SetUp() override;

    // Runs the program with these arguments (the program path is added as argument 0).
    BatchRun Run(const std::vector<std::string>& args) const;
    // The same, sending SIGINT as soon as the program has installed its handler (it does so when a search
    // starts). Signaled is set when the program was killed by a signal instead of ending itself.
    BatchRun RunInterrupted(const std::vector<std::string>& args, bool& signaled) const;
    // The same, sending SIGINT once the program's stdout holds `output` (the hit table is printed after the
    // search and before the report is written).
    BatchRun RunInterruptedAfterOutput(const std::vector<std::string>& args, const std::string& output,
                                       bool& signaled) const;
    // The same with the program's stdout opened on this path (e.g. "/dev/full").
    BatchRun RunWithStdout(const std::vector<std::string>& args, const std::string& stdoutPath) const;
    // Writes a per-user integer into the program's settings (e.g. "LibrarySearch" / "MaxPeaks").
    void WriteUserInt(const char* section, const char* name, int value) const;
    void WriteMachineInt(const char* section, const char* name, int value) const;
    // Registers one more reader module in the program's settings (after the fixture's own).
    void RegisterReader(const std::string& key, const std::string& name, const std::string& module,
                        const std::string& extension) const;

    // A path inside the test's data folder (created on demand).
    std::string Data(const std::string& relative) const;
    // The one ".csv" file in folder (fails the test when there is not exactly one).
    std::string OnlyCsvIn(const std::string& folder) const;

    TempDir m_dir;
    std::string m_programFolder;

private:
    BatchRun Launch(const std::vector<std::string>& args, bool interrupt, bool& signaled,
                    const std::string& interruptAfterOutput = {}, const std::string& stdoutPath = {}) const;

protected:
    std::string m_settings;
};

// A small chromatogram: peaks at the given RTs (minutes) with areas, each with a 5-line spectrum derived from
// its index, RI values from a linear scale and an RI table of three points.
std::unique_ptr<CLibraryChromatogram> MakeTestChromatogram(const std::string& sampleName,
                                                           const std::vector<std::pair<double, double>>& peaks);

} // namespace corvelin
