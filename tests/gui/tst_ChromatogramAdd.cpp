// The "Add Chromatogram" page: "just display", conversion, the minimum area switch and its range.
#include <QCheckBox>
#include <QLineEdit>
#include <QTreeWidget>
#include <filesystem>

#include "tests/gui/GuiTestSupport.h"
#include "gui/pages/PageChromatogramAdd.h"
#include "engine/options/SearchOptions.h"

using namespace corvelin;

class ChromatogramAddTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_env = std::make_unique<GuiTestEnvironment>();
        if (!m_env->HasEntryReader())
            QSKIP("the library entry reader module was not built");
    }
    void cleanup() { m_env.reset(); }

    void justDisplayShowsTheTreeWithoutConverting()
    {
        TempDir dir;
        const std::string file = dir.File("run1.ChromLibEntry");
        WriteTestEntry(file, 5, 3, "Run 1");
        CSearchOptions options;
        CPageChromatogramAdd page(options);
        page.DataFile = file;
        page.RefreshControls();
        page.OnJustDisplay();
        const std::vector<std::string> lines = page.TreeLines();
        QVERIFY(lines.size() > 4);
        QVERIFY(lines[0].rfind("Reading file ", 0) == 0);
        QVERIFY(lines[1].rfind(" Number of Peaks:  3, total abs. Area: ", 0) == 0);
        QVERIFY(lines[2].rfind("   Peak  0: RT ", 0) == 0); // two levels down, one leading blank of its own
        // An entry of this program's own data system is never recalibrated.
        for (const std::string& line : lines)
            QVERIFY(line.find("No RI data") == std::string::npos);
        QVERIFY(page.InfoTree()->topLevelItem(0)->isExpanded());
        QVERIFY(!std::filesystem::exists(file + ".ChromLibEntry"));
    }

    void displayAndConvertWritesTheEntry()
    {
        TempDir dir;
        const std::string file = dir.File("run2.ChromLibEntry");
        WriteTestEntry(file, 6, 4, "Run 2");
        CSearchOptions options;
        CPageChromatogramAdd page(options);
        page.DataFile = file;
        page.RefreshControls();
        page.OnDisplayAndConvert();
        QVERIFY(std::filesystem::exists(file + ".ChromLibEntry"));
        QCOMPARE(page.TreeLines().back(), "The chromatogramm '" + file + "' was converted successfully");
    }

    void minimumAreaRangeAndSwitch()
    {
        CSearchOptions options;
        CPageChromatogramAdd page(options);
        auto* box = page.findChild<QCheckBox*>();
        QCOMPARE(box->text(), QStringLiteral("Minimum  peak area %"));
        QLineEdit* value = nullptr;
        for (QLineEdit* edit : page.findChildren<QLineEdit*>())
            if (edit->text() == QStringLiteral("0.5"))
                value = edit;
        QVERIFY(value);
        box->click();
        QVERIFY(value->isEnabled());
        box->click();
        QVERIFY(!value->isEnabled());
        value->setText(QStringLiteral("150"));
        QVERIFY(!page.StoreControls());
        QCOMPARE(m_env->Recorder().Texts(), (std::vector<std::string>{"Please enter a number between 0 and 100."}));
    }

    void unreadableFileGivesTheTreeLine()
    {
        CSearchOptions options;
        CPageChromatogramAdd page(options);
        page.DataFile = "/nonexistent/run9.ChromLibEntry";
        page.RefreshControls();
        page.OnJustDisplay();
        QCOMPARE(page.TreeLines().front(),
                 std::string("The chromatogramm '/nonexistent/run9.ChromLibEntry' could not be read"));
    }

private:
    std::unique_ptr<GuiTestEnvironment> m_env;
};

CORVELIN_GUI_TEST_MAIN(ChromatogramAddTest)
#include "tst_ChromatogramAdd.moc"
