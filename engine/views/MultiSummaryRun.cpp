#include "engine/views/MultiSummaryRun.h"

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "engine/core/LibraryChromatogram.h"
#include "engine/platform/CFormat.h"
#include "engine/platform/MessageSink.h"
#include "engine/plugins/ReadFromDataFile.h"
#include "engine/views/MultiSummaryGrouping.h"
#include "engine/views/MultiSummaryResultData.h"

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
    try {
        if (ReadFromDataFile(*chromatogram, path, 0.0, nullptr, true) == 1) {
            file.Spectra = CMultiSummaryGrouper::PrepareSpectra(*chromatogram, options);
            file.Chromatogram = std::move(chromatogram);
        }
    } catch (const std::exception&) {
        file.Chromatogram.reset();
    }
    return file;
}

// Reads the files on `threads` readers, the calling thread among them, at most a few files ahead of the
// delivery, and hands them to deliver in file order on the calling thread. The calling thread reads a file
// itself whenever the next one is not ready yet, so it waits only while every file it could take is being read;
// on a busy machine that keeps it from sleeping (and waiting to be woken) once per file.
void ReadInOrder(const std::vector<std::string>& paths, const CSearchOptions& options, unsigned threads,
                 const std::function<void(std::size_t, ReadFile&&)>& deliver)
{
    MessageSink& outer = Messages();
    if (threads <= 1 || paths.size() <= 1) {
        for (std::size_t i = 0; i < paths.size(); ++i)
            deliver(i, Read(paths[i], options, outer));
        return;
    }
    std::mutex mutex;
    std::condition_variable ready;
    std::condition_variable room;
    std::vector<std::optional<ReadFile>> results(paths.size());
    std::size_t claimed = 0;
    std::size_t delivering = 0;
    const std::size_t lookAhead = 2 * static_cast<std::size_t>(threads);
    const auto canClaim = [&] { return claimed < paths.size() && claimed < delivering + lookAhead; };
    // Reads the file at index (claimed under the lock) and stores it; called and returns with the lock held.
    const auto readClaimed = [&](std::unique_lock<std::mutex>& lock, std::size_t index) {
        lock.unlock();
        ReadFile file = Read(paths[index], options, outer);
        lock.lock();
        results[index] = std::move(file);
    };

    auto worker = [&] {
        std::unique_lock lock(mutex);
        for (;;) {
            room.wait(lock, [&] { return claimed >= paths.size() || canClaim(); });
            if (claimed >= paths.size())
                return;
            readClaimed(lock, claimed++);
            ready.notify_all();
        }
    };
    std::vector<std::thread> pool;
    for (unsigned i = 1; i < threads; ++i)
        pool.emplace_back(worker);
    for (std::size_t next = 0; next < paths.size(); ++next) {
        ReadFile file;
        {
            std::unique_lock lock(mutex);
            while (!results[next].has_value()) {
                if (canClaim())
                    readClaimed(lock, claimed++);
                else
                    ready.wait(lock, [&] { return results[next].has_value() || canClaim(); });
            }
            file = std::move(*results[next]);
            results[next].reset();
            delivering = next + 1;
        }
        room.notify_all();
        deliver(next, std::move(file));
    }
    for (auto& t : pool)
        t.join();
}

} // namespace

std::string SummaryFileStatus(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return "File: " + (slash == std::string::npos ? path : path.substr(slash)) + " ";
}

CMultiSummaryRunStats RunMultiSummary(const std::vector<std::string>& paths, const CSearchOptions& options,
                                      CMultiSummaryResultData& result, const CMultiSummaryCallbacks& callbacks,
                                      int threads)
{
    CMultiSummaryRunStats stats;
    result.Clear();
    CMultiSummaryGrouper grouper(result, options);
    unsigned readers = threads > 0 ? static_cast<unsigned>(threads) : std::max(1u, std::thread::hardware_concurrency());
    readers = std::min<unsigned>(readers, static_cast<unsigned>(std::max<std::size_t>(paths.size(), 1)));
    const auto step = [&] {
        ++stats.PeaksExamined;
        if (callbacks.Progress)
            callbacks.Progress(stats.PeaksExamined);
    };
    ReadInOrder(paths, options, readers, [&](std::size_t i, ReadFile&& file) {
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
    SortSummaryGroups(result);
    return stats;
}

} // namespace corvelin
