// The search options sheet and its pages: RI calibration editing, the basic page's enabling and checks, the
// summary's ISTD box, the spectral list, and the working-copy OK/Cancel behaviour.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTreeWidget>
#include <fstream>

#include "tests/gui/GuiTestSupport.h"
#include "gui/widgets/QtText.h"
#include "gui/options/ParameterFileDialogs.h"
#include "gui/options/SearchBasicOptions.h"
#include "gui/options/SearchMassspecs.h"
#include "engine/options/SearchOptions.h"
#include "gui/options/SearchOptionsRICalibration.h"
#include "gui/options/SearchOptionsSummary.h"
#include "gui/options/SearchOptionsUI.h"
#include "gui/widgets/FileDialogs.h"
#include "gui/widgets/OdorListCtrl.h"

using namespace corvelin;

namespace {

void AddPoint(CSearchOptions& options, const std::string& name, double rt, double ri, bool withSpectrum = false)
{
    auto point = std::make_unique<CLibraryRICalibrationPoint>();
    CLibraryMassSpectrumData spectrum;
    if (withSpectrum)
        spectrum.Append(CLibraryMassSpectrumPoint(57, 100));
    point->Set(name, rt, ri, spectrum);
    options.RICalibration().AddPoint(std::move(point));
}

std::vector<std::string> Column(const COdorListCtrl* list, int column)
{
    std::vector<std::string> cells;
    for (int r = 0; r < list->Table().RowCount(); ++r)
        cells.push_back(list->Table().Cell(r, column));
    return cells;
}

void Enter(CSearchOptionsRICalibration& page, const char* name, const char* rt, const char* ri)
{
    page.NameEdit()->setText(QString::fromLatin1(name));
    page.RTEdit()->setText(QString::fromLatin1(rt));
    page.RIEdit()->setText(QString::fromLatin1(ri));
}

// What the next options sheet does instead of being shown.
std::function<int(CSearchOptionsUI&)> g_sheetAction;
int RunSheetAction(CSearchOptionsUI& sheet)
{
    return g_sheetAction(sheet);
}

} // namespace

class SearchOptionsPagesTest : public QObject {
    Q_OBJECT

private slots:
    void init() { m_env = std::make_unique<GuiTestEnvironment>(); }
    void cleanup()
    {
        CSearchOptionsUI::SetExecHook(nullptr);
        m_env.reset();
    }

    void riAddInsertsBetweenAndRefusesOrderBreaks()
    {
        CSearchOptions options;
        AddPoint(options, "C8", 6.0, 1000);
        AddPoint(options, "C7", 4.0, 800);
        CSearchOptionsRICalibration page(options);
        QCOMPARE(Column(page.List(), 0), (std::vector<std::string>{"C7", "C8"})); // sorted by RT

        Enter(page, "mid", "5.0", "900");
        page.OnAdd();
        QCOMPARE(Column(page.List(), 0), (std::vector<std::string>{"C7", "mid", "C8"}));
        QCOMPARE(Column(page.List(), 1), (std::vector<std::string>{"4.00", "5.00", "6.00"}));
        QCOMPARE(Column(page.List(), 2), (std::vector<std::string>{"800.0", "900.0", "1000.0"}));
        QCOMPARE(page.List()->SelectedRows(), std::vector<int>{1});
        QVERIFY(m_env->Recorder().entries.empty());

        Enter(page, "bad", "5.0", "1100");
        page.OnAdd();
        QCOMPARE(m_env->Recorder().Texts(),
                 (std::vector<std::string>{"The RI value can only increase with increasing RT"}));
        QCOMPARE(page.List()->Table().RowCount(), 3);

        // Names are compared without regard to case.
        m_env->Recorder().entries.clear();
        Enter(page, "c7", "3.0", "700");
        page.OnAdd();
        QCOMPARE(m_env->Recorder().Texts(),
                 (std::vector<std::string>{"This compound already exists. Please use the edit function"}));
    }

