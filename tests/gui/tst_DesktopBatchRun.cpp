// The desktop program's own batch search: "corvelinscope /Search=... /Library=... /Save" under the offscreen
// platform writes the same CSV report as corvelinscope-batch and ends by itself. Both programs run as copies
// in a private program folder, so their settings (and the last-used options the desktop program saves on OK)
// stay out of the build tree.
#include <QDir>
#include <QFile>
#include <QPrinterInfo>
#include <QProcess>
#include <filesystem>

#include "tests/gui/GuiTestSupport.h"
#include "gui/widgets/QtText.h"

namespace fs = std::filesystem;

using namespace corvelin;

namespace {

// A program folder of its own: bin/ with a copy of the program and the build's settings.ini (which holds the
// registration of the bundled readers), lib/ pointing at the build's libraries and plug-ins.
QString MakeProgramFolder(const fs::path& root, const QString& program)
{
    const fs::path buildBin = fs::path(ToStdString(QCoreApplication::applicationDirPath()));
    fs::create_directories(root / "bin");
    fs::create_symlink(fs::canonical(buildBin / ".." / "lib"), root / "lib");
    const fs::path target = root / "bin" / ToStdString(program);
    fs::copy_file(buildBin / ToStdString(program), target);
    if (fs::exists(buildBin / "settings.ini"))
        fs::copy_file(buildBin / "settings.ini", root / "bin" / "settings.ini");
    return ToQString(target.string());
}

std::vector<fs::path> CsvFiles(const fs::path& folder)
{
    std::vector<fs::path> files;
    for (const auto& f : fs::directory_iterator(folder))
        if (f.path().extension() == ".csv")
            files.push_back(f.path());
    return files;
}

int Run(const QString& program, const QStringList& args, const fs::path& home, QByteArray* errors)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HOME"), ToQString(home.string()));
    env.insert(QStringLiteral("CORVELIN_REGISTRY_DIR"), ToQString((home / "registry").string()));
    process.setProcessEnvironment(env);
    process.start(program, args);
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    *errors = process.readAllStandardError();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
}

// The CSV reports that the desktop program and corvelinscope-batch (each in the program folder made for it
// under dir) write next to the unknown for the same arguments; empty when a run failed. The unknown's folder
// must hold no other report.
struct CsvPair {
    std::string desktop;
    std::string batch;
    QByteArray errors;
};

CsvPair RunBothPrograms(const TempDir& dir, const QStringList& args, const fs::path& unknownFolder)
{
    CsvPair csv;
    const QString desktop = ToQString((dir.Path() / "desktop" / "bin" / "corvelinscope").string());
    if (Run(desktop, args, dir.Path() / "desktop", &csv.errors) != 0)
        return csv;
    std::vector<fs::path> written = CsvFiles(unknownFolder);
    if (written.size() != 1)
        return csv;
    csv.desktop = ReadAllText(written[0].string());
    fs::rename(written[0], dir.Path() / "desktop.csv");

    const QString batch = ToQString((dir.Path() / "batch" / "bin" / "corvelinscope-batch").string());
    if (Run(batch, args, dir.Path() / "batch", &csv.errors) != 0)
        return csv;
    written = CsvFiles(unknownFolder);
    if (written.size() == 1)
        csv.batch = ReadAllText(written[0].string());
    return csv;
}

// Real GC-MS runs written by others, when this machine has them (never copied into the repository).
fs::path RealDataFolder()
{
    const QByteArray env = qgetenv("CORVELIN_REAL_DATA");
    return env.isEmpty() ? fs::path("/work/shared/data") : fs::path(env.toStdString());
}

} // namespace

