// The toolkit's controls: validated numeric fields, property sheet mnemonics, the about box and its links,
// the titled popup menu, and the adapters that queue calls from other threads to a window.

#include "gui/toolkit/edit_byte_spin_ctrl.h"
#include "gui/toolkit/edit_double.h"
#include "gui/toolkit/edit_integer.h"
#include "gui/toolkit/language_change.h"
#include "gui/toolkit/nice_property_sheet.h"
#include "gui/toolkit/placement_dialog.h"
#include "gui/toolkit/queued_adapters.h"
#include "gui/toolkit/titled_popup_menu.h"
#include "gui/toolkit/version_info.h"
#include "gui_test_support.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <atomic>
#include <thread>

using namespace terrix;

namespace {

void Type(QLineEdit* edit, const QString& keys) {
    for (const QChar c : keys) {
        QTest::keyClick(edit, c.toLatin1());
    }
}

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
    // A window retranslates on every language switch, only its own, and not after it has gone.
    void retranslatesOnEachLanguageChangeOfItsWidget() {
        int calls = 0;
        QWidget other;
        {
            QWidget window;
            RetranslateOnLanguageChange(&window, [&calls] { ++calls; });
            QEvent change(QEvent::LanguageChange);
            QCoreApplication::sendEvent(&window, &change);
            QCoreApplication::sendEvent(&window, &change);
            QCoreApplication::sendEvent(&other, &change);
            QEvent font(QEvent::FontChange);
            QCoreApplication::sendEvent(&window, &font);
        }
        QEvent change(QEvent::LanguageChange);
        QCoreApplication::sendEvent(&other, &change);
        QCOMPARE(calls, 2);
    }

