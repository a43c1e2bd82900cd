// The dialog base: placement in the settings file, the layout around the list, owner notification and the
// confirmation of changes.

#include "core/platform/ini_section.h"
#include "gui/toolkit/placement_dialog.h"
#include "gui/toolkit/report_list_ctrl.h"
#include "gui_test_support.h"

#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QSizeGrip>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

using namespace terrix;

namespace {

// A list with two columns, a button beside it and one below it.
class ListDialog : public CPlacementDialog {
public:
    explicit ListDialog(QWidget* parent = nullptr) : CPlacementDialog(parent) {
        list = new CReportListCtrl(this);
        list->setGeometry(10, 10, 200, 150);
        list->InsertColumn(0, QStringLiteral("A"), Qt::AlignLeft, 60);
        list->InsertColumn(1, QStringLiteral("B"), Qt::AlignLeft, 80);
        beside = new QPushButton(QStringLiteral("beside"), this);
        beside->setGeometry(220, 10, 80, 25);
        below = new QPushButton(QStringLiteral("below"), this);
        below->setGeometry(10, 170, 80, 25);
        SetResizable(true);
        resize(310, 205);
    }
    CReportListCtrl* list;
    QPushButton* beside;
    QPushButton* below;
};

class ApplyingDialog : public CPlacementDialog {
public:
    using CPlacementDialog::CPlacementDialog;
    bool Apply() override { return ++applied, applyResult; }
    bool applyResult = true;
    int applied = 0;
};

// An owner as windows have them: it connects to the childClosed signal of what it creates.
class Owner : public QWidget {
public:
    void Watch(CPlacementDialog* dialog) {
        connect(dialog, &CPlacementDialog::childClosed, this,
                [this](QWidget* child) { closed.push_back(child); });
    }
    std::vector<QWidget*> closed;
};

} // namespace

class TestPlacementDialog : public QObject {
    Q_OBJECT

    test::TempDataDir data_;

    std::filesystem::path Ini() const { return data_.File(QStringLiteral("placement.ini")).toStdString(); }

private Q_SLOTS:
    void init() { std::filesystem::remove(Ini()); }

    void placementRoundTrip() {
        QWidget parent;
        parent.resize(1000, 800);
        // Odd fractions, and the edges, stored as 0, which is as good a placement as any other.
        for (const QRect geometry : {QRect(123, 77, 300, 200), QRect(333, 251, 257, 199),
                                     QRect(0, 50, 300, 200), QRect(40, 0, 300, 200)}) {
            {
                CPlacementDialog dialog(&parent);
                dialog.setGeometry(geometry);
                QVERIFY(dialog.SaveWindowPlacement("Test", Ini()));
            }
            CPlacementDialog restored(&parent);
            restored.setGeometry(500, 500, 100, 100);
            QVERIFY(restored.LoadWindowPlacement("Test", Ini()));
            QCOMPARE(restored.geometry(), geometry);
        }
    }

    void placementIsStoredAsFractionsOfTheParent() {
        QWidget parent;
        parent.resize(1000, 800);
        CPlacementDialog dialog(&parent);
        dialog.setGeometry(100, 200, 400, 200);
        QVERIFY(dialog.SaveWindowPlacement("Test", Ini()));
        const CIniSection ini(Ini(), "Test");
        QCOMPARE(ini.ReadString("Window Left", ""), std::string("0.100000"));
        QCOMPARE(ini.ReadString("Window Right", ""), std::string("0.500000"));
        QCOMPARE(ini.ReadString("Window Top", ""), std::string("0.250000"));
        QCOMPARE(ini.ReadString("Window Bottom", ""), std::string("0.500000"));

        // A parent of another size places the window at the same fractions.
        QWidget other;
        other.resize(2000, 1600);
        CPlacementDialog scaled(&other);
        QVERIFY(scaled.LoadWindowPlacement("Test", Ini()));
        QCOMPARE(scaled.geometry(), QRect(200, 400, 800, 400));
    }

    void unusablePlacementIsIgnored() {
        // Missing, garbled, negative, right before left, not finite.
        const std::pair<const char*, const char*> cases[] = {
            {nullptr, "0.5"}, {"abc", "0.5"}, {"-0.1", "0.5"}, {"0.6", "0.5"}, {"inf", "0.5"}};
        for (const auto& [left, right] : cases) {
            std::filesystem::remove(Ini());
            CIniSection ini(Ini(), "Test");
            ini.BeginUpdate();
            if (left != nullptr) {
                ini.WriteString("Window Left", left);
            }
            ini.WriteString("Window Right", right);
            ini.WriteString("Window Top", "0.1");
            ini.WriteString("Window Bottom", "0.5");
            QVERIFY(ini.EndUpdate());
            QWidget parent;
            parent.resize(1000, 800);
            CPlacementDialog dialog(&parent);
            dialog.setGeometry(10, 20, 300, 200);
            QVERIFY(!dialog.LoadWindowPlacement("Test", Ini()));
            QCOMPARE(dialog.geometry(), QRect(10, 20, 300, 200));
        }
    }