class DesktopBatchRunTest : public QObject {
    Q_OBJECT

private slots:
    void desktopBatchSearchWritesTheBatchProgramsCsv()
    {
        const QString buildBin = QCoreApplication::applicationDirPath();
        if (!QFile::exists(buildBin + QStringLiteral("/corvelinscope")) ||
            !QFile::exists(buildBin + QStringLiteral("/corvelinscope-batch")))
            QSKIP("corvelinscope and corvelinscope-batch are not both built");
        TempDir dir;
        const std::string library = MakeTestLibrary(dir, "library", 12, 15, true);
        fs::create_directories(dir.Path() / "unknown");
        const std::string unknown = (dir.Path() / "unknown" / "probe.ChromLibEntry").string();
        WriteTestEntry(unknown, 21, 15, "Probe");
        const QStringList args{QStringLiteral("/Search=") + ToQString(unknown),
                               QStringLiteral("/Library=") + ToQString(library.substr(0, library.size() - 1)),
                               QStringLiteral("/Save")};

        MakeProgramFolder(dir.Path() / "desktop", QStringLiteral("corvelinscope"));
        MakeProgramFolder(dir.Path() / "batch", QStringLiteral("corvelinscope-batch"));
        const CsvPair csv = RunBothPrograms(dir, args, dir.Path() / "unknown");
        QVERIFY2(!csv.desktop.empty() && !csv.batch.empty(), csv.errors.constData());
        const std::string& desktopCsv = csv.desktop;
        const std::string& batchCsv = csv.batch;

        QVERIFY(desktopCsv.find("Library Hits:\r\n") != std::string::npos);
        QVERIFY(desktopCsv.find("\"./sub/deep.ChromLibEntry\",") == std::string::npos); // subfolders off
        QCOMPARE(desktopCsv, batchCsv);
        // 12 entries: 12 data lines after the header row.
        const std::size_t table = desktopCsv.find("\"File\",");
        QVERIFY(table != std::string::npos);
        QCOMPARE(std::count(desktopCsv.begin() + static_cast<std::ptrdiff_t>(table), desktopCsv.end(), '\n'), 13L);
    }

    // Real runs: a library converted from four JCAMP runs and an ANDI run, searched with a JCAMP run and with an
    // ANDI run of another instrument.
    void desktopAndBatchAgreeOnRealRuns_data()
    {
        QTest::addColumn<QString>("unknown");
        QTest::newRow("jcamp") << QStringLiteral("jdx/PyMassSpec/ELEY_1_SUBTRACT.JDX");
        QTest::newRow("andi") << QStringLiteral("andi/netcdf-gcms/agilent-gcms.cdf");
    }

    void desktopAndBatchAgreeOnRealRuns()
    {
        QFETCH(QString, unknown);
        const QString buildBin = QCoreApplication::applicationDirPath();
        if (!QFile::exists(buildBin + QStringLiteral("/corvelinscope")) ||
            !QFile::exists(buildBin + QStringLiteral("/corvelinscope-batch")))
            QSKIP("corvelinscope and corvelinscope-batch are not both built");
        const fs::path data = RealDataFolder();
        const std::vector<std::string> libraryRuns = {
            "jdx/PyMassSpec/ELEY_2_SUBTRACT.JDX", "jdx/PyMassSpec/ELEY_3_SUBTRACT.JDX",
            "jdx/PyMassSpec/GECO_2_SUBTRACT.JDX", "jdx/PyMassSpec/GECO_3_SUBTRACT.JDX",
            "andi/aia_ms_roundrobin_1993/HP/CENTSCNH.CDF"};
        bool complete = fs::exists(data / ToStdString(unknown));
        for (const std::string& run : libraryRuns)
            complete = complete && fs::exists(data / run);
        if (!complete)
            QSKIP("the real GC-MS runs are not on this machine");

        // Copies in the test's own folder: the conversion writes its entries beside the data files.
        TempDir dir;
        fs::create_directories(dir.Path() / "library");
        fs::create_directories(dir.Path() / "unknown");
        for (const std::string& run : libraryRuns)
            fs::copy_file(data / run, dir.Path() / "library" / fs::path(run).filename());
        const fs::path unknownCopy = dir.Path() / "unknown" / fs::path(ToStdString(unknown)).filename();
        fs::copy_file(data / ToStdString(unknown), unknownCopy);

        MakeProgramFolder(dir.Path() / "desktop", QStringLiteral("corvelinscope"));
        const QString batch = MakeProgramFolder(dir.Path() / "batch", QStringLiteral("corvelinscope-batch"));
        QByteArray errors;
        for (const std::string& run : libraryRuns) {
            const fs::path copy = dir.Path() / "library" / fs::path(run).filename();
            QCOMPARE(
                Run(batch, {QStringLiteral("/Convert=") + ToQString(copy.string())}, dir.Path() / "batch", &errors), 0);
        }

        const CsvPair csv = RunBothPrograms(dir,
                                            {QStringLiteral("/Search=") + ToQString(unknownCopy.string()),
                                             QStringLiteral("/Library=") + ToQString((dir.Path() / "library").string()),
                                             QStringLiteral("/Save")},
                                            dir.Path() / "unknown");
        QVERIFY2(!csv.desktop.empty() && !csv.batch.empty(), csv.errors.constData());
        QCOMPARE(csv.desktop, csv.batch);
        // Every converted run is a row, and the best one (first, sorted by "Foward") matched something.
        const std::size_t table = csv.desktop.find("\"File\",");
        QVERIFY(table != std::string::npos);
        QCOMPARE(std::count(csv.desktop.begin() + static_cast<std::ptrdiff_t>(table), csv.desktop.end(), '\n'),
                 static_cast<long>(libraryRuns.size() + 1));
        std::size_t field = csv.desktop.find('\n', table) + 1;
        for (int i = 0; i < 3; ++i)
            field = csv.desktop.find("\",", field) + 2;
        QVERIFY(csv.desktop.compare(field, 7, "\"0.000\"") != 0);
    }

