// Start-up: one copy per data directory, the second one brings the first forward, and the toolkit check.

#include "gui/app/main_frame.h"
#include "gui/app/single_instance.h"
#include "gui/app/terrix_app.h"
#include "gui/app/toolkit_check.h"
#include "gui_test_support.h"

#include <QApplication>
#include <QTest>

using namespace terrix;

class TestAppStartup : public QObject {
    Q_OBJECT

    test::TempDataDir data_;

private Q_SLOTS:
    void secondCopyAsksTheFirstToComeForward() {
        CSingleInstance first(data_.Path());
        QVERIFY(first.TryBecomeFirst());
        int activations = 0;
        first.SetActivateHandler([&] { return ++activations, true; });

        CSingleInstance second(data_.Path());
        QVERIFY(!second.TryBecomeFirst());
        QVERIFY(!second.IsFirst());
        QVERIFY(second.ActivateFirst());
        QCOMPARE(activations, 1);
    }

    void firstCopyWithoutWindowCannotBeActivated() {
        CSingleInstance first(data_.Path());
        QVERIFY(first.TryBecomeFirst());
        first.SetActivateHandler([] { return false; });
        CSingleInstance second(data_.Path());
        QVERIFY(!second.TryBecomeFirst());
        QVERIFY(!second.ActivateFirst());
    }

    void theLockIsFreeAgainWhenTheFirstCopyEnds() {
        {
            CSingleInstance first(data_.Path());
            QVERIFY(first.TryBecomeFirst());
        }
        CSingleInstance next(data_.Path());
        QVERIFY(next.TryBecomeFirst());
    }

    void otherDataDirectoriesRunTheirOwnCopy() {
        QTemporaryDir other;
        CSingleInstance first(data_.Path());
        CSingleInstance elsewhere(other.path());
        QVERIFY(first.TryBecomeFirst());
        QVERIFY(elsewhere.TryBecomeFirst());
        QVERIFY(first.ServerName() != elsewhere.ServerName());
    }

    void secondStartShowsTheMessageBringsTheFirstForwardAndOpensNoWindow() {
        test::MessageRecorder messages;
        CTerrixApp first;
        QVERIFY(first.InitInstance());
        QVERIFY(first.MainFrame() != nullptr);
        first.MainFrame()->showMinimized();
        QCoreApplication::processEvents();

        CTerrixApp second;
        QVERIFY(!second.InitInstance());
        QVERIFY(second.MainFrame() == nullptr);
        QCOMPARE(messages.Texts(), QStringList{QStringLiteral("Activating already started application...")});
        QCOMPARE(messages.messages.front().icon, MessageIcon::Information);
        QVERIFY(!first.MainFrame()->isMinimized());
        QCOMPARE(QCoreApplication::organizationName(), QStringLiteral("ORVA GmbH"));
    }

    void secondStartWithoutAnsweringFirstCopySaysSo() {
        test::MessageRecorder messages;
        CSingleInstance blocker(data_.Path()); // holds the lock but brings no window forward
        QVERIFY(blocker.TryBecomeFirst());
        CTerrixApp second;
        QVERIFY(!second.InitInstance());
        QCOMPARE(messages.Texts(),
                 (QStringList{QStringLiteral("Activating already started application..."),
                              QStringLiteral(
                                  "Could'nt activate already started application! Please do it yourself!")}));
    }

    void versionComparison_data() {
        QTest::addColumn<QString>("runtime");
        QTest::addColumn<QString>("required");
        QTest::addColumn<bool>("sufficient");
        QTest::newRow("same") << "6.4.2"
                              << "6.4" << true;
        QTest::newRow("newer minor") << "6.5.0"
                                     << "6.4" << true;
        QTest::newRow("newer major") << "7.0"
                                     << "6.4" << true;
        QTest::newRow("older minor") << "6.3.9"
                                     << "6.4" << false;
        QTest::newRow("older major") << "5.15.2"
                                     << "6.4" << false;
        QTest::newRow("two-digit minor") << "6.10.0"
                                         << "6.4" << true;
    }

    void versionComparison() {
        QFETCH(QString, runtime);
        QFETCH(QString, required);
        QFETCH(bool, sufficient);
        QCOMPARE(VersionAtLeast(runtime, required), sufficient);
    }

    void theRunningToolkitIsSufficient() {
        QString required;
        QVERIFY(ToolkitSufficient(&required));
        QCOMPARE(required, QStringLiteral("%1.%2").arg(QT_VERSION_MAJOR).arg(QT_VERSION_MINOR));
    }
};

QTEST_MAIN(TestAppStartup)
#include "tst_app_startup.moc"
