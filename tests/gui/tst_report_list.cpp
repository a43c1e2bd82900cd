// The report list: redraw lock, selection, the space key, columns by display position, the saved column
// layout, the owner-data model and title tips.

#include "core/platform/ini_section.h"
#include "gui/toolkit/report_list_ctrl.h"
#include "gui/toolkit/title_tip.h"
#include "gui/toolkit/virtual_list_model.h"
#include "gui_test_support.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>

using namespace terrix;

namespace {

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

} // namespace

class TestReportList : public QObject {
    Q_OBJECT

    test::TempDataDir data_;

    std::filesystem::path Ini() const { return data_.File(QStringLiteral("columns.ini")).toStdString(); }

private Q_SLOTS:
    void init() { std::filesystem::remove(Ini()); }

    void redrawLockIsCounted() {
        ListFixture f;
        f.list->SetRedraw(false);
        f.list->SetRedraw(false);
        f.list->SetRedraw(true);
        QVERIFY(!f.list->IsRedrawOn());
        QCOMPARE(f.list->RedrawLockCount(), 1);
        f.list->SetRedraw(true);
        // An unbalanced SetRedraw(true) switches drawing on and leaves the count at 0.
        f.list->SetRedraw(true);
        QVERIFY(f.list->IsRedrawOn());
        QCOMPARE(f.list->RedrawLockCount(), 0);
    }

    void selection() {
        ListFixture f;
        f.list->Select(3);
        QCOMPARE(f.list->currentIndex().row(), 3);
        QVERIFY(f.list->selectionModel()->isRowSelected(3, QModelIndex()));
        f.list->Select(5);
        QVERIFY(!f.list->selectionModel()->isRowSelected(3, QModelIndex()));
        QCOMPARE(f.list->currentIndex().row(), 5);
        f.list->Select(99); // no such row: nothing changes
        QCOMPARE(f.list->currentIndex().row(), 5);
        f.list->DeselectAll();
        QVERIFY(!f.list->selectionModel()->hasSelection());
        QVERIFY(!f.list->currentIndex().isValid());
    }

    void selectFirstOnce() {
        ListFixture f(0);
        f.list->SelectFirstOnce(); // empty: nothing selected, but done
        f.list->ListModel()->SetRowCount(4);
        f.list->SelectFirstOnce();
        QVERIFY(!f.list->selectionModel()->hasSelection());
        f.list->DeleteAllItems();
        QCOMPARE(f.list->model()->rowCount(), 0);
        f.list->ListModel()->SetRowCount(4);
        f.list->SelectFirstOnce();
        QCOMPARE(f.list->currentIndex().row(), 0);
        f.list->Select(2);
        f.list->SelectFirstOnce();
        QCOMPARE(f.list->currentIndex().row(), 2);
    }

    void spaceOpensTheFocusedRow() {
        ListFixture f;
        QSignalSpy opened(f.list, &QAbstractItemView::doubleClicked);
        QTest::keyClick(f.list, Qt::Key_Space); // no focused row: a beep, nothing else
        QCOMPARE(opened.count(), 0);
        f.list->Select(7);
        QTest::keyClick(f.list, Qt::Key_Space);
        QCOMPARE(opened.count(), 1);
        QCOMPARE(opened.at(0).at(0).toModelIndex().row(), 7);
        QVERIFY(f.list->selectionModel()->isRowSelected(7, QModelIndex())); // space did not toggle it
    }

    void columnsByDisplayPosition() {
        ListFixture f;
        f.list->horizontalHeader()->moveSection(2, 0); // Place, Station, Module
        QCOMPARE(f.list->ColumnWidthAt(0), 100);
        QCOMPARE(f.list->ColumnWidthAt(1), 60);
        QCOMPARE(f.list->ColumnWidthAt(3), 0);
        QCOMPARE(f.list->CellTextAt(4, 0), QStringLiteral("4/2"));
        QCOMPARE(f.list->CellTextAt(4, 2), QStringLiteral("4/1"));
        QCOMPARE(f.list->CellTextAt(4, 3), QStringLiteral("We better never fall through to here!"));
    }

    void hitTestFindsTheCellByDisplayPosition() {
        ListFixture f;
        f.parent.show();
        f.list->horizontalHeader()->moveSection(2, 0);
        const int rowHeight = f.list->verticalHeader()->defaultSectionSize();
        const CReportListCtrl::CellHit hit = f.list->HitTestCell(QPoint(105, rowHeight * 2 + 2));
        QCOMPARE(hit.row, 2);
        QCOMPARE(hit.displayPos, 1);
        QCOMPARE(hit.rect.left(), 100);
        QCOMPARE(hit.rect, f.list->visualRect(f.list->model()->index(2, 0)));
        QCOMPARE(f.list->HitTestCell(QPoint(500, 5)).row, -1); // right of the last column
    }

    void columnLayoutRoundTrip() {
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
        QCOMPARE(ini.ReadInt("idxCol2", -1), 0);
        QVERIFY(!ini.HasKey("cxCol3"));

        ListFixture g;
        g.list->LoadColumns("Columns", Ini());
        QCOMPARE(g.list->columnWidth(0), 90);
        QCOMPARE(g.list->columnWidth(1), 120);
        QCOMPARE(g.list->columnWidth(2), 150);
        QCOMPARE(g.list->horizontalHeader()->logicalIndex(0), 1);
        QCOMPARE(g.list->horizontalHeader()->logicalIndex(1), 2);
        QCOMPARE(g.list->horizontalHeader()->logicalIndex(2), 0);
    }

