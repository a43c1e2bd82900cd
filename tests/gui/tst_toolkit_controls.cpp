// Property sheet mnemonics and embedding, the about box and its links, and the titled popup menu.

#include "gui/toolkit/about_dlg.h"
#include "gui/toolkit/nice_property_sheet.h"
#include "gui/toolkit/placement_dialog.h"
#include "gui/toolkit/static_link.h"
#include "gui/toolkit/titled_popup_menu.h"
#include "gui/toolkit/version_info.h"
#include "gui_test_support.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace terrix;

namespace {

// Chooses the first enabled item of the open popup menu with the keyboard.
void ChooseFirstItemSoon() {
    QTimer::singleShot(50, [] {
        QWidget* popup = QApplication::activePopupWidget();
        if (popup != nullptr) {
            QTest::keyClick(popup, Qt::Key_Down);
            QTest::keyClick(popup, Qt::Key_Return);
        }
    });
}

} // namespace

class TestToolkitControls : public QObject {
    Q_OBJECT

    test::TempDataDir data_;

private Q_SLOTS:
    void mnemonicSelectsThePage() {
        QWidget dialog;
        auto* sheet = new CNicePropertySheet(&dialog);
        auto* sampling = new QWidget;
        auto* field = new QLineEdit(sampling);
        sheet->addTab(sampling, QStringLiteral("&Sampling"));
        sheet->addTab(new QWidget, QStringLiteral("&Exporting"));
        sheet->addTab(new QWidget, QStringLiteral("&lower case"));
        dialog.show();
        field->setFocus();
        QCOMPARE(sheet->currentIndex(), 0);

        QTest::keyClick(field, Qt::Key_E, Qt::AltModifier);
        QCOMPARE(sheet->currentIndex(), 1);
        QTest::keyClick(sheet, Qt::Key_L, Qt::AltModifier);
        QCOMPARE(sheet->currentIndex(), 2);
        QTest::keyClick(sheet, Qt::Key_S, Qt::AltModifier);
        QCOMPARE(sheet->currentIndex(), 0);
    }

