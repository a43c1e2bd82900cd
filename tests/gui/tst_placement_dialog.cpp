// The dialog base (placement, layout, owner notification, confirmed changes) and its report list (redraw
// lock, selection, columns by display position, saved column layout, title tips).

#include "core/platform/ini_section.h"
#include "gui/toolkit/placement_dialog.h"
#include "gui/toolkit/report_list_ctrl.h"
#include "gui/toolkit/virtual_list_model.h"
#include "gui/toolkit/window_fit.h"
#include "gui_test_support.h"

#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

using namespace terrix;

namespace {

// The list's width inside its frame and beside a vertical scroll bar: what its columns share.
int InnerWidth(const CReportListCtrl* list) {
    const int scrollBar =
        list->verticalScrollBar()->isVisible() ? list->style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0;
    return list->width() - 2 * list->frameWidth() - scrollBar;
}

class ApplyingDialog : public CPlacementDialog {
public:
    bool Apply() override { return ++applied, applyResult; }
    bool applyResult = true;
    int applied = 0;
};

// A list of `rows` rows and three columns inside a 600 pixel wide parent; cell (r, c) reads "r/c".
struct ListFixture {
    explicit ListFixture(int rows = 20) {
        parent.resize(600, 400);
        list = new CReportListCtrl(&parent);
        list->setGeometry(0, 0, 600, 400);
        list->InsertColumn(0, QStringLiteral("Station"), Qt::AlignRight, 60);
        list->InsertColumn(1, QStringLiteral("Module"), Qt::AlignLeft, 120);
        list->InsertColumn(2, QStringLiteral("Place"), Qt::AlignLeft, 100);
        list->ListModel()->SetCellText(
            [](int row, int column) { return QStringLiteral("%1/%2").arg(row).arg(column); });
        list->ListModel()->SetRowCount(rows);
    }
    QWidget parent;
    CReportListCtrl* list;
};

// Replaces `file` by one holding `section` with the given key=value lines.
void WriteKeys(const std::filesystem::path& file, const char* section, const QStringList& lines) {
    std::filesystem::remove(file);
    CIniSection ini(file, section);
    for (const QString& line : lines) {
        ini.WriteString(line.section(QLatin1Char('='), 0, 0).toStdString(),
                        line.section(QLatin1Char('='), 1).toStdString());
    }
}

// The list's column widths, then by display position the columns shown.
QList<int> Layout(const CReportListCtrl* list) {
    const QHeaderView* h = list->horizontalHeader();
    return {list->columnWidth(0), list->columnWidth(1), list->columnWidth(2),
            h->logicalIndex(0),   h->logicalIndex(1),   h->logicalIndex(2)};
}

} // namespace

class TestPlacementDialog : public QObject {
    Q_OBJECT

    test::TempDataDir data_;

    std::filesystem::path Ini() const { return data_.File(QStringLiteral("placement.ini")).toStdString(); }

private Q_SLOTS:
    void init() { std::filesystem::remove(Ini()); }

    // Stored as fractions of the parent, so that another parent scales it; odd fractions come back exactly.
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
        QWidget other;
        other.resize(2000, 1600);
        CPlacementDialog scaled(&other);
        QVERIFY(scaled.LoadWindowPlacement("Test", Ini()));
        QCOMPARE(scaled.geometry(), QRect(200, 400, 800, 400));

        for (const QRect geometry :
             {QRect(333, 251, 257, 199), QRect(0, 50, 300, 200), QRect(40, 0, 300, 200)}) {
            dialog.setGeometry(geometry);
            QVERIFY(dialog.SaveWindowPlacement("Test", Ini()));
            CPlacementDialog restored(&parent);
            QVERIFY(restored.LoadWindowPlacement("Test", Ini()));
            QCOMPARE(restored.geometry(), geometry);
        }

