// An exception that leaves an event handler is shown and ends that action only: out of memory and an engine
// error each give one message and a delivery that did not happen; a handler that returns passes its answer on.
#include <new>
#include <stdexcept>

#include "gui/app/GuardedApplication.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/support/RecordingMessageSink.h"

using namespace corvelin;

class GuardedApplicationTest : public QObject {
    Q_OBJECT

private slots:
    void failuresOfAnEventHandlerAreShownAndTheProgramGoesOn()
    {
        RecordingMessageSink sink;
        QVERIFY(DeliverReportingFailure([] { return true; }));
        QVERIFY(sink.entries.empty());
        QVERIFY(!DeliverReportingFailure([]() -> bool { throw std::bad_alloc(); }));
        QVERIFY(!DeliverReportingFailure([]() -> bool { throw std::runtime_error("cell table too small"); }));
        QCOMPARE(sink.entries.size(), std::size_t(2));
        QCOMPARE(sink.entries[0].text, std::string("Out of memory: the last action was not finished."));
        QCOMPARE(sink.entries[1].text,
                 std::string("Internal error: cell table too small\nThe last action was not finished."));
        QVERIFY(sink.entries[1].icon == MessageIcon::Stop);
    }
};

CORVELIN_GUI_TEST_MAIN(GuardedApplicationTest)
#include "tst_GuardedApplication.moc"
