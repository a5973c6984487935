#include "engine/views/MultiSummaryRun.h"

#include <algorithm>
#include <memory>

#include "engine/core/LibraryChromatogram.h"
#include "engine/platform/CFormat.h"
#include "engine/platform/MessageSink.h"
#include "engine/views/MultiSummaryGrouping.h"
#include "engine/views/MultiSummaryResultData.h"
#include "engine/workflow/InputReader.h"
#include "engine/workflow/OrderedRunner.h"

namespace corvelin {

namespace {

// The messages of one read, kept for the delivering thread; questions go to the process-wide sink at once.
class CRecordedMessages final : public MessageSink {
public:
    explicit CRecordedMessages(MessageSink& outer) : m_outer(outer) {}
    void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override
    {
        m_events.push_back({text, caption, icon, false});
    }
    bool AskYesNo(const std::string& text, const std::string& caption, MessageIcon icon) override
    {
        return m_outer.AskYesNo(text, caption, icon);
    }
    MessageAnswer AskYesNoCancel(const std::string& text, const std::string& caption, MessageIcon icon) override
    {
        return m_outer.AskYesNoCancel(text, caption, icon);
    }
    void Beep() override { m_events.push_back({{}, {}, MessageIcon::None, true}); }

    void Replay(MessageSink& sink) const
    {
        for (const Event& e : m_events) {
            if (e.IsBeep)
                sink.Beep();
            else
                sink.ShowMessage(e.Text, e.Caption, e.Icon);
        }
    }

private:
    struct Event {
        std::string Text;
        std::string Caption;
        MessageIcon Icon;
        bool IsBeep;
    };
    MessageSink& m_outer;
    std::vector<Event> m_events;
};

// One file after reading: the chromatogram (none when the read failed), its prepared spectra and the messages
// the read gave.
struct ReadFile {
    std::unique_ptr<CLibraryChromatogram> Chromatogram;
    std::unique_ptr<CPreparedSpectra> Spectra;
    std::unique_ptr<CRecordedMessages> Messages;
};

ReadFile Read(const std::string& path, const CSearchOptions& options, MessageSink& outer)
{
    ReadFile file;
    file.Messages = std::make_unique<CRecordedMessages>(outer);
    CThreadMessageScope scope(file.Messages.get());
    auto chromatogram = std::make_unique<CLibraryChromatogram>();
    if (ReadInput(path, options, InputUse::SummaryFile, *chromatogram).Read) {
        file.Spectra = CMultiSummaryGrouper::PrepareSpectra(*chromatogram, options);
        file.Chromatogram = std::move(chromatogram);
    }
    return file;
}

// A file whose read threw past the reader: left out like any unreadable file, with a message saying why.
ReadFile Unreadable(const std::string& path, const std::string& reason, MessageSink& outer)
{
    ReadFile file;
    file.Messages = std::make_unique<CRecordedMessages>(outer);
    file.Messages->ShowMessage(ReadFailureText(InputUse::SummaryFile, path) + "\n" + reason, "File Read Error",
                               MessageIcon::Exclamation);
    return file;
}

} // namespace

std::string SummaryFileStatus(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return "File: " + (slash == std::string::npos ? path : path.substr(slash)) + " ";
}

CMultiSummaryRunStats RunMultiSummary(const std::vector<std::string>& paths, const CSearchOptions& options,
                                      CMultiSummaryResultData& result, std::atomic<bool>& running,
                                      const CMultiSummaryCallbacks& callbacks, int threads)
{
    CMultiSummaryRunStats stats;
    result.Clear();
    CMultiSummaryGrouper grouper(result, options);
    const auto step = [&] {
        ++stats.PeaksExamined;
        if (callbacks.Progress)
            callbacks.Progress(stats.PeaksExamined);
    };
    MessageSink& outer = Messages();
    const std::size_t delivered = RunInOrder<ReadFile>(
        paths.size(), RunnerThreads(threads, paths.size()), running,
        [&](std::size_t i, unsigned) { return Read(paths[i], options, outer); },
        [&](std::size_t i, const std::string& reason) { return Unreadable(paths[i], reason, outer); },
        [&](std::size_t i, ReadFile&& file) {
            std::string status = SummaryFileStatus(paths[i]);
            if (callbacks.Status)
                callbacks.Status(status);
            file.Messages->Replay(Messages());
            if (!file.Chromatogram) {
                ++stats.FilesFailed;
                stats.FailedPaths.push_back(paths[i]);
                return;
            }
            ++stats.FilesRead;
            const int peaks = file.Chromatogram->PeakCount;
            if (callbacks.Status)
                callbacks.Status(status + FormatC("%i Peaks", peaks));
            grouper.Add(std::move(file.Chromatogram), std::move(file.Spectra), step);
        });
    stats.Stopped = delivered < paths.size();
    SortSummaryGroups(result);
    return stats;
}

} // namespace corvelin
