// The session ends (log-out, SIGTERM) while a modal window is open: a question of the circuit window, a
// value window's file dialog, an idle module dialog, the resolve dialog. Real boxes and dialogs run here,
// each in a nested event loop of its own, as they do for the user. The program's event loop must end within a
// few seconds, nothing may be deleted under a loop that still runs (AddressSanitizer watches) and the port
// must be free afterwards.

#include "core/platform/pump_wait.h"
#include "gui/app/window_table.h"
#include "gui/base/bus_activity.h"
#include "gui/base/session_end.h"
#include "gui/circuit/meas_circuit_dlg.h"
#include "gui/frame/main_frame.h"
#include "gui/measure/meas_value_dlg.h"
#include "gui_test_support.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace terrix;

using OpenModal = std::function<void(CMainFrame&, CMeasCircuitDlg&)>;
Q_DECLARE_METATYPE(OpenModal)

class TestSessionEnd : public QObject {
    Q_OBJECT

    test::TempDataDir data_;
    ModuleRecord xv_; // the XV module of the built-in bus (station 3)

private Q_SLOTS:
    void initTestCase() {
        ForbidBusWaitsOnThisThread();
        const std::vector<ModuleRecord> xv = test::IdentifiedSimModules({3});
        QCOMPARE(xv.size(), size_t{1});
        xv_ = xv[0];
    }

    void endsWithAModalOpen_data() {
        using Open = OpenModal;
        QTest::addColumn<Open>("open");
        QTest::addColumn<QString>("modalClass"); // what must be up when the session ends
        QTest::newRow("message box") << Open([](CMainFrame&, CMeasCircuitDlg& c) { c.OnRemove(); })
                                     << QStringLiteral("QMessageBox");
        QTest::newRow("value window's file dialog") << Open([](CMainFrame& f, CMeasCircuitDlg& c) {
            c.OnDisplayValues();
            const auto windows = f.findChildren<CMeasValueDlg*>();
            if (!windows.isEmpty()) {
                windows.constFirst()->OnSavePicture();
            }
        }) << QStringLiteral("QFileDialog");
        QTest::newRow("idle module dialog")
            << Open([](CMainFrame&, CMeasCircuitDlg& c) { c.OnEditUserInfo(); }) << QString();
        QTest::newRow("resolve dialog") << Open([](CMainFrame& f, CMeasCircuitDlg&) {
            ModuleRecord collision;
            collision.iaStation = 5;
            collision.enModuleState = msCollision;
            f.GetBusContext()->busList.Add(std::make_unique<ModuleRecord>(collision));
            f.OnResolveCollisions();
        }) << QStringLiteral("terrix::CResolveCollisionsDlg");
    }

    void endsWithAModalOpen() {
        QFETCH(OpenModal, open);
        QFETCH(QString, modalClass);
        auto* frame = new CMainFrame(AllFrameWindows());
        BusContext& context = *frame->GetBusContext();
        SessionEnd::Install(frame);
        const QPointer<CMeasCircuitDlg> circuit = test::ShowOnSimBus(*frame, {xv_});
        QVERIFY(circuit != nullptr);

        QString modalSeen;
        bool returned = false;
        QTimer::singleShot(0, frame, [&] {
            open(*frame, *circuit);
            returned = true;
        });
        // The session ends once the modal window is up and its window idle.
        QTimer ender;
        connect(&ender, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal != nullptr && !BusActivity::IsBusy(context)) {
                modalSeen = QString::fromLatin1(modal->metaObject()->className());
                ender.stop();
                SessionEnd::Begin();
            }
        });
        ender.start(50);
        QObject watchdog; // the loop must end well before; the timer goes with this object
        QTimer::singleShot(10000, &watchdog, [] { QApplication::exit(99); });
        QApplication::setQuitOnLastWindowClosed(true);
        QCOMPARE(QApplication::exec(), 0);
        ender.stop();
        QVERIFY(!modalSeen.isEmpty());
        if (!modalClass.isEmpty()) {
            QCOMPARE(modalSeen, modalClass);
        }
        QVERIFY(returned);
        QVERIFY(!frame->isVisible());
        QVERIFY(circuit.isNull() || !circuit->isVisible());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QVERIFY(!PortUser::IsReserved(context.portContext));
        delete frame;
    }
};

QTEST_MAIN(TestSessionEnd)
#include "tst_session_end.moc"