    void unknownMnemonicGoesOnToNormalDispatch() {
        QWidget dialog;
        auto* sheet = new CNicePropertySheet(&dialog);
        auto* page = new QWidget;
        auto* field = new QLineEdit(page);
        sheet->addTab(page, QStringLiteral("&Sampling"));
        sheet->addTab(new QWidget, QStringLiteral("&Exporting"));
        dialog.show();
        QKeyEvent altX(QEvent::KeyPress, Qt::Key_X, Qt::AltModifier, QStringLiteral("x"));
        QVERIFY(!sheet->SelectPageByMnemonic(&altX));
        int seen = 0;
        struct Watcher : QObject {
            int* seen;
            bool eventFilter(QObject*, QEvent* e) override {
                if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_X) {
                    ++*seen;
                }
                return false;
            }
        } watcher;
        watcher.seen = &seen;
        field->installEventFilter(&watcher);
        QTest::keyClick(field, Qt::Key_X, Qt::AltModifier);
        QCOMPARE(sheet->currentIndex(), 0);
        QCOMPARE(seen, 1); // the field still received the key
    }

    void sheetTakesThePlaceholdersPlace() {
        QWidget dialog;
        dialog.resize(400, 300);
        auto* group = new QGroupBox(QStringLiteral("Methods"), &dialog);
        group->setGeometry(10, 10, 380, 200);
        auto* placeholder = new QLabel(group);
        placeholder->setGeometry(10, 20, 300, 150);
        CNicePropertySheetCtrl sheet;
        sheet.addTab(new QWidget, QStringLiteral("&Range"));
        sheet.addTab(new QWidget, QStringLiteral("&Known modules"));
        sheet.setCurrentIndex(1);
        QVERIFY(sheet.Create(&dialog, placeholder));
        QCOMPARE(sheet.parentWidget(), &dialog);
        QCOMPARE(sheet.geometry(), QRect(20, 30, 300, 150));
        QVERIFY(!placeholder->isEnabled());
        QVERIFY(placeholder->isHidden());
        QCOMPARE(sheet.currentIndex(), 0);
        sheet.setParent(nullptr); // the dialog does not own the sheet object
    }

    void versionLineAndAboutBox() {
        const struct {
            const char* name;
            const char* fileVersion;
            const char* line;
        } cases[] = {{"Terrix", "1, 47, 0, 284", "Terrix Version 1.47 (Build 0.284)"},
                     {"Terrix", "2, 0, 1, 5", "Terrix Version 2.0 (Build 1.5)"},
                     {"", "", ""}};
        for (const auto& c : cases) {
            const VersionInfo info{QString::fromLatin1(c.name), QString::fromLatin1(c.fileVersion),
                                   QString()};
            QCOMPARE(FormatVersionLine(info), QString::fromLatin1(c.line));
        }
        CAboutDlg about;
        QVERIFY(about.VersionText().startsWith(QLatin1String("Terrix Version ")));
        QCOMPARE(about.findChild<QLabel*>(QStringLiteral("version"))->text(), about.VersionText());
        QVERIFY(about.LegalText().contains(QLatin1String("ORVA GmbH")));
        CAboutDlg empty(VersionInfo{});
        QVERIFY(empty.VersionText().isEmpty());
        QVERIFY(empty.LegalText().isEmpty());
    }

    void linksOpenTheirOwnTextAndTurnPurple() {
        std::vector<QUrl> opened;
        bool succeed = false;
        const CStaticLink::Opener previous = CStaticLink::SetOpener([&](const QUrl& url) {
            opened.push_back(url);
            return succeed;
        });
        CAboutDlg about;
        CStaticLink* mail = about.MailLink();
        QTest::mouseClick(mail, Qt::LeftButton); // cannot be opened: stays blue
        QCOMPARE(opened.size(), size_t{1});
        QCOMPARE(opened.back(), QUrl(QStringLiteral("mailto:terrix@orva.example")));
        QCOMPARE(mail->LinkColor(), CStaticLink::kUnvisited);

        succeed = true;
        QTest::mouseClick(about.WebLink(), Qt::LeftButton);
        QCOMPARE(opened.back(), QUrl(QStringLiteral("https://www.orva.example/terrix")));
        QCOMPARE(about.WebLink()->LinkColor(), CStaticLink::kVisited);

        CStaticLink empty{QString()};
        QVERIFY(!empty.Open());
        QCOMPARE(opened.size(), size_t{2});
        CStaticLink::SetOpener(previous);
    }

    void popupMenuTitleIsTheFirstDisabledLine() {
        CTitledPopupMenu menu;
        menu.AddCommand(QStringLiteral("Rescan module"), 32774);
        menu.SetMenuTitle(QString());
        QCOMPARE(menu.actions().size(), 2);
        QVERIFY(!menu.actions().first()->isEnabled());
        menu.SetMenuTitle(QStringLiteral("4711 (PX-TAVIK2)"));
        QCOMPARE(menu.actions().size(), 2); // replaced, not added
        QCOMPARE(menu.TitleLabel()->text(), QStringLiteral("4711 (PX-TAVIK2)"));
    }

    // A command chosen from the titled menu, by itself or as the dialog's context menu, runs once.
    void chosenItemTriggersItsActionOnce_data() {
        QTest::addColumn<bool>("asContextMenu");
        QTest::newRow("tracked") << false;
        QTest::newRow("dialog context menu") << true;
    }

    void chosenItemTriggersItsActionOnce() {
        QFETCH(bool, asContextMenu);
        CPlacementDialog dialog;
        QMenu commands;
        QAction* action = commands.addAction(QStringLiteral("Edit user info"));
        action->setData(32788);
        int runs = 0;
        connect(action, &QAction::triggered, &dialog, [&runs] { ++runs; });
        dialog.SetContextMenu(&commands, QStringLiteral("4711 (PX-TAVIK2)"));
        dialog.show();
        ChooseFirstItemSoon();
        if (asContextMenu) {
            QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(0, 0),
                                    dialog.mapToGlobal(QPoint(0, 0)));
            QCoreApplication::sendEvent(&dialog, &event);
        } else {
            CTitledPopupMenu menu;
            menu.SetMenuTitle(QStringLiteral("title"));
            menu.addAction(action);
            QCOMPARE(menu.Track(dialog.mapToGlobal(QPoint(10, 10))), action);
        }
        QCoreApplication::processEvents();
        QCOMPARE(runs, 1);
    }
};

QTEST_MAIN(TestToolkitControls)
#include "tst_toolkit_controls.moc"