        // Unusable and ignored: missing (a misspelt key), garbled, negative, right before left, not finite.
        for (const char* left : {"Window Lft=0.1", "Window Left=abc", "Window Left=-0.1", "Window Left=0.6",
                                 "Window Left=inf"}) {
            WriteKeys(Ini(), "Test", {left, "Window Right=0.5", "Window Top=0.1", "Window Bottom=0.5"});
            dialog.setGeometry(10, 20, 300, 200);
            QVERIFY(!dialog.LoadWindowPlacement("Test", Ini()));
            QCOMPARE(dialog.geometry(), QRect(10, 20, 300, 200));
        }
    }

    // Size grip, initial size as minimum, columns sharing the list's width by their (user-set) bases.
    void layoutDialogGrowsByItsStretchFactors() {
        CPlacementDialog dialog;
        auto* list = new CReportListCtrl;
        list->InsertColumn(0, QStringLiteral("A"), Qt::AlignLeft, 60);
        list->InsertColumn(1, QStringLiteral("B"), Qt::AlignLeft, 80);
        auto* layout = new QVBoxLayout(&dialog);
        layout->addWidget(list, 1);
        layout->addWidget(new QPushButton(QStringLiteral("below")), 0);
        dialog.SetResizable(true);
        dialog.resize(310, 205);
        dialog.show();
        QCOMPARE(dialog.minimumSize(), dialog.InitialSize());
        QVERIFY(dialog.isSizeGripEnabled());
        const int listWidth = list->width();
        dialog.resize(410, 305);
        QTRY_COMPARE(list->width(), listWidth + 100);
        QCOMPARE(list->columnWidth(0), 60 * InnerWidth(list) / 140);
        QCOMPARE(list->columnWidth(1), 80 * InnerWidth(list) / 140);
        list->setColumnWidth(0, 100); // as if dragged: 100 and the 80 of column 1 are the new bases
        dialog.resize(420, 305);
        QTRY_COMPARE(list->width(), listWidth + 110);
        QCOMPARE(list->columnWidth(0), 100 * InnerWidth(list) / 180);
        list->setColumnWidth(0, 900);
        dialog.resize(430, 305);
        QTRY_COMPARE(list->width(), listWidth + 120);
        QCOMPARE(list->columnWidth(0), 900);

        CPlacementDialog fixed;
        new QVBoxLayout(&fixed);
        fixed.layout()->addWidget(new QPushButton(QStringLiteral("OK")));
        fixed.show();
        QCOMPARE(fixed.layout()->sizeConstraint(), QLayout::SetFixedSize);
    }

    // A list window's first size: widened by what its columns lack, about its centre, inside the work area.
    void firstSizeShowsTheColumnsWhereTheScreenAllows() {
        const QRect screen(0, 0, 1920, 1080);
        const struct {
            QRect window;
            int list, columns;
            QRect available, expected;
        } cases[] = {
            {{600, 100, 600, 400}, 500, 700, screen, {500, 100, 800, 400}},   // widened about its centre
            {{600, 100, 600, 400}, 500, 400, screen, {600, 100, 600, 400}},   // the columns fit already
            {{100, 100, 600, 400}, 500, 900, screen, {0, 100, 1000, 400}},    // kept off the left edge
            {{1300, 100, 600, 400}, 500, 900, screen, {920, 100, 1000, 400}}, // and off the right one
            {{100, 100, 600, 400}, 500, 2900, screen, {0, 100, 1920, 400}},   // no wider than the screen
            {{100, 100, 600, 400}, 500, 900, {0, 0, 500, 600}, {0, 100, 600, 400}}, // never narrower
        };
        for (const auto& c : cases) {
            QCOMPARE(WidenedToShowColumns(c.window, c.list, c.columns, c.available), c.expected);
        }
    }

    // A modeless window tells its owner once that it has gone (and deletes itself); a modal one does not.
    void ownerHearsOfModelessWindowsOnce() {
        for (const bool byOk : {true, false}) {
            QWidget owner;
            std::vector<QWidget*> closed;
            QPointer<CPlacementDialog> dialog = new CPlacementDialog(&owner);
            CPlacementDialog* const address = dialog;
            connect(dialog, &CPlacementDialog::childClosed, &owner, [&](QWidget* c) { closed.push_back(c); });
            dialog->Create();
            QVERIFY(!dialog->IsModal());
            byOk ? dialog->accept() : dialog->reject();
            QTRY_VERIFY(dialog == nullptr);
            QCOMPARE(closed, std::vector<QWidget*>{address});
        }
        QWidget owner;
        int closed = 0;
        CPlacementDialog modal(&owner);
        connect(&modal, &CPlacementDialog::childClosed, &owner, [&] { ++closed; });
        QTimer::singleShot(0, &modal, &QDialog::accept);
        QCOMPARE(modal.exec(), int(QDialog::Accepted));
        QCOMPARE(closed, 0);
    }

    // A change is applied by OK after a question, and discarded by Cancel after another.
    void changesAreConfirmed() {
        const QString ask = QStringLiteral("Do you want to carry out the change?");
        const QString discard = QStringLiteral("Do you want to discard your change?");
        const QString done = QStringLiteral("Change carried out.");
        const QString failed = QStringLiteral("The change could not be carried out!");
        const struct {
            bool ok;
            QMessageBox::StandardButton answer;
            bool applyResult;
            int applied;
            bool staysOpen;
            QStringList messages;
        } cases[] = {
            {true, QMessageBox::Yes, true, 1, false, {ask, done}},
            {true, QMessageBox::Yes, false, 1, true, {ask, failed}},
            {true, QMessageBox::No, true, 0, false, {ask}},
            {false, QMessageBox::No, true, 0, true, {discard}},
            {false, QMessageBox::Yes, true, 0, false, {discard}},
        };
        for (const auto& c : cases) {
            test::MessageRecorder recorder;
            recorder.answers = {c.answer};
            ApplyingDialog dialog;
            dialog.setWindowTitle(QStringLiteral("Offset"));
            dialog.applyResult = c.applyResult;
            dialog.show();
            dialog.SetModified(1);
            c.ok ? dialog.accept() : dialog.reject();
            QCOMPARE(recorder.Texts(), c.messages);
            QCOMPARE(recorder.messages.front().caption, QStringLiteral("Offset"));
            QCOMPARE(dialog.applied, c.applied);
            QCOMPARE(dialog.isVisible(), c.staysOpen);
        }
    }

    // The redraw lock is counted; cell texts and hits (for the title tip) go by display position.
    void redrawLockAndColumnsByDisplayPosition() {
        ListFixture f;
        f.list->SetRedraw(false);
        f.list->SetRedraw(false);
        f.list->SetRedraw(true);
        QVERIFY(!f.list->IsRedrawOn());
        f.list->SetRedraw(true);
        // An unbalanced SetRedraw(true) switches drawing on and leaves the count at 0.
        f.list->SetRedraw(true);
        QVERIFY(f.list->IsRedrawOn());
        QCOMPARE(f.list->RedrawLockCount(), 0);

        f.parent.show();
        f.list->horizontalHeader()->moveSection(2, 0); // Place, Station, Module
        QCOMPARE(f.list->CellTextAt(4, 0), QStringLiteral("4/2"));
        QCOMPARE(f.list->CellTextAt(4, 2), QStringLiteral("4/1"));
        const int rowHeight = f.list->verticalHeader()->defaultSectionSize();
        const CReportListCtrl::CellHit hit = f.list->HitTestCell(QPoint(105, rowHeight * 2 + 2));
        QCOMPARE(std::tuple(hit.row, hit.displayPos, hit.rect),
                 std::tuple(2, 1, f.list->visualRect(f.list->model()->index(2, 0))));
        QCOMPARE(f.list->HitTestCell(QPoint(500, 5)).row, -1); // right of the last column
    }

    // SelectFirstOnce selects row 0 once after the list was emptied; space opens the focused row.
    void selectionAndSpace() {
        ListFixture f(0);
        QSignalSpy opened(f.list, &QAbstractItemView::doubleClicked);
        f.list->SelectFirstOnce(); // empty: nothing selected, but done
        f.list->ListModel()->SetRowCount(20);
        f.list->SelectFirstOnce();
        QVERIFY(!f.list->selectionModel()->hasSelection());
        QTest::keyClick(f.list, Qt::Key_Space); // no focused row: a beep, nothing else
        QCOMPARE(opened.count(), 0);
        f.list->DeleteAllItems();
        f.list->ListModel()->SetRowCount(20);
        f.list->SelectFirstOnce();
        QCOMPARE(f.list->currentIndex().row(), 0);
        f.list->Select(3);
        f.list->SelectFirstOnce();
        QCOMPARE(f.list->currentIndex().row(), 3);
        f.list->Select(7);
        QTest::keyClick(f.list, Qt::Key_Space);
        QCOMPARE(opened.count(), 1);
        QCOMPARE(opened.at(0).at(0).toModelIndex().row(), 7);
        QVERIFY(f.list->selectionModel()->isRowSelected(7, QModelIndex()));
    }

    // The column layout comes back as saved; unusable saved values are ignored.
    void columnLayout() {
        {
            ListFixture f;
            f.list->setColumnWidth(0, 90);
            f.list->setColumnWidth(2, 150);
            f.list->horizontalHeader()->moveSection(0, 2); // Module, Place, Station
            QVERIFY(f.list->SaveColumns("Columns", Ini()));
        }
        const CIniSection ini(Ini(), "Columns");
        QCOMPARE(ini.ReadString("cxCol0", ""), std::string("0.150000"));
        QCOMPARE(ini.ReadInt("idxCol0", -1), 1);
        QVERIFY(!ini.HasKey("cxCol3"));

        ListFixture g;
        g.list->LoadColumns("Columns", Ini());
        QCOMPARE(Layout(g.list), (QList<int>{90, 120, 150, 1, 2, 0}));

        // Unusable lines written, then the layout loaded (default widths 60/120/100, order 0/1/2).
        const std::pair<QStringList, QList<int>> cases[] = {
            {{"cxCol1=0.000000"}, {60, 120, 100, 0, 1, 2}}, // a hidden column keeps its width
            {{"cxCol0=wide"}, {60, 120, 100, 0, 1, 2}},
            {{"cxCol0=1e12"}, {32767, 120, 100, 0, 1, 2}},
            {{"idxCol0=1", "idxCol1=1", "idxCol2=0"}, {60, 120, 100, 0, 1, 2}}, // a column named twice
            {{"idxCol0=2"}, {60, 120, 100, 0, 1, 2}},                           // a gap
            {{"idxCol0=2", "idxCol1=7", "idxCol2=0"}, {60, 120, 100, 0, 1, 2}}, // beyond the columns
            {{"idxCol0=2", "idxCol1=0", "idxCol2=1"}, {60, 120, 100, 2, 0, 1}}, // a full order of 3
        };
        for (const auto& [lines, layout] : cases) {
            WriteKeys(Ini(), "Columns", lines);
            ListFixture f;
            f.list->LoadColumns("Columns", Ini());
            QCOMPARE(Layout(f.list), layout);
        }
    }

    // An empty list shows its text with the header disabled. A new last row right below the page is
    // scrolled in; further down the list stays.
    void emptyTextAndFollowTheTail() {
        ListFixture f(0);
        f.list->SetEmptyText(QString::fromUtf8("Keine Module gefunden."));
        f.parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.parent));
        QTRY_VERIFY(!f.list->horizontalHeader()->isEnabled());
        const int page = f.list->RowsPerPage();
        QVERIFY(page > 2);
        for (const auto& [rows, top] : {std::pair{page + 1, 1}, {page + 10, 0}}) {
            f.list->ListModel()->SetRowCount(rows);
            f.list->scrollToTop();
            f.list->EnsureVisible(-1);
            QCOMPARE(f.list->TopRow(), top);
        }
        QTRY_VERIFY(f.list->horizontalHeader()->isEnabled());
    }
};

QTEST_MAIN(TestPlacementDialog)
#include "tst_placement_dialog.moc"