    void riOrderTest_data()
    {
        QTest::addColumn<QList<QPointF>>("rows");
        QTest::addColumn<double>("rt");
        QTest::addColumn<double>("ri");
        QTest::addColumn<int>("position");
        QTest::newRow("between") << QList<QPointF>{{4, 800}, {6, 1000}} << 5.0 << 900.0 << 1;
        QTest::newRow("too big") << QList<QPointF>{{4, 800}, {6, 1000}} << 5.0 << 1100.0 << -1;
        QTest::newRow("too small") << QList<QPointF>{{4, 800}, {6, 1000}} << 5.0 << 700.0 << -1;
        QTest::newRow("equal RT does not constrain") << QList<QPointF>{{5, 900}} << 5.0 << 100.0 << 0;
        QTest::newRow("equal RI accepted") << QList<QPointF>{{4, 800}, {6, 1000}} << 5.0 << 1000.0 << 1;
        QTest::newRow("at the top") << QList<QPointF>{{4, 800}} << 2.0 << 500.0 << 0;
        QTest::newRow("at the end") << QList<QPointF>{{4, 800}} << 9.0 << 1500.0 << 1;
    }
    void riOrderTest()
    {
        QFETCH(QList<QPointF>, rows);
        QFETCH(double, rt);
        QFETCH(double, ri);
        QFETCH(int, position);
        std::vector<std::pair<double, double>> values;
        for (const QPointF& p : rows)
            values.emplace_back(p.x(), p.y());
        QCOMPARE(RICalibrationInsertPosition(values, rt, ri), position);
    }

    void riEditRefusesAnotherRowsName()
    {
        CSearchOptions options;
        AddPoint(options, "C7", 4.0, 800);
        AddPoint(options, "C8", 6.0, 1000);
        CSearchOptionsRICalibration page(options);
        page.List()->SelectRows({0});
        page.OnRowSelected();
        QCOMPARE(page.NameEdit()->text(), QStringLiteral("C7"));
        page.NameEdit()->setText(QStringLiteral("C8"));
        page.OnEdit();
        QCOMPARE(m_env->Recorder().Texts(),
                 (std::vector<std::string>{"This compound already exists. Please use the edit function"}));
        // Renaming to a new name and moving the RT keeps the order.
        m_env->Recorder().entries.clear();
        Enter(page, "heptane", "4.5", "850");
        page.List()->SelectRows({0});
        page.OnEdit();
        QVERIFY(m_env->Recorder().entries.empty());
        QCOMPARE(Column(page.List(), 0), (std::vector<std::string>{"heptane", "C8"}));
        QCOMPARE(Column(page.List(), 1), (std::vector<std::string>{"4.50", "6.00"}));
    }

    void riSpectraAreLostOnOK()
    {
        CSearchOptions shared;
        AddPoint(shared, "C7", 4.0, 800.04, true);
        CSearchOptionsUI::SetExecHook([](CSearchOptionsUI& sheet) {
            sheet.accept();
            return sheet.result();
        });
        QVERIFY(CSearchOptionsUI::Edit(nullptr, QStringLiteral("RI Calibration"), shared,
                                       {CSearchOptionsUI::RICalibration}));
        QCOMPARE(shared.RICalibration().GetCount(), std::size_t(1));
        QCOMPARE(shared.RICalibration().GetPoint(0).GetSpectrum().GetCount(), std::size_t(0));
        QCOMPARE(shared.RICalibration().GetPoint(0).GetRI(), 800.0); // the shown precision
    }

