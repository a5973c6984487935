// The HTML tool-tip: the hover-text dialect, pictures by handle, links reported by their message text, delays.
#include <QSignalSpy>
#include <QTextTable>

#include "gui/widgets/HtmlToolTip.h"
#include "gui/widgets/TipHtml.h"
#include "tests/gui/GuiTestSupport.h"

using namespace corvelin;

namespace {

const char* kPairText =
    "<h2>Peak Match = 0.912</h2><br><br><table border=1><tr><td>RT(this) = 5.01<br>RI(this) = 812.3<br>Area = "
    "1.20 %<br>Area = 1200 <br>Height = 3.00 %<br>Height = 300.0 <br>Width = 3.00 sec</td><td>RT(other) = "
    "5.02<br>RI(other) = 813.0<br>Area = 1.10 %<br>Area = 1100 <br>Height = 2.90 %<br>Height = 290.0 <br>Width = "
    "2.40 sec</td></tr><tr><td colspan=\"2\">MS similarity = 0.955</td></tr><tr><td><bmp handle=%1 cx=150 "
    "cy=75><br><a msg=\"1-Nist-3\">Send to NIST</a> <a msg=\"1-Spec-3\">Send to MS options</a></td><td><bmp "
    "handle=%2 cx=150 cy=75><br><a msg=\"2-Nist-7\">Send to NIST</a> <a msg=\"2-Spec-7\">Send to MS "
    "options</a></td></tr></table>";

std::string Joined(const std::vector<std::string>& parts)
{
    std::string joined;
    for (const std::string& part : parts)
        joined += part + "|";
    return joined;
}

// Every link message the shown tip reports somewhere on its surface, with one point for each.
std::map<std::string, QPoint> LinkPoints(const CHtmlToolTip& tip)
{
    std::map<std::string, QPoint> points;
    for (int y = 0; y < tip.height(); y += 2)
        for (int x = 0; x < tip.width(); x += 2)
            if (const std::string* message = tip.LinkAt({x, y}))
                points.emplace(*message, QPoint(x, y));
    return points;
}

} // namespace