    void widerDialogStretchesTheListAndMovesTheControlsBesideIt() {
        ListDialog dialog;
        dialog.show();
        QVERIFY(dialog.IsResizable());
        QCOMPARE(dialog.minimumSize(), QSize(310, 205));
        QVERIFY(dialog.SizeGrip() != nullptr);
        QCOMPARE(dialog.SizeGrip()->geometry(), QRect(300, 195, 10, 10));

        dialog.resize(410, 205);
        QTRY_COMPARE(dialog.size(), QSize(410, 205));
        QCOMPARE(dialog.list->geometry(), QRect(10, 10, 300, 150));
        QCOMPARE(dialog.beside->geometry(), QRect(320, 10, 80, 25));
        QCOMPARE(dialog.below->geometry(), QRect(10, 170, 80, 25));
        QCOMPARE(dialog.SizeGrip()->geometry(), QRect(400, 195, 10, 10));

        // Columns follow the list: base width x (inner width, less a vertical scroll bar) / sum of the bases.
        int inner = 300 - 2 * dialog.list->frameWidth();
        if (dialog.list->verticalScrollBar()->isVisible()) {
            inner -= dialog.list->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        }
        QCOMPARE(dialog.list->columnWidth(0), 60 * inner / 140);
        QCOMPARE(dialog.list->columnWidth(1), 80 * inner / 140);
        QVERIFY(dialog.list->IsRedrawOn());

        dialog.resize(410, 305);
        QTRY_COMPARE(dialog.size(), QSize(410, 305));
        QCOMPARE(dialog.list->geometry(), QRect(10, 10, 300, 250));
        QCOMPARE(dialog.beside->geometry(), QRect(320, 10, 80, 25));
        QCOMPARE(dialog.below->geometry(), QRect(10, 270, 80, 25));
    }

    void columnsWiderThanTheListKeepTheirWidths() {
        ListDialog dialog;
        dialog.list->setColumnWidth(0, 400);
        dialog.show();
        dialog.resize(360, 205);
        QTRY_COMPARE(dialog.size(), QSize(360, 205));
        QCOMPARE(dialog.list->columnWidth(0), 400);
        QCOMPARE(dialog.list->columnWidth(1), 80);
    }

    void aColumnSizedByTheUserBecomesTheBase() {
        ListDialog dialog;
        dialog.show();
        dialog.resize(410, 205);
        QTRY_COMPARE(dialog.size(), QSize(410, 205));
        dialog.list->setColumnWidth(0, 100); // as if dragged: 100 and the 80 of column 1 are the new bases
        const int widthBefore = dialog.list->columnWidth(1);
        dialog.resize(420, 205);
        QTRY_COMPARE(dialog.size(), QSize(420, 205));
        int inner = 310 - 2 * dialog.list->frameWidth();
        if (dialog.list->verticalScrollBar()->isVisible()) {
            inner -= dialog.list->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        }
        QCOMPARE(dialog.list->columnWidth(0), 100 * inner / 180);
        QVERIFY(dialog.list->columnWidth(1) != widthBefore);
    }

    // With a Qt layout the layout places the controls; the base adds the size grip, the initial size as the
    // minimum and the column rescaling of the list. Without a sizing border the layout fixes the size.
    void layoutDialogGrowsByItsStretchFactors() {
        CPlacementDialog dialog;
        auto* list = new CReportListCtrl;
        list->InsertColumn(0, QStringLiteral("A"), Qt::AlignLeft, 60);
        list->InsertColumn(1, QStringLiteral("B"), Qt::AlignLeft, 80);
        auto* button = new QPushButton(QStringLiteral("below"));
        auto* layout = new QVBoxLayout(&dialog);
        layout->addWidget(list, 1);
        layout->addWidget(button, 0);
        dialog.SetResizable(true);
        dialog.resize(310, 205);
        dialog.show();
        QCOMPARE(dialog.minimumSize(), dialog.InitialSize());
        QVERIFY(dialog.isSizeGripEnabled());
        const QRect listBefore = list->geometry();
        const QRect buttonBefore = button->geometry();
        dialog.resize(410, 305);
        QTRY_COMPARE(list->width(), listBefore.width() + 100);
        QCOMPARE(list->height(), listBefore.height() + 100);
        QCOMPARE(button->height(), buttonBefore.height());
        QVERIFY(list->columnWidth(0) > 60); // the columns grew with the list

        CPlacementDialog fixed;
        new QVBoxLayout(&fixed);
        fixed.layout()->addWidget(new QPushButton(QStringLiteral("OK")));
        fixed.show();
        QCOMPARE(fixed.layout()->sizeConstraint(), QLayout::SetFixedSize);
    }