    void cancelLeavesTheSharedOptionsAndOKCopiesBack()
    {
        CSearchOptions shared;
        shared.RTWindowWidth = 0.1;
        g_sheetAction = [](CSearchOptionsUI& sheet) {
            auto* basic = static_cast<CSearchBasicOptions*>(sheet.Page(CSearchOptionsUI::Basic));
            basic->RTWindowEdit()->setText(QStringLiteral("0.25"));
            sheet.reject();
            return sheet.result();
        };
        CSearchOptionsUI::SetExecHook(RunSheetAction);
        QVERIFY(!CSearchOptionsUI::Edit(
            nullptr, QStringLiteral("Search Options"), shared,
            {CSearchOptionsUI::Basic, CSearchOptionsUI::MassSpec, CSearchOptionsUI::RICalibration}));
        QCOMPARE(shared.RTWindowWidth, 0.1);

        QStringList titles;
        g_sheetAction = [&titles](CSearchOptionsUI& sheet) {
            titles << sheet.windowTitle();
            for (int i = 0; i < sheet.Tabs()->count(); ++i)
                titles << sheet.Tabs()->tabText(i);
            static_cast<CSearchBasicOptions*>(sheet.Page(CSearchOptionsUI::Basic))
                ->RTWindowEdit()
                ->setText(QStringLiteral("0.25"));
            sheet.accept();
            return sheet.result();
        };
        QVERIFY(CSearchOptionsUI::Edit(
            nullptr, QStringLiteral("Search Options"), shared,
            {CSearchOptionsUI::Basic, CSearchOptionsUI::MassSpec, CSearchOptionsUI::RICalibration}));
        QCOMPARE(shared.RTWindowWidth, 0.25);
        QCOMPARE(titles, (QStringList{QStringLiteral("Search Options"), QStringLiteral("Peak Property Options"),
                                      QStringLiteral("Mass Spec Options"), QStringLiteral("RI Calibration")}));
    }

    void thresholdEditsEnablingAndRanges()
    {
        CSearchOptions options;
        options.MassThresholdOn = 0;
        options.AreaThresholdOn = 1;
        CSearchBasicOptions page(options);
        QVERIFY(!page.MassThresholdEdit()->isEnabled());
        QVERIFY(page.AreaThresholdEdit()->isEnabled());
        page.MassThresholdBox()->click();
        QVERIFY(page.MassThresholdEdit()->isEnabled());
        page.MassThresholdBox()->click();
        QVERIFY(!page.MassThresholdEdit()->isEnabled());

        // A disabled edit is still range-checked when the page stores its data.
        m_env->Recorder().entries.clear();
        page.MassThresholdEdit()->setText(QStringLiteral("100"));
        QVERIFY(!page.StoreData());
        QCOMPARE(m_env->Recorder().Texts(),
                 (std::vector<std::string>{"Please enter a number between 0.001 and 99.999."}));
        page.MassThresholdEdit()->setText(QStringLiteral("99.999"));
        QVERIFY(page.StoreData());
        QCOMPARE(options.MassThreshold, 99.999);
    }

    void invalidTimeRangeIsRefused()
    {
        CSearchOptions options;
        CSearchBasicOptions page(options);
        page.TimeRangeEdit()->setText(QStringLiteral("abc"));
        QVERIFY(!page.StoreData());
        QCOMPARE(m_env->Recorder().entries.size(), std::size_t(1));
        QCOMPARE(m_env->Recorder().entries[0].text, std::string("Please enter a valid time range"));
        QCOMPARE(m_env->Recorder().entries[0].caption, std::string("Error"));
        QCOMPARE(m_env->Recorder().entries[0].icon, MessageIcon::Exclamation);
    }

    void absoluteAreaHeightRelabels()
    {
        CSearchOptions options;
        CSearchBasicOptions page(options);
        QCOMPARE(page.AreaBox()->text(), QStringLiteral("Area% matching  "));
        page.AbsoluteBox()->click();
        QCOMPARE(page.AreaBox()->text(), QStringLiteral("absolute Area matching  "));
        QCOMPARE(page.HeightBox()->text(), QStringLiteral("absolute Height matching  "));
        QCOMPARE(options.AbsoluteAreaHeight, 1);
        page.AbsoluteBox()->click();
        QCOMPARE(page.HeightBox()->text(), QStringLiteral("Height% matching  "));
    }

    void summaryISTDWithAnUnknownName()
    {
        CSearchOptions options;
        CLibraryMassSpectrumData spectrum;
        spectrum.Append(CLibraryMassSpectrumPoint(57, 100));
        options.AddSpectrum("toluene", spectrum, true);
        options.AddSpectrum("Benzene", spectrum, false);
        options.SummaryRelative = 1;
        options.SummaryISTDName = "xylene";
        CSearchOptionsSummary page(options);
        QCOMPARE(page.ISTDBox()->count(), 2);
        QCOMPARE(page.ISTDBox()->itemText(0), QStringLiteral("Benzene")); // sorted
        QCOMPARE(page.ISTDBox()->currentText(), QString());
        QVERIFY(page.StoreData());
        QCOMPARE(options.SummaryISTDName, std::string());

        // A known name is found without regard to case.
        options.SummaryISTDName = "TOLUENE";
        page.OnSetActive();
        QCOMPARE(page.ISTDBox()->currentText(), QStringLiteral("toluene"));
        page.RelativeBox()->click();
        QVERIFY(!page.ISTDBox()->isEnabled());
    }

