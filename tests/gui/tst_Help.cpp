// F1 opens the built manual in the help window at the section of what the user looks at: each tab of the main
// window, the options sheet, the program options, the column arrangement; "Manual ..." opens the index.
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextBrowser>

#include <filesystem>

#include "engine/platform/HelpFile.h"
#include "gui/app/HelpWindow.h"
#include "gui/app/LibraryManagerSheet.h"
#include "gui/options/DialogOptions.h"
#include "gui/options/SearchOptionsUI.h"
#include "gui/pages/MainPage.h"
#include "gui/widgets/ColumnArrange.h"
#include "engine/table/ReportTable.h"
#include "tests/gui/GuiTestSupport.h"

using namespace corvelin;

namespace {

// Presses F1 where the user would: on the focus widget, else on the window.
QUrl PressF1(CLibraryManagerSheet& sheet, QWidget& window)
{
    QWidget* target = window.focusWidget() ? window.focusWidget() : &window;
    QTest::keyClick(target, Qt::Key_F1);
    return sheet.HelpWindow() ? sheet.HelpWindow()->Shown() : QUrl();
}

QString Section(const QUrl& url)
{
    return url.fileName() + QLatin1Char('#') + url.fragment();
}

} // namespace

class HelpTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_env = std::make_unique<GuiTestEnvironment>();
        // Show the optional pages too.
        m_env->Settings().WriteSettingInt(SettingsScope::LocalMachine, "Corvelinscope", nullptr, "ShowPageReport", 1);
    }
    void cleanup() { m_env.reset(); }

    void f1OnEveryTabOpensThatPagesSection()
    {
        CLibraryManagerSheet sheet;
        sheet.SetHelpPath(CORVELIN_MANUAL_INDEX);
        sheet.show();
        auto* tabs = sheet.findChild<QTabWidget*>();
        QVERIFY(tabs);
        QCOMPARE(tabs->count(), 8);
        for (int id = 0; id < CLibraryManagerSheet::PageCount; ++id) {
            const auto page = static_cast<CLibraryManagerSheet::PageId>(id);
            QVERIFY(sheet.ActivatePage(page));
            const QUrl shown = PressF1(sheet, sheet);
            QVERIFY2(shown.isLocalFile(), qPrintable(tabs->tabText(tabs->currentIndex())));
            // The section is the one the help table names for the tab's title.
            QString expected;
            for (const HelpTopic& topic : HelpTopics())
                if (QString::fromLatin1(topic.Title) == sheet.Page(page)->Title())
                    expected = QString::fromLatin1(topic.Target);
            QCOMPARE(Section(shown), expected);
            QVERIFY(sheet.HelpWindow()->isVisible());
        }
        // The manual's page was really loaded: its heading text is in the browser.
        QVERIFY(
            sheet.HelpWindow()->Browser()->toPlainText().contains(QStringLiteral("Multiple Chromatogram Peak List")));

        QAction* manual = sheet.MenuAction(QStringLiteral("&Manual ..."));
        QVERIFY(manual);
        manual->trigger();
        QCOMPARE(sheet.HelpWindow()->Shown().fileName(), QStringLiteral("index.html"));
    }

    void f1InADialogOpensTheDialogsSection()
    {
        CLibraryManagerSheet sheet;
        sheet.SetHelpPath(CORVELIN_MANUAL_INDEX);
        sheet.show();

        CSearchOptions options;
        CSearchOptionsUI optionsSheet(QStringLiteral("Search Options"), options, {CSearchOptionsUI::Basic});
        optionsSheet.show();
        QCOMPARE(Section(PressF1(sheet, optionsSheet)), QStringLiteral("options.html#search-options"));
        optionsSheet.reject();

        CDialogOptions programOptions;
        programOptions.show();
        QCOMPARE(Section(PressF1(sheet, programOptions)), QStringLiteral("options.html#program-options"));
        programOptions.reject();

        CReportTable table;
        CColumnArrange arrange(table, "LibrarySearch");
        arrange.show();
        QCOMPARE(Section(PressF1(sheet, arrange)), QStringLiteral("options.html#column-arrangement"));
    }

    void aMissingManualIsReported()
    {
        CLibraryManagerSheet sheet;
        sheet.SetHelpPath("/nonexistent/share/corvelinscope/manual/index.html");
        sheet.ShowHelp(kHelpLibrarySearch);
        const std::vector<std::string> messages = m_env->Recorder().Texts();
        QCOMPARE(messages.size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(messages.front()),
                 QStringLiteral("The manual was not found: /nonexistent/share/corvelinscope/manual/index.html"));
        QVERIFY(!sheet.HelpWindow()->isVisible());
    }

    // The manual's pictures are shown at the help window's width, also after the window is made narrower: the
    // reader never scrolls sideways.
    void picturesFollowTheHelpWindowsWidth()
    {
        TempDir dir;
        QImage wide(1800, 120, QImage::Format_RGB32);
        wide.fill(Qt::darkBlue);
        QVERIFY(wide.save(QString::fromStdString(dir.File("wide.png"))));
        WriteAllText(dir.File("index.html"), "<h1>Help</h1><p><img src=\"wide.png\"></p>");
        CLibraryManagerSheet sheet;
        sheet.SetHelpPath(dir.File("index.html"));
        sheet.ShowHelp(kHelpIndex);
        CHelpWindow* help = sheet.HelpWindow();
        QVERIFY(help && QTest::qWaitForWindowExposed(help));
        for (int width : {900, 500}) {
            help->resize(width, 600);
            QVERIFY2(WaitFor([help] { return help->Browser()->horizontalScrollBar()->maximum() == 0; }, 3000),
                     qPrintable(QString::number(width)));
        }
    }

    // "Open in web browser" on a desktop where no browser can be started says so, and how to open the page.
    void openInWebBrowserSaysWhyItCannot_data()
    {
        QTest::addColumn<QString>("opener"); // the xdg-open on the PATH; empty: none
        QTest::addColumn<QString>("why");
        QTest::newRow("no xdg-open") << QString() << QStringLiteral("xdg-open is not installed");
        QTest::newRow("no browser") << QStringLiteral("exit 3") << QStringLiteral("no program for web pages");
        QTest::newRow("failing") << QStringLiteral("exit 4") << QStringLiteral("ended with error 4");
    }
    void openInWebBrowserSaysWhyItCannot()
    {
        QFETCH(QString, opener);
        QFETCH(QString, why);
        TempDir bin;
        if (!opener.isEmpty()) {
            WriteAllText(bin.File("xdg-open"), "#!/bin/sh\n" + opener.toStdString() + "\n");
            std::filesystem::permissions(bin.File("xdg-open"), std::filesystem::perms::owner_all);
        }
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QByteArray::fromStdString(bin.Path().string()));
        CLibraryManagerSheet sheet;
        sheet.SetHelpPath(CORVELIN_MANUAL_INDEX);
        sheet.ShowHelp(kHelpLibrarySearch);
        QPushButton* open = nullptr;
        for (QPushButton* button : sheet.HelpWindow()->findChildren<QPushButton*>())
            if (button->text() == QStringLiteral("Open in &web browser"))
                open = button;
        QVERIFY(open);
        QTest::mouseClick(open, Qt::LeftButton);
        const bool said = WaitFor([&] { return !m_env->Recorder().Texts().empty(); }, 10000);
        qputenv("PATH", path);
        QVERIFY(said);
        const QString text = QString::fromStdString(m_env->Recorder().Texts().front());
        QVERIFY2(text.startsWith(QStringLiteral("No web browser could be started: ")) && text.contains(why) &&
                     text.contains(sheet.HelpWindow()->Shown().toString()),
                 qPrintable(text));
    }

private:
    std::unique_ptr<GuiTestEnvironment> m_env;
};

CORVELIN_GUI_TEST_MAIN(HelpTest)
#include "tst_Help.moc"
