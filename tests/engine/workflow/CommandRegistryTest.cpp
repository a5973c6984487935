// The command registry: the keywords each program accepts agree with its --help and its man page; the command
// line becomes one typed request; a job that throws ends as an internal error (exit 8) that says so.
#include <gtest/gtest.h>

#include <fstream>
#include <new>
#include <regex>
#include <set>
#include <sstream>
#include <stdexcept>

#include "engine/options/SearchOptions.h"
#include "engine/workflow/CommandLine.h"
#include "engine/workflow/commands/CommandKeyword.h"
#include "engine/workflow/commands/CommandRequest.h"
#include "engine/workflow/commands/CommandRun.h"
#include "tests/support/RecordingMessageSink.h"

using namespace corvelin;

namespace {

// Switches as the man page check reads them: "/" + a capital + letters (+ "=") at the start of a word.
std::set<std::string> Switches(std::string text)
{
    text = std::regex_replace(text, std::regex(R"(\\f[BIRP])"), "");
    text = std::regex_replace(text, std::regex(R"(\\-)"), "-");
    std::set<std::string> found;
    const std::regex pattern(R"((^|[ \t\r\n(,|\[])(/[A-Z][A-Za-z]*=?))");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern); it != std::sregex_iterator(); ++it)
        found.insert((*it)[2]);
    return found;
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

struct ProgramCase {
    CommandProgram Program;
    const char* ManPage;
};

class RegistryDocuments : public ::testing::TestWithParam<ProgramCase> {};

TEST_P(RegistryDocuments, HelpAndManPageListTheKeywordsTheProgramAccepts)
{
    std::set<std::string> accepted;
    for (const CCommandKeyword& keyword : CommandKeywords())
        if (keyword.AcceptedBy(GetParam().Program))
            accepted.insert(keyword.Name);
    const std::string page = ReadText(std::string(CORVELIN_MAN_DIR) + "/" + GetParam().ManPage);
    ASSERT_FALSE(page.empty()) << GetParam().ManPage;
    EXPECT_EQ(Switches(UsageText(GetParam().Program)), accepted);
    EXPECT_EQ(Switches(page), accepted) << GetParam().ManPage;
}

INSTANTIATE_TEST_SUITE_P(Programs, RegistryDocuments,
                         ::testing::Values(ProgramCase{kBatchProgram, "corvelinscope-batch.1"},
                                           ProgramCase{kDesktopProgram, "corvelinscope.1"}));

CCommandLine Parse(std::vector<std::string> args, CSearchOptions& options, CommandProgram program)
{
    args.insert(args.begin(), "corvelinscope-batch");
    return ParseCommandLine(args, options, {}, program);
}

TEST(CommandRegistry, TheDesktopProgramRefusesTheBatchProgramsCommands)
{
    CSearchOptions options;
    const std::vector<std::string> args = {"/MatchMatrix=a", "/MatrixOther=b", "/MatrixCsv=c",
                                           "/Display=d",     "/Threads=2",     "/Subfolders=1"};
    EXPECT_TRUE(Parse(args, options, kBatchProgram).Refused.empty());
    EXPECT_EQ(Parse(args, options, kDesktopProgram).Refused,
              (std::vector<std::string>{"/MatchMatrix=a: unknown argument", "/MatrixOther=b: unknown argument",
                                        "/MatrixCsv=c: unknown argument", "/Display=d: unknown argument"}));
}

struct RequestCase {
    std::vector<std::string> Args;
    std::size_t Alternative; // index in CCommandRequest
};

class CommandRequests : public ::testing::TestWithParam<RequestCase> {};

TEST_P(CommandRequests, TheFirstCommandInTheFixedOrderRuns)
{
    CSearchOptions options;
    const CCommandLine line = Parse(GetParam().Args, options, kBatchProgram);
    EXPECT_EQ(MakeCommandRequest(line, options).index(), GetParam().Alternative);
}

INSTANTIATE_TEST_SUITE_P(
    Order, CommandRequests,
    ::testing::Values(RequestCase{{}, 0}, RequestCase{{"/Display="}, 0}, RequestCase{{"/Display=x", "/Save"}, 3},
                      RequestCase{{"/Display=x", "/MSReport=y"}, 5}, RequestCase{{"/MSReport="}, 5},
                      RequestCase{{"/MSReport=y", "/MatchMatrix=z"}, 7},
                      RequestCase{{"/MatchMatrix=z", "/PeakTable=p"}, 4},
                      RequestCase{{"/PeakTable=p", "/Convert=c"}, 2}, RequestCase{{"/Convert=c", "/Search=s"}, 2},
                      RequestCase{{"/Search=s", "/Convert=c"}, 1}, RequestCase{{"/Search=s", "/Summary=o"}, 6}));

TEST(CommandRequests, CarryTheirValuesLastOneWinning)
{
    CSearchOptions options;
    const CCommandLine line =
        Parse({"/MatchMatrix=a", "/MatchMatrix=\"b\"", "/matrixother=c\"", "/MatrixCsv=d", "/SWnd=0.25", "/Threads=3"},
              options, kBatchProgram);
    const auto request = std::get<CMatchMatrixRequest>(MakeCommandRequest(line, options));
    EXPECT_EQ(request.This, "\"b");
    EXPECT_EQ(request.Other, "c");
    EXPECT_EQ(request.Csv, "d");
    EXPECT_DOUBLE_EQ(request.Options.RTWindowWidth, 0.25);

    const CCommandLine summary =
        Parse({"/Summary=out.csv", "/SummaryOf=a", "/Threads=3", "/SummaryOf=dir/\""}, options, kBatchProgram);
    const auto sum = std::get<CSummaryRequest>(MakeCommandRequest(summary, options));
    EXPECT_EQ(sum.Output, "out.csv");
    EXPECT_EQ(sum.Inputs, (std::vector<std::string>{"a", "dir/"}));
    EXPECT_EQ(sum.Threads, 3);
}

// A sink whose output cannot be had: the job's writing fails as an exception would anywhere inside a job.
class ThrowingSink : public CJobSink {
public:
    explicit ThrowingSink(bool outOfMemory) : m_outOfMemory(outOfMemory) {}
    bool Output(const std::string&) override
    {
        if (m_outOfMemory)
            throw std::bad_alloc();
        throw std::logic_error("cell table smaller than the peak counts");
    }
    bool FlushOutput() override { return true; }
    void Note(const std::string& line) override { Notes.push_back(line); }
    std::vector<std::string> Notes;

private:
    bool m_outOfMemory;
};

TEST(CommandRun, AnExceptionEndsAsAnInternalErrorThatSaysWhatHappened)
{
    RecordingMessageSink messages; // the display's own message about the missing file
    for (const auto& [outOfMemory, said] :
         {std::pair{true, "corvelinscope-batch: out of memory; nothing more was done"},
          std::pair{false, "corvelinscope-batch: internal error: cell table smaller than the peak counts"}}) {
        ThrowingSink sink(outOfMemory);
        std::atomic<bool> running{true};
        const CJobOutcome outcome =
            corvelin::Run(CDisplayRequest{CSearchOptions(), "missing.ChromLibEntry", 0.0}, running, sink);
        EXPECT_EQ(outcome.ExitCode(), 8);
        EXPECT_EQ(outcome.Messages, std::vector<std::string>{said});
        EXPECT_EQ(sink.Notes, std::vector<std::string>{said});
    }
}

} // namespace
