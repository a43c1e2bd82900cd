// The serial-port set-up and the bus traffic monitor.

#include "core/bus/commands.h"
#include "core/platform/com_port.h"
#include "core/platform/ini_section.h"
#include "gui/busops/serial_ports_dlg.h"
#include "gui/busops/traffic_monitor.h"
#include "gui_test_support.h"
#include "virtual_bus_time.h"

#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QTest>

using namespace terrix;

class TestBusTools : public QObject {
    Q_OBJECT

    test::TempDataDir data_;

private Q_SLOTS:
    void stableDeviceName() {
        QDir dir(data_.Path());
        QVERIFY(dir.mkpath(QStringLiteral("by-id")));
        for (const char* name : {"ttyFAKE0", "ttyFAKE1"}) {
            QFile file(dir.filePath(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const QString link = dir.filePath(QStringLiteral("by-id/usb-FTDI_FT232R_A1B2-if00-port0"));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("ttyFAKE0")), link));
        const QString byId = dir.filePath(QStringLiteral("by-id"));
        QCOMPARE(StableDeviceName(dir.filePath(QStringLiteral("ttyFAKE0")), byId), link);
        QCOMPARE(StableDeviceName(dir.filePath(QStringLiteral("ttyFAKE1")), byId), QString());
        QCOMPARE(StableDeviceName(dir.filePath(QStringLiteral("ttyMISSING")), byId), QString());
        QCOMPARE(PreferredDeviceName({QStringLiteral("/dev/ttyUSB0"), link, {}, {}, {}}), link);
        QCOMPARE(PreferredDeviceName({QStringLiteral("/dev/ttyS0"), {}, {}, {}, {}}),
                 QStringLiteral("/dev/ttyS0"));
    }

    // OK stores only what changed; Test names the device and the cause when it cannot be opened.
    void serialPortsStoresTheChoice() {
        test::MessageRecorder messages;
        BusContext context;
        CSerialPortsDlg dialog(context, nullptr);
        QCOMPARE(dialog.PortCombo(1)->currentText(), QStringLiteral("/dev/ttyS0"));
        dialog.PortCombo(2)->setEditText(QStringLiteral("/nonexistent/ttyUSB7"));
        dialog.OnTest(2);
        QVERIFY2(messages.Texts().value(0).contains(QStringLiteral("/nonexistent/ttyUSB7")),
                 qPrintable(messages.Texts().value(0)));
        dialog.PortCombo(3)->setEditText(QStringLiteral("sim"));
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        CIniSection ports;
        ports.SetSection("Serial ports");
        QVERIFY(!ports.HasKey("COM1"));
        QCOMPARE(ports.ReadString("COM2", ""), std::string("/nonexistent/ttyUSB7"));
        QCOMPARE(PortDeviceName(3), std::string("sim"));
    }

    // Frames of real transactions are listed (oldest dropped beyond the limit), a pause lists nothing,
    // and the saved text has the trace format of the command-line tool.
    void trafficMonitor() {
        test::VirtualBusTime time;
        BusContext context;
        CTrafficMonitor monitor(context, nullptr, 5);
        const PortHandle port = ComOpenDevice("sim", kBusBaud);
        QVERIFY(port != kInvalidPort);
        StationInfoBlock block{};
        QVERIFY(ReadStationInfo(port, 2, block));
        QTRY_COMPARE(monitor.Model().Size(), size_t(2));
        const QAbstractItemModel& model = monitor.Model();
        QCOMPARE(model.index(0, TrafficModel::kStation).data().toString(), QStringLiteral("2"));
        QCOMPARE(model.index(0, TrafficModel::kCommand).data().toString(),
                 QStringLiteral("2 read station info"));
        QVERIFY(model.index(1, TrafficModel::kOutcome).data().toString().startsWith(QStringLiteral("ok")));
        QVERIFY(!ReadStationInfo(port, 99, block)); // nobody there: the reply's failure is listed
        QTRY_COMPARE(monitor.Model().Size(), size_t(4));
        QVERIFY(model.index(3, TrafficModel::kOutcome).data().toString().startsWith(QStringLiteral("9")));
        for (int i = 0; i < 3; ++i) {
            QVERIFY(ReadStationInfo(port, 1, block));
        }
        QTRY_COMPARE(monitor.Model().Size(), size_t(5));
        QTest::qWait(20);
        QCOMPARE(monitor.Model().Size(), size_t(5));
        QCOMPARE(model.index(4, TrafficModel::kStation).data().toString(), QStringLiteral("1"));

        const QString path = data_.File(QStringLiteral("trace.txt"));
        QString error;
        QVERIFY(monitor.SaveText(path, error));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        const QStringList lines =
            QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 5);
        QVERIFY2(lines.back().contains(QStringLiteral(" ms] RX st=1 cmd=2 ")), qPrintable(lines.back()));

        monitor.Model().Clear();
        QCOMPARE(model.rowCount(), 0);
        monitor.PauseButton()->click();
        QVERIFY(ReadStationInfo(port, 1, block));
        QTest::qWait(20);
        QCOMPARE(model.rowCount(), 0);
        monitor.PauseButton()->click();
        QVERIFY(ReadStationInfo(port, 1, block));
        QTRY_COMPARE(model.rowCount(), 2);
        ComClose(port);
    }
};

QTEST_MAIN(TestBusTools)
#include "tst_bus_tools.moc"
