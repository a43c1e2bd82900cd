// The station-number and conversion-time dialogs over the in-process simulated bus, in virtual time.

#include "core/bus/bus_trace.h"
#include "core/bus/commands.h"
#include "core/busops/conversion_count.h"
#include "core/busops/identification.h"
#include "core/inventory/bus_info_file.h"
#include "core/inventory/unit_names.h"
#include "core/platform/ini_section.h"
#include "gui/busops/conversion_time_dlg.h"
#include "gui/busops/station_number_dlg.h"
#include "gui/toolkit/string_catalogue.h"
#include "gui_test_support.h"
#include "virtual_bus_time.h"

#include <QTest>

using namespace terrix;

namespace {

class FrameCounter final : public BusTraceObserver {
public:
    FrameCounter() { SetBusTraceObserver(this); }
    ~FrameCounter() override { SetBusTraceObserver(nullptr); }
    void OnFrame(const BusTraceEvent& event) override {
        if (event.direction == BusTraceEvent::Direction::Sent) {
            ++sent;
        }
    }
    int sent = 0;
};

// The built-in bus: probes at stations 1 and 2, the XV module at 3, identified into the context's list.
void IdentifyDefaultBus(BusContext& context) {
    context.portContext.nPortNo = 1;
    context.portContext.device = "sim";
    PortUser user(&context.portContext);
    QVERIFY(user.Acquire());
    for (uint8_t station : {1, 2, 3}) {
        auto record = std::make_unique<ModuleRecord>();
        QVERIFY(IdentifyModule(user.Port(), station, *record, UnitName));
        QVERIFY(context.busList.Add(std::move(record)));
    }
    user.Release();
}

uint16_t SerialAt(BusContext& context, uint8_t station) {
    PortUser user(&context.portContext);
    if (!user.Acquire()) {
        return 0;
    }
    StationInfoBlock block{};
    const bool ok = ReadStationInfo(user.Port(), station, block);
    user.Release();
    return ok ? StationInfo::FromBytes(block).wSerialNo : 0;
}

} // namespace

class TestModuleBusDialogs : public QObject {
    Q_OBJECT

    test::TempDataDir data_;

private Q_SLOTS:
    void stationNumberRefusals() {
        test::VirtualBusTime time;
        BusContext context;
        IdentifyDefaultBus(context);
        ModuleRecord& first = *context.busList.FindByStation(1);
        struct Case {
            const char* what;
            std::function<void(ModuleRecord&)> change;
            int text;
        };
        const Case cases[] = {
            {"disabled", [](ModuleRecord& r) { r.bDisabled = 1; }, 24639},
            {"collision placeholder", [](ModuleRecord& r) { r.enModuleState = msCollision; }, 24638},
        };
        for (const Case& c : cases) {
            test::MessageRecorder messages;
            ModuleRecord record = first;
            c.change(record);
            FrameCounter frames;
            QVERIFY2(!RunStationNumberDialog(context, nullptr, record), c.what);
            QCOMPARE(messages.Texts().value(0), FindText(TextKind::String, c.text));
            QCOMPARE(frames.sent, 0);
        }

        test::MessageRecorder messages;
        CStationNumberDlg dialog(context, nullptr, first);
        QVERIFY(dialog.SetUp());
        QVERIFY(!dialog.NewEdit()->SetTextChecked(QStringLiteral("253")));
        QCOMPARE(dialog.NewEdit()->GetValue(), 1u);
        QVERIFY(messages.Texts().value(0).contains(QStringLiteral("252")));
        messages.Clear();
        FrameCounter frames;
        dialog.accept(); // unchanged: closes without asking or sending
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(messages.messages.empty());
        // Station 2 belongs to another module of the bus.
        QVERIFY(dialog.NewEdit()->SetValue(2));
        dialog.accept();
        QCOMPARE(messages.messages.size(), size_t(1));
        QVERIFY(messages.Texts().value(0).contains(QStringLiteral("already used")));
        QCOMPARE(frames.sent, 0);
        QCOMPARE(first.iaStation, 1);
    }

    void stationNumberMovesTheRecordsModule() {
        test::VirtualBusTime time;
        BusContext context;
        IdentifyDefaultBus(context);
        ModuleRecord& first = *context.busList.FindByStation(1);
        const uint16_t serial = first.SerialNo();
        {
            // A record whose station is answered by another module (swapped since the scan): refused
            // before anything is sent to move it.
            test::MessageRecorder messages;
            messages.answers = {QMessageBox::Yes};
            ModuleRecord stale = first;
            stale.stationInfo.wSerialNo = static_cast<uint16_t>(serial + 1);
            CStationNumberDlg dialog(context, nullptr, stale);
            QVERIFY(dialog.SetUp());
            dialog.NewEdit()->SetValue(10);
            dialog.accept();
            QVERIFY(messages.Texts().value(1).contains(QString::number(serial)));
            QCOMPARE(stale.iaStation, 1);
        }
        QCOMPARE(SerialAt(context, 1), serial);
        QCOMPARE(SerialAt(context, 10), 0); // nobody was moved there

        test::MessageRecorder messages;
        CStationNumberDlg dialog(context, nullptr, first);
        QVERIFY(dialog.SetUp());
        dialog.NewEdit()->SetValue(10);
        dialog.accept(); // confirmed (Yes), applied, "Änderung ausgeführt."
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(messages.messages.size(), size_t(2));
        QCOMPARE(first.iaStation, 10);
        QCOMPARE(SerialAt(context, 10), serial);
        CIniSection busInfo;
        busInfo.SetSection(std::string(kBusInfoSection));
        QCOMPARE(busInfo.ReadDWord("Modules", 0), 3u);
    }

    void conversionTime() {
        test::VirtualBusTime time;
        BusContext context;
        IdentifyDefaultBus(context);
        ModuleRecord& xv = *context.busList.FindByStation(3);
        QVERIFY(xv.bIsTavikXV != 0);

        // The entry is limited to the times whose count fits the module's five-digit field.
        const uint32_t longest = MaxConversionSeconds();
        QVERIFY(CountFromSeconds(longest) <= kMaxNumberOfMeas);
        QVERIFY(CountFromSeconds(longest + 1) > kMaxNumberOfMeas);

        test::MessageRecorder messages;
        xv.dwNumberOfMeas0 = 100;
        {
            CConversionTimeDlg dialog(context, nullptr, xv);
            QVERIFY(dialog.SetUp());
            QCOMPARE(dialog.PreviousEdit()->GetValue(), 76u);
            QCOMPARE(dialog.NewCount(), 100u);
            QVERIFY(!dialog.NewEdit()->SetValue(longest + 1));
            QVERIFY(dialog.NewEdit()->SetValue(60));
            QCOMPARE(dialog.NewCount(), 79u);
            dialog.accept();
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        }
        QCOMPARE(xv.dwNumberOfMeas0, 79u);
        PortUser user(&context.portContext);
        QVERIFY(user.Acquire());
        QCOMPARE(ReadNumberOfMeas(user.Port(), 3, 0), 79);
        user.Release();

        // Only the XV module converts by a count.
        messages.Clear();
        QVERIFY(!RunConversionTimeDialog(context, nullptr, *context.busList.FindByStation(1)));
        QCOMPARE(messages.Texts().value(0), Text(24638));
    }
};

QTEST_MAIN(TestModuleBusDialogs)
#include "tst_module_bus_dialogs.moc"
