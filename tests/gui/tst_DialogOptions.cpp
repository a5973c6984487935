// The program options dialog: ranges, stored values, the page flags and the AMDIS path.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

#include "tests/gui/GuiTestSupport.h"
#include "gui/options/DialogOptions.h"

using namespace corvelin;

namespace {

QLineEdit* EditAfterLabel(QWidget& dialog, const QString& label)
{
    for (QLabel* l : dialog.findChildren<QLabel*>())
        if (l->text() == label)
            if (auto* edit = qobject_cast<QLineEdit*>(l->buddy()))
                return edit;
    return nullptr;
}

QCheckBox* Box(QWidget& dialog, const QString& text)
{
    for (QCheckBox* box : dialog.findChildren<QCheckBox*>())
        if (box->text() == text)
            return box;
    return nullptr;
}

} // namespace

class DialogOptionsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { m_env = std::make_unique<GuiTestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void maxPeaksRange_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("0") << QStringLiteral("0") << false;
        QTest::newRow("1") << QStringLiteral("1") << true;
        QTest::newRow("5000") << QStringLiteral("5000") << true;
        QTest::newRow("5001") << QStringLiteral("5001") << false;
    }
    void maxPeaksRange()
    {
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        CDialogOptions dialog;
        QLineEdit* maxPeaks = EditAfterLabel(dialog, QStringLiteral("Max. Peaks:"));
        QVERIFY(maxPeaks);
        QCOMPARE(maxPeaks->text(), QStringLiteral("200"));
        maxPeaks->setText(text);
        dialog.accept();
        QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
        const int stored =
            m_env->Settings().GetSettingInt(SettingsScope::CurrentUser, "LibrarySearch", nullptr, "MaxPeaks", -1);
        if (accepted) {
            QCOMPARE(stored, text.toInt());
            QVERIFY(m_env->Recorder().entries.empty());
        } else {
            QCOMPARE(stored, -1);
            QCOMPARE(m_env->Recorder().Texts(),
                     (std::vector<std::string>{"Please enter an integer between 1 and 5000."}));
        }
    }

    void pageFlagReadAsZeroOrOne()
    {
        m_env->Settings().WriteSettingInt(SettingsScope::LocalMachine, "Corvelinscope", nullptr, "ShowPageReport", 5);
        CDialogOptions dialog;
        QVERIFY(Box(dialog, QStringLiteral("Show \"MS Match Report\""))->isChecked());
        dialog.accept();
        QCOMPARE(m_env->Settings().GetSettingInt(SettingsScope::LocalMachine, "Corvelinscope", nullptr,
                                                 "ShowPageReport", -1),
                 1);
        QCOMPARE(m_env->Settings().GetSettingString(SettingsScope::CurrentUser, "PageLayout", nullptr, "FontName", "?"),
                 std::string("Arial"));
    }

    void fontChoiceStoresWholePoints()
    {
        CDialogOptions dialog;
        dialog.ApplyChosenFont(QStringLiteral("DejaVu Sans"), 10.5);
        QCOMPARE(dialog.Values.PageLayout.BaseFontSize, 10);
        dialog.ApplyChosenFont(QStringLiteral("DejaVu Sans"), 12);
        dialog.accept();
        QCOMPARE(m_env->Settings().GetSettingInt(SettingsScope::CurrentUser, "PageLayout", nullptr, "BaseFontSize", -1),
                 12);
    }

    void amdisPathGoesOnlyWhereItWas()
    {
        MemorySettingsStore& s = m_env->Settings();
        s.WriteSettingInt(SettingsScope::LocalMachine, "Plugins", nullptr, nullptr, 2);
        s.WriteSettingString(SettingsScope::LocalMachine, "Plugins", nullptr, "Plugin0", "A");
        s.WriteSettingString(SettingsScope::LocalMachine, "Plugins", nullptr, "Plugin1", "B");
        s.WriteSettingString(SettingsScope::LocalMachine, "Plugins\\B", nullptr, "AmdisPath", "/opt/amdis/AMDIS32.exe");
        CDialogOptions dialog;
        QCOMPARE(dialog.AmdisPath, std::string("/opt/amdis/AMDIS32.exe"));

        // Cancelling the program choice shows no restart message; a new path does.
        dialog.ApplyChosenAmdisPath(dialog.AmdisPath, QString());
        QVERIFY(m_env->Recorder().entries.empty());
        dialog.ApplyChosenAmdisPath(dialog.AmdisPath, QStringLiteral("/opt/amdis2/amdis32.exe"));
        QCOMPARE(m_env->Recorder().Texts(),
                 (std::vector<std::string>{
                     "The change of the AMDIS Path will take effect the next time Corvelinscope is restarted"}));
        dialog.accept();
        QCOMPARE(s.GetSettingString(SettingsScope::LocalMachine, "Plugins\\B", nullptr, "AmdisPath", ""),
                 std::string("/opt/amdis2/amdis32.exe"));
        QCOMPARE(s.GetSettingString(SettingsScope::LocalMachine, "Plugins\\A", nullptr, "AmdisPath", "absent"),
                 std::string("absent"));
    }

    void noPluginSlotsRefusesTheDialog()
    {
        m_env->Settings().WriteSettingInt(SettingsScope::LocalMachine, "Plugins", nullptr, nullptr, 0);
        CDialogOptions::Run(nullptr);
        QCOMPARE(m_env->Recorder().Texts(),
                 (std::vector<std::string>{"ReadAmdisPath: Error reading number of file types plugins."}));
    }

private:
    std::unique_ptr<GuiTestEnvironment> m_env;
};

CORVELIN_GUI_TEST_MAIN(DialogOptionsTest)
#include "tst_DialogOptions.moc"
