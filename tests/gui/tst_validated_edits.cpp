// The validated numeric fields: keystrokes, paste, Increment, hex, decimals and their messages.

#include "gui/toolkit/edit_byte_spin_ctrl.h"
#include "gui/toolkit/edit_double.h"
#include "gui/toolkit/edit_integer.h"
#include "gui_test_support.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <cfloat>

using namespace terrix;

namespace {

void Type(QLineEdit* edit, const QString& keys) {
    for (const QChar c : keys) {
        QTest::keyClick(edit, c.toLatin1());
    }
}

} // namespace

class TestValidatedEdits : public QObject {
    Q_OBJECT

    test::TempDataDir data_;

private Q_SLOTS:
    void typedKeysAreCheckedOneByOne() {
        CEditDouble edit;
        edit.SetRange(-100, 100);
        QVERIFY(edit.SetValue(0));
        QSignalSpy changed(&edit, &CEditNumBase::valueEdited);
        edit.selectAll();
        Type(&edit, QStringLiteral("100"));
        QCOMPARE(edit.text(), QStringLiteral("100"));
        QCOMPARE(edit.GetValue(), 100.0);
        QCOMPARE(changed.count(), 3);
        // 1000 is too high: the value from before the last SetValue comes back, selected.
        Type(&edit, QStringLiteral("0"));
        QCOMPARE(edit.text(), QStringLiteral("0"));
        QCOMPARE(edit.GetValue(), 0.0);
        QCOMPARE(edit.selectedText(), QStringLiteral("0"));
        QCOMPARE(changed.count(), 3);
    }