    void printWithoutAPrinterWritesAPdfBesideTheCsv()
    {
        if (!QFile::exists(QCoreApplication::applicationDirPath() + QStringLiteral("/corvelinscope")))
            QSKIP("corvelinscope is not built");
        if (!QPrinterInfo::availablePrinterNames().isEmpty())
            QSKIP("this machine has a printer; the report would be printed on paper");
        TempDir dir;
        const std::string library = MakeTestLibrary(dir, "library", 3, 8);
        fs::create_directories(dir.Path() / "unknown");
        const std::string unknown = (dir.Path() / "unknown" / "probe.ChromLibEntry").string();
        WriteTestEntry(unknown, 2, 8, "Probe");
        const QString desktop = MakeProgramFolder(dir.Path() / "desktop", QStringLiteral("corvelinscope"));
        QByteArray errors;
        QCOMPARE(Run(desktop,
                     {QStringLiteral("/Search=") + ToQString(unknown), QStringLiteral("/Library=") + ToQString(library),
                      QStringLiteral("/Print"), QStringLiteral("/Save")},
                     dir.Path() / "desktop", &errors),
                 0);
        const std::vector<fs::path> csv = CsvFiles(dir.Path() / "unknown");
        QCOMPARE(csv.size(), std::size_t(1));
        // Named as the CSV report (the minute may have turned between the two).
        std::vector<fs::path> pdfs;
        for (const auto& f : fs::directory_iterator(dir.Path() / "unknown"))
            if (f.path().extension() == ".pdf")
                pdfs.push_back(f.path());
        QVERIFY2(pdfs.size() == 1, errors.constData());
        QVERIFY(pdfs[0].filename().string().rfind("probe.ChromLibE ", 0) == 0);
        QVERIFY(ReadAllText(pdfs[0].string()).rfind("%PDF", 0) == 0);
    }

    void desktopBatchConversionWritesTheEntryAndEnds()
    {
        if (!QFile::exists(QCoreApplication::applicationDirPath() + QStringLiteral("/corvelinscope")))
            QSKIP("corvelinscope is not built");
        TempDir dir;
        const std::string source = dir.File("run7.ChromLibEntry");
        WriteTestEntry(source, 40, 8, "Run 7");
        const QString desktop = MakeProgramFolder(dir.Path() / "desktop", QStringLiteral("corvelinscope"));
        QByteArray errors;
        // A "/Convert=" after the "/Search=" would be ignored; alone it converts and closes without questions.
        QCOMPARE(Run(desktop, {QStringLiteral("/Convert=") + ToQString(source)}, dir.Path() / "desktop", &errors), 0);
        QVERIFY2(fs::exists(source + ".ChromLibEntry"), errors.constData());
    }
};

CORVELIN_GUI_TEST_MAIN(DesktopBatchRunTest)
#include "tst_DesktopBatchRun.moc"