    void typedKeysAreCheckedOneByOne() {
        CEditDouble edit;
        edit.SetRange(-100, 100);
        QVERIFY(edit.SetValue(0));
        edit.selectAll();
        Type(&edit, QStringLiteral("100"));
        QCOMPARE(edit.GetValue(), 100.0);
        // 1000 is too high: the value from before the last SetValue comes back, selected.
        Type(&edit, QStringLiteral("0"));
        QCOMPARE(edit.GetValue(), 0.0);
        QCOMPARE(edit.selectedText(), QStringLiteral("0"));

        // Keys typed ahead of a rejection are dropped; keys typed after the event loop went on are taken.
        QTRY_VERIFY(!edit.IsDiscardingTypeAhead());
        QVERIFY(edit.SetValue(0));
        edit.selectAll();
        for (const char key : {'1', '0', '0', '0', '5', '5'}) {
            QCoreApplication::postEvent(
                &edit, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, QString(QChar(key))));
        }
        QCoreApplication::sendPostedEvents(&edit, QEvent::KeyPress);
        QCOMPARE(edit.text(), QStringLiteral("0"));
        QCOMPARE(edit.GetValue(), 0.0);
        QTRY_VERIFY(!edit.IsDiscardingTypeAhead());
        edit.selectAll();
        Type(&edit, QStringLiteral("5"));
        QCOMPARE(edit.GetValue(), 5.0);
    }

    // Validation codes and, once switched on (silent by default), their messages. The program's whole-number
    // fields all start at 0 and share one implementation: a byte field stands for them.
    void validation() {
        const QString notANumber = QStringLiteral("Characters must form a number.\n");
        const QString byteHigh = QStringLiteral("Value must be less or equal than 255.\n");
        const QString notAReal = QStringLiteral("Characters must be a number.\n");
        const struct {
            bool real; // a real field of -100..100, else a byte field
            bool hex;
            const char* text;
            int code;
            QString message;
        } cases[] = {
            {false, false, "255", kValid, {}},
            {false, false, "256", kTooHigh, byteHigh},
            {false, false, "abc", kNotANumber, notANumber},
            {false, false, "-1", kNotANumber, notANumber},
            {false, false, "4294967296", kTooHigh, byteHigh},
            {false, true, "f", kValid, {}},
            {false, true, "100", kTooHigh, QStringLiteral("Value must be less or equal than least FF.\n")},
            {true, false, "12.5", kValid, {}},
            {true, false, "+", kIncomplete, {}},
            {true, false, "3 ", kValid, {}},
            {true, false, "12abc", kNotANumber, notAReal},
            {true, false, "inf", kNotANumber, notAReal},
            {true, false, "-100.5", kTooLow, QStringLiteral("Value must be at least -100.000000.\n")},
            {true, false, "101", kTooHigh, QStringLiteral("Value must be less or equal than 100.000000.\n")},
        };
        for (const auto& c : cases) {
            test::MessageRecorder messages;
            CEditByte byte;
            byte.SetHex(c.hex);
            CEditDouble real;
            real.SetRange(-100, 100);
            CEditNumBase* edit = c.real ? static_cast<CEditNumBase*>(&real) : &byte;
            QCOMPARE(edit->Validate(QString::fromLatin1(c.text)), c.code);
            QVERIFY(messages.messages.empty());
            edit->SetMessages(true);
            edit->Validate(QString::fromLatin1(c.text));
            QCOMPARE(messages.Texts(), c.message.isEmpty() ? QStringList{} : QStringList{c.message});
        }
    }

    // Text after the number stays and blanks are swallowed; SetValue refuses out-of-range and infinite
    // values, and its decimals only grow (six at most).
    void textAfterTheNumberAndSetValue() {
        CEditByte edit;
        edit.SetValue(1);
        edit.end(false);
        Type(&edit, QStringLiteral(" 2"));
        QCOMPARE(edit.text(), QStringLiteral("12"));
        edit.selectAll();
        Type(&edit, QStringLiteral("12abc"));
        QCOMPARE(edit.text(), QStringLiteral("12abc"));
        QCOMPARE(int(edit.GetValue()), 12);
        edit.selectAll();
        QApplication::clipboard()->setText(QStringLiteral("34xyz"));
        QVERIFY(edit.Paste());
        QCOMPARE(edit.text(), QStringLiteral("34xyz"));
        QCOMPARE(int(edit.GetValue()), 34);
        edit.SetRange(0, 10); // whole-number fields start at 0: only the upper end is ever met
        QVERIFY(edit.SetValue(7));
        QVERIFY(!edit.SetValue(11));
        QCOMPARE(edit.text(), QStringLiteral("7"));

        CEditByte hex;
        hex.SetHex(true);
        QVERIFY(hex.SetValue(255));
        QCOMPARE(hex.text(), QStringLiteral("FF"));
        hex.selectAll();
        Type(&hex, QStringLiteral("a"));
        QCOMPARE(int(hex.GetValue()), 10);

        CEditDouble real;
        QVERIFY(!real.SetValue(std::numeric_limits<double>::quiet_NaN()));
        QVERIFY(!real.SetValue(std::numeric_limits<double>::infinity()));
        const std::pair<double, const char*> shown[] = {
            {3, "3"}, {1.25, "1.25"}, {3, "3.00"}, {0.1234567, "0.123457"}};
        for (const auto& [value, text] : shown) {
            QVERIFY(real.SetValue(value));
            QCOMPARE(real.text(), QString::fromLatin1(text));
        }
    }

    // A paste (command, Ctrl+V or context menu) is checked as the resulting text; refused, it says why.
    void pasteIsChecked() {
        const QString ignored = QStringLiteral("\"\nPaste Command Ignored");
        enum By { kCommand, kKey, kMenu };
        const struct {
            const char* pasted;
            bool atEnd;
            By by;
            const char* text;
            QString message;
        } cases[] = {
            {"letters", false, kCommand, "5",
             "The format of the resulting string is wrong: letters" + ignored},
            {"150", false, kKey, "5", "The resulting value becomes too high: 150" + ignored},
            {"150", false, kMenu, "5", "The resulting value becomes too high: 150" + ignored},
            {".5", true, kCommand, "5.5", {}},
        };
        for (const auto& c : cases) {
            test::MessageRecorder messages;
            CEditDouble edit;
            edit.SetRange(0, 100);
            edit.SetValue(5);
            edit.SetMessages(true);
            edit.show();
            c.atEnd ? edit.end(false) : edit.selectAll();
            QApplication::clipboard()->setText(QString::fromLatin1(c.pasted));
            if (c.by == kKey) {
                QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
            } else if (c.by == kMenu) {
                QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2),
                                        edit.mapToGlobal(QPoint(2, 2)));
                QCoreApplication::sendEvent(&edit, &event);
                QMenu* menu = edit.findChild<QMenu*>();
                QVERIFY(menu != nullptr);
                menu->findChild<QAction*>(QStringLiteral("edit-paste"))->trigger();
                menu->close();
            } else {
                QCOMPARE(edit.Paste(), c.message.isEmpty());
            }
            QCOMPARE(edit.text(), QString::fromLatin1(c.text));
            QCOMPARE(edit.GetValue(), edit.text().toDouble());
            // The last message is the notice (a validation message may come before it).
            QCOMPARE(messages.messages.empty() ? QString() : messages.messages.back().text, c.message);
            QVERIFY(messages.messages.empty() ||
                    messages.messages.back().caption == QStringLiteral("Paste Notice"));
        }
    }

    // Spin arrows and arrow keys (the program's only stepping) step by one and stop at the range ends.
    void spinStepsItsBuddy() {
        CEditByte edit;
        CEditByteSpinCtrl spin;
        spin.SetBuddy(&edit);
        edit.SetValue(254);
        spin.UpButton()->click();
        spin.UpButton()->click();
        QCOMPARE(edit.text(), QStringLiteral("255"));
        spin.DownButton()->click();
        QTest::keyClick(&edit, Qt::Key_Down);
        QCOMPARE(int(edit.GetValue()), 253);
        edit.SetValue(1);
        QTest::keyClick(&edit, Qt::Key_Down);
        spin.DownButton()->click();
        QCOMPARE(edit.text(), QStringLiteral("0"));
    }

    // Alt and a tab's mnemonic selects that tab; another letter goes on to the field as usual.
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
        QTest::keyClick(field, Qt::Key_E, Qt::AltModifier);
        QCOMPARE(sheet->currentIndex(), 1);
        QTest::keyClick(sheet, Qt::Key_L, Qt::AltModifier);
        QCOMPARE(sheet->currentIndex(), 2);
        QTest::keyClick(sheet, Qt::Key_S, Qt::AltModifier);
        QCOMPARE(sheet->currentIndex(), 0);
        struct Watcher : QObject {
            int seen = 0;
            bool eventFilter(QObject*, QEvent* e) override {
                seen += e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_X;
                return false;
            }
        } watcher;
        field->installEventFilter(&watcher);
        QTest::keyClick(field, Qt::Key_X, Qt::AltModifier);
        QCOMPARE(sheet->currentIndex(), 0);
        QCOMPARE(watcher.seen, 1);
    }

    void versionLine() {
        const VersionInfo info{QStringLiteral("Terrix"), QStringLiteral("1, 47, 0, 284"), QString()};
        QCOMPARE(FormatVersionLine(info), QStringLiteral("Terrix Version 1.47 (Build 0.284)"));
    }

    // A command chosen from the titled menu, by itself or as the dialog's context menu, runs once. The title
    // is one line over the commands, which the keyboard passes over (it chooses the first enabled item).
    void chosenItemTriggersItsActionOnce() {
        for (const bool asContextMenu : {false, true}) {
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
                auto* menu = new CTitledPopupMenu(&dialog);
                menu->addAction(action);
                menu->SetMenuTitle(QStringLiteral("4711 (PX-TAVIK2)")); // once per menu, after its commands
                QCOMPARE(menu->actions().size(), 2);
                QCOMPARE(menu->actions().at(1), action);         // the title line first
                menu->Track(dialog.mapToGlobal(QPoint(10, 10))); // returns at once
            }
            QTRY_VERIFY2(runs == 1, asContextMenu ? "dialog context menu" : "tracked");
            // The menu has deleted itself.
            QTRY_VERIFY(dialog.findChildren<CTitledPopupMenu*>().isEmpty());
        }
    }

    // Calls posted from another thread run later on the window's thread and die with their window; calls
    // after it has gone, or after Detach, post nothing.
    void queuedCallsDieWithTheirWindow() {
        std::atomic<int> delivered{0};
        auto* window = new QObject;
        QueuedPoster poster(window);
        std::thread([&] {
            for (int i = 0; i < 100; ++i) {
                poster.Post([&] { ++delivered; });
            }
        }).join();
        delete window;
        poster.Post([&] { ++delivered; });
        QCoreApplication::processEvents();
        QCOMPARE(delivered.load(), 0);

        QObject alive;
        QueuedPoster second(&alive);
        std::thread([&] { second.Post([&] { ++delivered; }); }).join();
        QCOMPARE(delivered.load(), 0); // queued, not called on the posting thread
        QCoreApplication::processEvents();
        QCOMPARE(delivered.load(), 1);
        second.Detach();
        second.Post([&] { ++delivered; });
        QCoreApplication::processEvents();
        QCOMPARE(delivered.load(), 1);
    }
};

QTEST_MAIN(TestToolkitControls)
#include "tst_toolkit_controls.moc"