    void unusableColumnValuesAreIgnored() {
        // key=value lines written, then the widths and display order loaded (defaults 60/120/100, 0/1/2).
        const struct {
            QStringList values;
            QList<int> widths;
            QList<int> order;
        } cases[] = {
            {{"cxCol1=0.000000"}, {60, 120, 100}, {0, 1, 2}}, // a hidden column keeps its width
            {{"cxCol0=wide"}, {60, 120, 100}, {0, 1, 2}},
            {{"cxCol0=1e12"}, {32767, 120, 100}, {0, 1, 2}},
            {{"idxCol0=1", "idxCol1=1", "idxCol2=0"}, {60, 120, 100}, {0, 1, 2}}, // a column named twice
            {{"idxCol0=2"}, {60, 120, 100}, {0, 1, 2}},                           // a gap
            {{"idxCol0=2", "idxCol1=7", "idxCol2=0"}, {60, 120, 100}, {0, 1, 2}}, // beyond the columns
            {{"idxCol0=2", "idxCol1=0", "idxCol2=1"}, {60, 120, 100}, {2, 0, 1}}, // a full order of 3
        };
        for (const auto& c : cases) {
            std::filesystem::remove(Ini());
            CIniSection ini(Ini(), "Columns");
            ini.BeginUpdate();
            for (const QString& line : c.values) {
                ini.WriteString(line.section(QLatin1Char('='), 0, 0).toStdString(),
                                line.section(QLatin1Char('='), 1).toStdString());
            }
            QVERIFY(ini.EndUpdate());
            ListFixture f;
            f.list->LoadColumns("Columns", Ini());
            for (int i = 0; i < 3; ++i) {
                QCOMPARE(f.list->columnWidth(i), c.widths[i]);
                QCOMPARE(f.list->horizontalHeader()->logicalIndex(i), c.order[i]);
            }
        }
    }

    void followTheTail() {
        ListFixture f(100);
        f.parent.show();
        const int page = f.list->RowsPerPage();
        QVERIFY(page > 2);
        // The row before the last at the bottom of the page: the new last row is scrolled in.
        f.list->ListModel()->SetRowCount(page + 1);
        f.list->scrollToTop();
        f.list->EnsureVisible(-1);
        QCOMPARE(f.list->TopRow(), 1);
        // The user looks further up: the list stays.
        f.list->ListModel()->SetRowCount(page + 10);
        f.list->scrollToTop();
        f.list->EnsureVisible(-1);
        QCOMPARE(f.list->TopRow(), 0);
    }

    void ownerDataServesTheLastRow() {
        ListFixture f(0);
        f.parent.show();
        constexpr int kRows = 1000;
        f.list->ListModel()->SetRowCount(kRows);
        f.list->scrollToBottom();
        QCoreApplication::processEvents();
        QCOMPARE(f.list->CellTextAt(kRows - 1, 1), QStringLiteral("999/1"));
        QVERIFY(f.list->TopRow() > kRows - 100);
    }

    void emptyTextDisablesTheHeader() {
        ListFixture f(0);
        f.list->SetEmptyText(QString::fromUtf8("Keine Module gefunden."));
        f.parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.parent));
        QTRY_VERIFY(!f.list->horizontalHeader()->isEnabled());
        f.list->ListModel()->SetRowCount(3);
        QTRY_VERIFY(f.list->horizontalHeader()->isEnabled());
    }

    void titleTipShowsCutOffTextOnly() {
        ListFixture f;
        f.list->ListModel()->SetCellText([](int row, int column) {
            return column == 1 && row == 1
                       ? QStringLiteral("PX-TAVIK2ZUZ with a long place name that is cut off")
                       : QStringLiteral("ok");
        });
        f.parent.show();
        f.parent.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.parent));
        ZTitleTip* tip = f.list->TitleTip();
        const int rowHeight = f.list->verticalHeader()->defaultSectionSize();
        const QPoint fitting(80, rowHeight / 2);            // row 0, column 1
        const QPoint cutOff(80, rowHeight + rowHeight / 2); // row 1, column 1
        QTest::mouseMove(f.list->viewport(), fitting);
        QVERIFY(!tip->isVisible());
        QTest::mouseMove(f.list->viewport(), cutOff);
        QTRY_VERIFY(tip->isVisible());
        QCOMPARE(tip->Text(), QStringLiteral("PX-TAVIK2ZUZ with a long place name that is cut off"));
        // Over the cell, starting at the text, as wide as the text needs.
        const QPoint cellTopLeft = f.list->viewport()->mapToGlobal(QPoint(60, rowHeight));
        QCOMPARE(tip->TipRect().top(), cellTopLeft.y());
        QVERIFY(tip->TipRect().left() > cellTopLeft.x());
        QVERIFY(tip->TipRect().width() > 120);
        // Into the next row: the tip goes and the list handles the move.
        QTest::mouseMove(f.list->viewport(), QPoint(80, 2 * rowHeight + rowHeight / 2));
        QVERIFY(!tip->isVisible());
        // Switched off: no tips.
        f.list->SetOptions(0);
        QTest::mouseMove(f.list->viewport(), cutOff);
        QVERIFY(!tip->isVisible());
    }
};

QTEST_MAIN(TestReportList)
#include "tst_report_list.moc"