    void proportionalControlsKeepTheirFraction() {
        ListDialog dialog;
        auto* centred = new QPushButton(QStringLiteral("centre"), &dialog);
        centred->setGeometry(100, 180, 40, 20); // 100 / (400 - 100): a third of the way
        dialog.resize(400, 205);
        dialog.show();
        dialog.AddLayoutControl(centred, CPlacementDialog::kProportional, CPlacementDialog::kFixed);
        dialog.resize(800, 205);
        QTRY_COMPARE(dialog.size(), QSize(800, 205));
        QCOMPARE(centred->geometry(), QRect(200, 180, 40, 20));
    }

    void growthCanBeLimited() {
        ListDialog dialog;
        dialog.SetLayoutOptions(false, false, true);
        dialog.show();
        QCOMPARE(dialog.maximumWidth(), 310);
        QVERIFY(dialog.maximumHeight() > 205);
        QVERIFY(dialog.SizeGrip() == nullptr);
    }

    void aDialogWithoutListKeepsItsSize() {
        CPlacementDialog dialog;
        auto* button = new QPushButton(QStringLiteral("only"), &dialog);
        button->setGeometry(10, 10, 80, 25);
        dialog.SetResizable(true);
        dialog.resize(200, 100);
        dialog.show();
        QVERIFY(!dialog.IsResizable());
        QCOMPARE(dialog.minimumSize(), QSize(200, 100));
        QCOMPARE(dialog.maximumSize(), QSize(200, 100));
    }

    void modelessWindowTellsItsOwnerExactlyOnce() {
        for (const bool byOk : {true, false}) {
            Owner owner;
            QPointer<CPlacementDialog> dialog = new CPlacementDialog(&owner);
            CPlacementDialog* const address = dialog;
            owner.Watch(dialog);
            dialog->Create();
            QVERIFY(!dialog->IsModal());
            byOk ? dialog->accept() : dialog->reject();
            QCOMPARE(owner.closed, std::vector<QWidget*>{address});
            QTRY_VERIFY(dialog == nullptr); // deletes itself
            QCOMPARE(owner.closed.size(), size_t{1});
        }
    }

    void modalDialogDoesNotNotify() {
        Owner owner;
        CPlacementDialog dialog(&owner);
        owner.Watch(&dialog);
        QTimer::singleShot(0, &dialog, &QDialog::accept);
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QVERIFY(owner.closed.empty());
    }

    void cancelWithChangesAsks() {
        test::MessageRecorder messages;
        ApplyingDialog dialog;
        dialog.setWindowTitle(QStringLiteral("Offset"));
        dialog.show();
        QCOMPARE(dialog.SetModified(1), 0);
        messages.answers = {QMessageBox::No};
        dialog.reject();
        QVERIFY(dialog.isVisible());
        QCOMPARE(messages.Texts(), QStringList{QString::fromUtf8("Wollen Sie Ihre Änderung verwerfen?")});
        QCOMPARE(messages.messages.front().caption, QStringLiteral("Offset"));
        QCOMPARE(messages.messages.front().icon, MessageIcon::Question);
        messages.answers = {QMessageBox::Yes};
        dialog.reject();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(dialog.applied, 0);
    }

    void okWithChangesAppliesThem() {
        const QString ask = QString::fromUtf8("Wollen Sie die Änderung durchführen?");
        const struct {
            QMessageBox::StandardButton answer;
            bool applyResult;
            int applied;
            bool staysOpen;
            QStringList messages;
        } cases[] = {
            {QMessageBox::Yes, true, 1, false, {ask, QString::fromUtf8("Änderung ausgeführt.")}},
            {QMessageBox::Yes,
             false,
             1,
             true,
             {ask, QString::fromUtf8("Änderung konnte nicht ausgeführt werden!")}},
            {QMessageBox::No, true, 0, false, {ask}},
        };
        for (const auto& c : cases) {
            test::MessageRecorder recorder;
            recorder.answers = {c.answer};
            ApplyingDialog dialog;
            dialog.applyResult = c.applyResult;
            dialog.show();
            dialog.SetModified(1);
            dialog.accept();
            QCOMPARE(recorder.Texts(), c.messages);
            QCOMPARE(dialog.applied, c.applied);
            QCOMPARE(dialog.isVisible(), c.staysOpen);
        }
    }
};

QTEST_MAIN(TestPlacementDialog)
#include "tst_placement_dialog.moc"