    void keysTypedAheadOfARejectionAreDropped() {
        CEditDouble edit;
        edit.SetRange(-100, 100);
        edit.SetValue(0);
        edit.selectAll();
        for (const char key : {'1', '0', '0', '0', '5', '5'}) {
            QCoreApplication::postEvent(
                &edit, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, QString(QChar(key))));
        }
        QCoreApplication::sendPostedEvents(&edit, QEvent::KeyPress);
        QCOMPARE(edit.text(), QStringLiteral("0"));
        QCOMPARE(edit.GetValue(), 0.0);
        // Keys typed after the event loop went on are taken again.
        QTRY_VERIFY(!edit.IsDiscardingTypeAhead());
        edit.selectAll();
        Type(&edit, QStringLiteral("5"));
        QCOMPARE(edit.GetValue(), 5.0);
    }

    void signAloneIsAcceptedWithoutValue() {
        CEditDouble edit;
        edit.SetValue(7);
        edit.clear();
        Type(&edit, QStringLiteral("-"));
        QCOMPARE(edit.text(), QStringLiteral("-"));
        QCOMPARE(edit.GetValue(), 7.0);
        Type(&edit, QStringLiteral("3"));
        QCOMPARE(edit.GetValue(), -3.0);
    }

    void doubleValidation() {
        const QString notANumber = QStringLiteral("Characters must be a number.\n");
        const struct {
            const char* text;
            int code;
            QString message;
        } cases[] = {
            {"12.5", kValid, {}},
            {"+", kIncomplete, {}},
            {"3 ", kValid, {}},
            {"12abc", kNotANumber, notANumber},
            {"inf", kNotANumber, notANumber},
            {"-100.5", kTooLow, QStringLiteral("Value must be at least -100.000000.\n")},
            {"101", kTooHigh, QStringLiteral("Value must be less or equal than 100.000000.\n")},
        };
        for (const auto& c : cases) {
            test::MessageRecorder messages;
            CEditDouble edit;
            edit.SetRange(-100, 100);
            QCOMPARE(edit.Validate(QString::fromLatin1(c.text)), c.code);
            QVERIFY(messages.messages.empty()); // silent by default
            edit.SetMessages(true);
            QCOMPARE(edit.Validate(QString::fromLatin1(c.text)), c.code);
            QCOMPARE(messages.Texts(), c.message.isEmpty() ? QStringList{} : QStringList{c.message});
            if (!c.message.isEmpty()) {
                QCOMPARE(messages.messages.front().icon, MessageIcon::Stop);
            }
        }
    }

    void integerValidation() {
        const QString notANumber = QStringLiteral("Characters must form a number.\n");
        const QString byteHigh = QStringLiteral("Value must be less or equal than 255.\n");
        const struct {
            int kind; // 0 byte, 1 dword 10..100000, 2 time
            bool hex;
            const char* text;
            int code;
            QString message;
        } cases[] = {
            {0, false, "255", kValid, {}},
            {0, false, "256", kTooHigh, byteHigh},
            {0, false, "12abc", kValid, {}},
            {0, false, "abc", kNotANumber, notANumber},
            {0, false, "-1", kNotANumber, notANumber},
            {0, false, "4294967296", kTooHigh, byteHigh},
            {0, true, "f", kValid, {}},
            {0, true, "100", kTooHigh, QStringLiteral("Value must be less or equal than least FF.\n")},
            {1, false, "100001", kTooHigh, QStringLiteral("Value must be less or equal than 100000.\n")},
            {1, false, "9", kTooLow, QStringLiteral("Value must be at least 10.\n")},
            {1, true, "9", kTooLow, QStringLiteral("Value must be at least A.\n")},
            {2, false, "86401", kTooHigh, QStringLiteral("Value must be less or equal than 86400.\n")},
        };
        for (const auto& c : cases) {
            test::MessageRecorder messages;
            CEditByte byte;
            CEditDWord dword;
            dword.SetRange(10, 100000);
            CEditTTime time;
            CEditNumBase* edits[] = {&byte, &dword, &time};
            byte.SetHex(c.hex);
            dword.SetHex(c.hex);
            CEditNumBase* edit = edits[c.kind];
            edit->SetMessages(true);
            QCOMPARE(edit->Validate(QString::fromLatin1(c.text)), c.code);
            QCOMPARE(messages.Texts(), c.message.isEmpty() ? QStringList{} : QStringList{c.message});
        }
    }

    void byteKeepsTextAfterTheNumberAndSwallowsBlanks() {
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
    }

    void hexFields() {
        CEditByte edit;
        edit.SetHex(true);
        QVERIFY(edit.SetValue(10));
        QCOMPARE(edit.text(), QStringLiteral("A"));
        edit.selectAll();
        Type(&edit, QStringLiteral("f"));
        QCOMPARE(int(edit.GetValue()), 15);
        QVERIFY(edit.SetValue(255));
        QCOMPARE(edit.text(), QStringLiteral("FF"));
    }

    void setValueRefusesValuesOutsideTheRange() {
        CEditDWord edit;
        edit.SetRange(5, 10);
        QVERIFY(edit.SetValue(7));
        QVERIFY(!edit.SetValue(11));
        QVERIFY(!edit.SetValue(4));
        QCOMPARE(edit.GetValue(), 7u);
        QCOMPARE(edit.text(), QStringLiteral("7"));
        CEditDouble real;
        QVERIFY(!real.SetValue(std::numeric_limits<double>::quiet_NaN()));
        QVERIFY(!real.SetValue(std::numeric_limits<double>::infinity()));
    }

    void pasteIsChecked() {
        test::MessageRecorder messages;
        CEditDouble edit;
        edit.SetRange(0, 100);
        edit.SetValue(5);
        edit.SetMessages(true);
        edit.selectAll();
        QApplication::clipboard()->setText(QStringLiteral("letters"));
        QVERIFY(!edit.Paste());
        QCOMPARE(edit.text(), QStringLiteral("5"));
        QCOMPARE(edit.GetValue(), 5.0);
        QCOMPARE(messages.messages.back().caption, QStringLiteral("Paste Notice"));
        QCOMPARE(
            messages.messages.back().text,
            QStringLiteral("The format of the resulting string is wrong: letters\"\nPaste Command Ignored"));

        messages.Clear();
        edit.selectAll();
        QApplication::clipboard()->setText(QStringLiteral("150"));
        QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(messages.messages.back().text,
                 QStringLiteral("The resulting value becomes too high: 150\"\nPaste Command Ignored"));
        QCOMPARE(edit.GetValue(), 5.0);

        messages.Clear();
        edit.end(false);
        QApplication::clipboard()->setText(QStringLiteral(".5"));
        QVERIFY(edit.Paste());
        QVERIFY(messages.messages.empty());
        QCOMPARE(edit.GetValue(), 5.5);
        QCOMPARE(edit.GetPreviousValue(), 5.0);
    }

    void contextMenuPasteIsChecked() {
        CEditByte edit;
        edit.SetValue(1);
        edit.show();
        edit.selectAll();
        QApplication::clipboard()->setText(QStringLiteral("999"));
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), edit.mapToGlobal(QPoint(2, 2)));
        QCoreApplication::sendEvent(&edit, &event);
        QMenu* menu = edit.findChild<QMenu*>();
        QVERIFY(menu != nullptr);
        QAction* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste"));
        QVERIFY(paste != nullptr);
        paste->trigger();
        QCOMPARE(edit.text(), QStringLiteral("1")); // 999 is too high for a byte
        QApplication::clipboard()->setText(QStringLiteral("99"));
        paste->trigger();
        QCOMPARE(int(edit.GetValue()), 99);
        menu->close();
    }

    void integerIncrement() {
        const struct {
            int start, step, steps;
            bool wrap;
            int expected;
        } cases[] =
            {
                {254, 1, 3, false, 255},  {254, 1, 3, true, 1},    {2, 1, -5, false, 0},
                {1, 1, -2, true, 255},    {10, 50, 4, false, 210}, {42, 1, 0, false, 42},
                {10, 300, 1, false, 255}, // the last one on a word
            };
        for (const auto& c : cases) {
            if (c.step > 255) {
                // A step the byte cannot hold: a word field with a byte's range instead.
                CEditDWord word;
                word.SetRange(0, 255);
                word.SetStep(static_cast<uint32_t>(c.step));
                word.SetValue(static_cast<uint32_t>(c.start));
                word.Increment(c.steps, c.wrap);
                QCOMPARE(int(word.GetValue()), c.expected);
                continue;
            }
            CEditByte edit;
            edit.SetStep(static_cast<uint8_t>(c.step));
            edit.SetValue(static_cast<uint8_t>(c.start));
            edit.Increment(c.steps, c.wrap);
            QCOMPARE(int(edit.GetValue()), c.expected);
            QCOMPARE(edit.text(), QString::number(c.expected));
        }
    }

    void doubleIncrement() {
        CEditDouble edit;
        edit.SetRange(-100, 100);
        edit.SetStep(0.1);
        edit.SetValue(0);
        for (int i = 0; i < 1001; ++i) {
            edit.Increment(1, false);
        }
        QCOMPARE(edit.GetValue(), 100.0);
        edit.Increment(1, true);
        QCOMPARE(edit.GetValue(), -100.0);
        edit.Increment(-1, false);
        QCOMPARE(edit.GetValue(), -100.0);
    }

    void decimalsGrowAndNeverShrink() {
        CEditDouble edit;
        edit.SetValue(3);
        QCOMPARE(edit.text(), QStringLiteral("3"));
        edit.SetValue(1.25);
        QCOMPARE(edit.text(), QStringLiteral("1.25"));
        edit.SetValue(3);
        QCOMPARE(edit.text(), QStringLiteral("3.00"));
        QCOMPARE(edit.Decimals(), 2);
        edit.SetValue(0.1234567); // six decimals at most
        QCOMPARE(edit.text(), QStringLiteral("0.123457"));
    }

    void spinStepsItsBuddy() {
        CEditByte edit;
        edit.SetValue(254);
        CEditByteSpinCtrl spin;
        spin.SetBuddy(&edit);
        spin.UpButton()->click();
        QCOMPARE(int(edit.GetValue()), 255);
        spin.UpButton()->click();
        QCOMPARE(int(edit.GetValue()), 255);
        spin.SetWrap(true);
        spin.UpButton()->click();
        QCOMPARE(int(edit.GetValue()), 0);
        spin.DownButton()->click();
        QCOMPARE(int(edit.GetValue()), 255);
        QTest::keyClick(&edit, Qt::Key_Down);
        QCOMPARE(int(edit.GetValue()), 254);
    }
};

QTEST_MAIN(TestValidatedEdits)
#include "tst_validated_edits.moc"
