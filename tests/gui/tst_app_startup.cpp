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

    void theLockIsFreeAgainWhenTheFirstCopyEndsAndOtherDirectoriesHaveTheirOwn() {
        {
            CSingleInstance first(data_.Path());
            QVERIFY(first.TryBecomeFirst());
            QTemporaryDir other;
            CSingleInstance elsewhere(other.path());
            QVERIFY(elsewhere.TryBecomeFirst());
        }
        CSingleInstance next(data_.Path());
        QVERIFY(next.TryBecomeFirst());
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

    void versionComparison() {
        // runtime, required, sufficient: minors compare as numbers, not as text.
        const struct {
            const char* runtime;
            bool sufficient;
        } cases[] = {{"6.4.2", true}, {"6.10.0", true}, {"7.0", true}, {"6.3.9", false}, {"5.15.2", false}};
        for (const auto& c : cases) {
            QVERIFY2(VersionAtLeast(QString::fromLatin1(c.runtime), QStringLiteral("6.4")) == c.sufficient,
                     c.runtime);
        }
    }
};

QTEST_MAIN(TestAppStartup)
#include "tst_app_startup.moc"