class HtmlToolTipTest : public QObject {
    Q_OBJECT

private slots:
    void translatesEveryForm_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("links");
        QTest::addColumn<QString>("pictures");
        QTest::addColumn<QString>("mustContain");
        QTest::addColumn<QString>("mustNotContain");
        QTest::newRow("match line") << QString::fromLatin1(kPairText).arg(11).arg(12)
                                    << QStringLiteral("1-Nist-3|1-Spec-3|2-Nist-7|2-Spec-7|")
                                    << QStringLiteral("11:150x75 12:150x75 ") << QStringLiteral("colspan=\"2\"")
                                    << QStringLiteral("bmp handle");
        QTest::newRow("not matched")
            << QStringLiteral(
                   "<h2>\"other\" peak not matched</h2><br><br><table border=1><tr><td>RT = 4.00<br>RI = -1.0</td></tr>"
                   "<tr><td><bmp handle=0 cx=150 cy=75><br><a msg=\"2-Nist-0\">Send to NIST</a> <a "
                   "msg=\"2-Spec-0\">Send to MS options</a></td></tr></table>")
            << QStringLiteral("2-Nist-0|2-Spec-0|") << QStringLiteral("0:150x75 ")
            << QStringLiteral("&quot;other&quot; peak") << QString();
        QTest::newRow("summary picture") << QStringLiteral("<td><bmp handle=4 cx=300 cy=120><br><a "
                                                           "msg=\"3-Nist-12\">Send to NIST</a></td>")
                                         << QStringLiteral("3-Nist-12|") << QStringLiteral("4:300x120 ")
                                         << QStringLiteral("<td>") << QString();
        QTest::newRow("bold, colour, details")
            << QStringLiteral(
                   "<b>Forward</b> match<br><font color=\"#ff0000\">red</font> <font color=\"x;y\">plain</font>")
            << QString() << QString() << QStringLiteral("<font color=\"#ff0000\">red</font>") << QStringLiteral("x;y");
        QTest::newRow("foreign tags are text")
            << QStringLiteral("<img src=\"/etc/passwd\"><a href=\"file:/x\" msg='m-1'>x</a> 3 < 4 <script>")
            << QStringLiteral("m-1|") << QString() << QStringLiteral("&lt;img src=&quot;/etc/passwd&quot;&gt;")
            << QStringLiteral("file:");
        QTest::newRow("huge picture clamped") << QStringLiteral("<bmp handle=99999999999 cx=999999 cy=-5>") << QString()
                                              << QStringLiteral("99999999999:2000x1 ") << QString() << QString();
    }

    void translatesEveryForm()
    {
        QFETCH(QString, text);
        QFETCH(QString, links);
        QFETCH(QString, pictures);
        QFETCH(QString, mustContain);
        QFETCH(QString, mustNotContain);
        const CTipHtml tip = TranslateTipHtml(text.toStdString());
        QCOMPARE(QString::fromStdString(Joined(tip.Links)), links);
        QString shown;
        for (const CTipPicture& picture : tip.Pictures)
            shown += QStringLiteral("%1:%2x%3 ").arg(picture.Handle).arg(picture.Width).arg(picture.Height);
        QCOMPARE(shown, pictures);
        if (!mustContain.isEmpty())
            QVERIFY2(tip.RichText.contains(mustContain), qPrintable(tip.RichText));
        if (!mustNotContain.isEmpty())
            QVERIFY2(!tip.RichText.contains(mustNotContain), qPrintable(tip.RichText));
        for (std::size_t k = 0; k < tip.Links.size(); ++k)
            QCOMPARE(*TipLinkMessage(tip, QStringLiteral("msg:%1").arg(k)), tip.Links[k]);
        QVERIFY(TipLinkMessage(tip, QStringLiteral("msg:%1").arg(tip.Links.size())) == nullptr);
        QVERIFY(TipLinkMessage(tip, QStringLiteral("file:/etc/passwd")) == nullptr);
    }

    void rendersTableAndPicturesAndReportsEachLink()
    {
        QWidget host;
        host.resize(200, 200);
        host.show();
        CHtmlToolTip tip(&host);
        QImage red(150, 75, QImage::Format_RGB32);
        red.fill(Qt::red);
        const unsigned long handle = tip.Pictures().Add(red);
        tip.ShowText(QString::fromLatin1(kPairText).arg(handle).arg(4242).toStdString(), host.mapToGlobal(QPoint()));
        QVERIFY(tip.isVisible());

        // Three rows, the second one cell spanning both columns.
        QTextTable* table = nullptr;
        for (QTextBlock block = tip.Document().begin(); block.isValid() && table == nullptr; block = block.next())
            table = QTextCursor(block).currentTable();
        QVERIFY(table != nullptr);
        QCOMPARE(table->rows(), 3);
        QCOMPARE(table->cellAt(1, 0).columnSpan(), 2);

        // The registered picture is shown, the unknown handle as a white box of the asked size.
        const QImage shown = tip.grab().toImage();
        if (qEnvironmentVariableIsSet("CORVELIN_SCREENSHOT_DIR"))
            shown.save(ScreenshotFolder() + QStringLiteral("/html-tooltip.png"));
        int redPixels = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                redPixels += shown.pixelColor(x, y) == QColor(Qt::red) ? 1 : 0;
        QVERIFY2(redPixels >= 140 * 70 && redPixels <= 150 * 75, qPrintable(QString::number(redPixels)));
        const QVariant blank = tip.Document().resource(QTextDocument::ImageResource, QUrl(QStringLiteral("bmp:4242")));
        QCOMPARE(blank.value<QImage>().size(), QSize(150, 75));

        // Clicking each link reports exactly its message text and hides the tip.
        const std::map<std::string, QPoint> points = LinkPoints(tip);
        QCOMPARE(points.size(), std::size_t{4});
        for (const auto& [message, point] : points) {
            tip.ShowText(QString::fromLatin1(kPairText).arg(handle).arg(4242).toStdString(), QPoint());
            QSignalSpy spy(&tip, &CHtmlToolTip::LinkActivated);
            QTest::mouseClick(&tip, Qt::LeftButton, {}, point);
            QCOMPARE(spy.count(), 1);
            QCOMPARE(spy.at(0).at(0).toString().toStdString(), message);
            QVERIFY(!tip.isVisible());
        }
        // A click beside the links reports nothing.
        tip.ShowText(QString::fromLatin1(kPairText).arg(handle).arg(4242).toStdString(), QPoint());
        QSignalSpy spy(&tip, &CHtmlToolTip::LinkActivated);
        QTest::mouseClick(&tip, Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(spy.count(), 0);
    }

    void showsAfterTheInitialDelayAndHidesAfterTheHideDelay()
    {
        QWidget host;
        host.resize(300, 300);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        CHtmlToolTip tip(&host);
        QCOMPARE(tip.InitialDelay(), 1500);
        QCOMPARE(tip.HideDelay(), 15000);
        tip.SetDelays(100, 2000);
        tip.SetTextProvider(
            [](const QPoint& pos) { return pos.x() < 150 ? std::string("<b>left</b>") : std::string(); });
        tip.AddTool(QRect(0, 0, 20, 20), "corner");

        QTest::mouseMove(&host, QPoint(50, 50));
        QTest::qWait(30);
        QVERIFY(!tip.isVisible());
        QVERIFY(WaitFor([&] { return tip.isVisible(); }, 2000));
        QCOMPARE(tip.ShownText(), std::string("<b>left</b>"));
        QVERIFY(WaitFor([&] { return !tip.isVisible(); }, 4000)); // the hide delay

        QCOMPARE(tip.TextAt(QPoint(5, 5)), std::string("corner"));
        QCOMPARE(tip.TextAt(QPoint(200, 5)), std::string());
        tip.ClearTools();
        QCOMPARE(tip.TextAt(QPoint(5, 5)), std::string("<b>left</b>"));

        // The mouse leaves the host for the tip: the tip stays while the mouse is in it, and goes when it leaves.
        QTest::mouseMove(&host, QPoint(50, 60));
        QVERIFY(WaitFor([&] { return tip.isVisible(); }, 2000));
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&host, &leave);
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QCoreApplication::sendEvent(&tip, &enter);
        QTest::qWait(600); // beyond the time allowed for the way into the tip
        QVERIFY(tip.isVisible());
        QCoreApplication::sendEvent(&tip, &leave);
        QVERIFY(!tip.isVisible());
        // Without reaching the tip, leaving the host hides it.
        QTest::mouseMove(&host, QPoint(50, 70));
        QVERIFY(WaitFor([&] { return tip.isVisible(); }, 2000));
        QCoreApplication::sendEvent(&host, &leave);
        QVERIFY(WaitFor([&] { return !tip.isVisible(); }, 2000));

        // Nothing to say there: no tip.
        QTest::mouseMove(&host, QPoint(200, 50));
        QTest::qWait(300);
        QVERIFY(!tip.isVisible());
    }
};

CORVELIN_GUI_TEST_MAIN(HtmlToolTipTest)
#include "tst_HtmlToolTip.moc"
