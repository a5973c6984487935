#pragma once
// Shared pieces of the desktop program's Qt tests: a headless test main, an environment with in-memory
// settings, a recording message sink behind the Qt sink and the bundled entry reader as the plug-in list, and
// generated library entries.
#include <QApplication>
#include <QtTest>
#include <memory>
#include <string>

#include "gui/app/QtMessageSink.h"
#include "tests/support/MemorySettingsStore.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/TempDir.h"

namespace corvelin {

class CDatasystemPlugins;

#define CORVELIN_GUI_TEST_MAIN(TestClass)                                                                              \
    int main(int argc, char* argv[])                                                                                   \
    {                                                                                                                  \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                                                            \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                                                   \
        QApplication app(argc, argv);                                                                                  \
        TestClass test;                                                                                                \
        return QTest::qExec(&test, argc, argv);                                                                        \
    }

// Settings in memory, every message recorded (through the Qt sink, so worker-thread messages arrive on the
// interface thread), and a plug-in list holding the library entry reader when it was built.
class GuiTestEnvironment {
public:
    GuiTestEnvironment();
    ~GuiTestEnvironment();

    MemorySettingsStore& Settings() { return *m_settings; }
    RecordingMessageSink& Recorder() { return m_recorder; }
    // Whether the library entry reader module is in the plug-in list.
    bool HasEntryReader() const noexcept { return m_entryReader; }
    // Adds the MSP spectra reader module (false when it was not built).
    bool AddMspReader();
    // Adds the ANDI/AIA netCDF reader module (false when it was not built).
    bool AddAndiReader();
    // Adds a reader module by its path, data-system name, extension and file-dialog filter.
    static void AddReader(const char* module, const char* name, const char* extension, const char* filter);
    // Adds a reader module as the registration would: with its settings section "Plugins\<key>" handed over.
    bool AddRegisteredReader(const char* module, const char* name, const char* extension, const std::string& key);

private:
    ScopedMemorySettings m_settings;
    RecordingMessageSink m_recorder;
    CQtMessageSinkScope m_qtSink{&m_recorder};
    std::unique_ptr<CDatasystemPlugins> m_previousPlugins;
    bool m_entryReader = false;
};

// Writes a library entry with `peaks` peaks whose spectra and retention times come from `seed`; entries
// with nearby seeds look alike (seed / 10 picks the family, seed % 10 adds small noise).
void WriteTestEntry(const std::string& path, int seed, int peaks, const std::string& sampleName);
// A library folder with count entries "entry%04i.ChromLibEntry" (seeds 0 ... count - 1) and, in `sub`, one more
// when withSubfolder; returns the folder with a trailing "/".
std::string MakeTestLibrary(const TempDir& dir, const std::string& name, int count, int peaks,
                            bool withSubfolder = false);

// Copies a real run into folder and converts it there into a library entry (1 % minimum peak area), leaving the
// original untouched; returns the entry's path, empty when the copy or the conversion failed.
std::string ConvertRunCopy(const std::string& run, const std::string& folder);

// Waits (processing events) until predicate holds or the timeout passes; returns the predicate's value.
template <typename Predicate> bool WaitFor(Predicate predicate, int timeoutMs = 60000)
{
    QElapsedTimer timer;
    timer.start();
    while (!predicate()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QTest::qWait(5);
    }
    return true;
}

// Where screenshots go: $CORVELIN_SCREENSHOT_DIR, else "screenshots" in the current folder.
QString ScreenshotFolder();
// True when $CORVELIN_SCREENSHOT_DIR is set: tests save their pictures for a reviewer only then.
bool ScreenshotsWanted();

} // namespace corvelin