    void spectraFromAnMspFileArriveUnchecked()
    {
        if (!m_env->AddMspReader())
            QSKIP("the MSP reader module was not built");
        TempDir dir;
        const std::string msp = dir.File("refs.msp");
        std::ofstream(msp) << "Name: alpha\nNum Peaks: 2\n41 100\n43 50\n\nName: beta\nNum Peaks: 1\n57 100\n";
        CSearchOptions options;
        CSearchMassspecs page(options);
        page.AddFromFile(msp);
        QCOMPARE(options.GetSpectraCount(), 2);
        QCOMPARE(page.List()->topLevelItemCount(), 2);
        for (int i = 0; i < 2; ++i) {
            bool active = true;
            options.GetSpectrum(i, nullptr, &active);
            QVERIFY(!active);
            QCOMPARE(page.List()->topLevelItem(i)->checkState(0), Qt::Unchecked);
        }
        QCOMPARE(page.List()->topLevelItem(0)->text(0), QStringLiteral("alpha"));
        QCOMPARE(page.List()->topLevelItem(0)->text(1), QStringLiteral(" 2"));

        // Ticking and renaming reach the record (and from there the parameter file and the ISTD choice).
        page.List()->topLevelItem(1)->setCheckState(0, Qt::Checked);
        page.List()->topLevelItem(1)->setText(0, QStringLiteral("beta renamed"));
        QVERIFY(page.OnOK());
        std::string name;
        bool active = false;
        options.GetSpectrum(1, &name, &active);
        QCOMPARE(name, std::string("beta renamed"));
        QVERIFY(active);
        CSearchOptionsSummary summary(options);
        QCOMPARE(summary.ISTDBox()->itemText(1), QStringLiteral("beta renamed"));

        // The parameter file written through the save dialog carries the new name; the folder is remembered.
        const std::string spf = dir.File("method.spf");
        SetFileChoiceHook([&](const CFileChoice& request) {
            return CFileChoiceResult{request.kind == CFileChoice::Save ? ToQString(spf) : QString(), 1};
        });
        QVERIFY(SaveParameterFileFromPage(nullptr, options));
        SetFileChoiceHook({});
        const std::string text = ReadAllText(spf);
        QVERIFY(text.find("Name=beta renamed") != std::string::npos);
        QCOMPARE(m_env->Settings().GetSettingString(SettingsScope::CurrentUser, "Corvelinscope", "Settings",
                                                    "MRUParamPath", ""),
                 dir.Path().string());
    }

    void cancelledSaveSaysSo()
    {
        SetFileChoiceHook([](const CFileChoice&) { return CFileChoiceResult{}; });
        CSearchOptions options;
        QVERIFY(!SaveParameterFileFromPage(nullptr, options));
        SetFileChoiceHook({});
        QCOMPARE(m_env->Recorder().entries.size(), std::size_t(1));
        QCOMPARE(m_env->Recorder().entries[0].text, std::string("Could not save search parameter file"));
        QCOMPARE(m_env->Recorder().entries[0].caption, std::string("Search Parameters"));
        QCOMPARE(m_env->Recorder().entries[0].icon, MessageIcon::Stop);
    }

    void fitThresholdRange()
    {
        CSearchOptions options;
        CSearchMassspecs page(options);
        page.findChild<QLineEdit*>()->setText(QStringLiteral("1000"));
        QVERIFY(!page.StoreData());
        QCOMPARE(m_env->Recorder().Texts(), (std::vector<std::string>{"Please enter an integer between 0 and 999."}));
    }

private:
    std::unique_ptr<GuiTestEnvironment> m_env;
};

CORVELIN_GUI_TEST_MAIN(SearchOptionsPagesTest)
#include "tst_SearchOptionsPages.moc"
