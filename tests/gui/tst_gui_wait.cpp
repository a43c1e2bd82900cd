// Bus waits on the user-interface thread: the event loop runs until the deadline, which is never cut short.

#include "core/platform/pump_wait.h"
#include "gui/app/gui_wait.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

using namespace terrix;

class TestGuiWait : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { InstallGuiWaitHook(); }

    // What happens during the wait: timers tick, a handler starts a second wait (it sleeps rather than nest
    // a further event loop), or the application is told to quit. The wait lasts its time in every case.
    void waitRunsTheEventLoopUntilItsDeadline_data() {
        QTest::addColumn<QString>("during");
        QTest::newRow("timer ticks") << "ticks";
        QTest::newRow("nested wait") << "nested";
        QTest::newRow("quit") << "quit";
    }

    void waitRunsTheEventLoopUntilItsDeadline() {
        QFETCH(QString, during);
        int ticks = 0;
        QTimer timer;
        timer.setTimerType(Qt::PreciseTimer);
        connect(&timer, &QTimer::timeout, this, [&] {
            ++ticks;
            if (during == QLatin1String("nested") && ticks == 1) {
                PumpWait(30);
            }
        });
        timer.start(10);
        if (during == QLatin1String("quit")) {
            QTimer::singleShot(20, [] { QCoreApplication::exit(0); });
        }
        QElapsedTimer elapsed;
        elapsed.start();
        PumpWait(200);
        const qint64 ms = elapsed.elapsed();
        QVERIFY2(ms >= 200, qPrintable(QString::number(ms)));
        QVERIFY2(ms < 400, qPrintable(QString::number(ms)));
        if (during != QLatin1String("quit")) {
            QVERIFY2(ticks >= 10, qPrintable(QString::number(ticks))); // the loop ran while it waited
        }
    }
};

QTEST_MAIN(TestGuiWait)
#include "tst_gui_wait.moc"
