// The plug-in exports turn a reader's refusal into a code and a text by catching the engine's CFormatException:
// each reader's own error type must arrive there with its errno-style code and, for text formats, its line.
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <string>

#include "engine/core/Exceptions.h"
#include "engine/core/LibraryChromatogram.h"
#include "readers/amdis-elu/AmdisFiles.h"
#include "readers/amdis-elu/EluParser.h"
#include "readers/jcamp-gcms/JcampRunReader.h"
#include "readers/msp/MspParser.h"
#include "tests/support/TempDir.h"

using namespace corvelin;

namespace {

struct Refusal {
    const char* reader;
    std::function<void()> parse;
    int code;
    std::size_t line; // 0: the format has no line to name
};

void PrintTo(const Refusal& r, std::ostream* os)
{
    *os << r.reader;
}

class ReaderRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(ReaderRefusal, IsAnEngineFormatErrorWithCodeAndLine)
{
    try {
        GetParam().parse();
        FAIL() << "accepted";
    } catch (const CFormatException& e) {
        EXPECT_EQ(e.Code(), GetParam().code) << e.what();
        EXPECT_EQ(e.Line(), GetParam().line) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Readers, ReaderRefusal,
    ::testing::Values(Refusal{"MSP", [] { ParseMsp("Name: A\nNum Peaks: 1\n50 10\n51 20\n"); }, EINVAL, 4},
                      Refusal{"ELU", [] { amdis::ParseElu("NAME: |SC1|RT1.0\nNUM PEAKS: 3\n(50,999 )(51,10 )"); },
                              EINVAL, 2},
                      Refusal{"AmdisFile",
                              [] {
                                  TempDir dir;
                                  WriteAllText(dir.File("RUN.ELU"), "not an ELU file\n");
                                  CLibraryChromatogram c;
                                  amdis::ReadEluFile(dir.File("RUN.ELU"), amdis::EluReadOptions(), c);
                              },
                              EINVAL, 0},
                      Refusal{"JCAMP", [] { ParseJcampRun("PK\x03\x04 garbage\nmore\n", "F.JDX"); }, EMEDIUMTYPE, 0}),
    [](const auto& info) { return std::string(info.param.reader); });

} // namespace
