// The validated numeric fields: keystrokes, paste, Increment, hex, decimals and their messages.

#include "gui/toolkit/edit_byte_spin_ctrl.h"
#include "gui/toolkit/edit_double.h"
#include "gui/toolkit/edit_integer.h"
#include "gui_test_support.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
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

    void blanksAreSwallowed() {
        CEditByte edit;
        edit.SetValue(1);
        edit.end(false);
        Type(&edit, QStringLiteral(" 2"));
        QCOMPARE(edit.text(), QStringLiteral("12"));
        QCOMPARE(int(edit.GetValue()), 12);
    }

    void doubleValidation_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("number") << "12.5" << int(kValid) << QString();
        QTest::newRow("plus") << "+" << int(kIncomplete) << QString();
        QTest::newRow("trailing blanks") << "3 " << int(kValid) << QString();
        QTest::newRow("letters after") << "12abc" << int(kNotANumber) << "Characters must be a number.\n";
        QTest::newRow("letters") << "abc" << int(kNotANumber) << "Characters must be a number.\n";
        QTest::newRow("not finite") << "inf" << int(kNotANumber) << "Characters must be a number.\n";
        QTest::newRow("too low") << "-100.5" << int(kTooLow) << "Value must be at least -100.000000.\n";
        QTest::newRow("too high") << "101" << int(kTooHigh)
                                  << "Value must be less or equal than 100.000000.\n";
    }

    void doubleValidation() {
        QFETCH(QString, text);
        QFETCH(int, code);
        QFETCH(QString, message);
        test::MessageRecorder messages;
        CEditDouble edit;
        edit.SetRange(-100, 100);
        QCOMPARE(edit.Validate(text), code);
        QVERIFY(messages.messages.empty()); // silent by default
        edit.SetMessages(true);
        QCOMPARE(edit.Validate(text), code);
        QCOMPARE(messages.Texts(), message.isEmpty() ? QStringList{} : QStringList{message});
        if (!message.isEmpty()) {
            QCOMPARE(messages.messages.front().icon, MessageIcon::Stop);
        }
    }

    void integerValidation_data() {
        QTest::addColumn<int>("kind"); // 0 byte, 1 dword, 2 time
        QTest::addColumn<bool>("hex");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("byte 255") << 0 << false << "255" << int(kValid) << QString();
        QTest::newRow("byte 256") << 0 << false << "256" << int(kTooHigh)
                                  << "Value must be less or equal than 255.\n";
        QTest::newRow("byte 12abc") << 0 << false << "12abc" << int(kValid) << QString();
        QTest::newRow("byte letters")
            << 0 << false << "abc" << int(kNotANumber) << "Characters must form a number.\n";
        QTest::newRow("byte minus") << 0 << false << "-1" << int(kNotANumber)
                                    << "Characters must form a number.\n";
        QTest::newRow("byte beyond 32 bits")
            << 0 << false << "4294967296" << int(kTooHigh) << "Value must be less or equal than 255.\n";
        QTest::newRow("byte hex f") << 0 << true << "f" << int(kValid) << QString();
        QTest::newRow("byte hex 100")
            << 0 << true << "100" << int(kTooHigh) << "Value must be less or equal than least FF.\n";
        QTest::newRow("dword 100001")
            << 1 << false << "100001" << int(kTooHigh) << "Value must be less or equal than 100000.\n";
        QTest::newRow("dword 9") << 1 << false << "9" << int(kTooLow) << "Value must be at least 10.\n";
        QTest::newRow("dword hex 9") << 1 << true << "9" << int(kTooLow) << "Value must be at least A.\n";
        QTest::newRow("time 86401") << 2 << false << "86401" << int(kTooHigh)
                                    << "Value must be less or equal than 86400.\n";
    }

    void integerValidation() {
        QFETCH(int, kind);
        QFETCH(bool, hex);
        QFETCH(QString, text);
        QFETCH(int, code);
        QFETCH(QString, message);
        test::MessageRecorder messages;
        CEditByte byte;
        CEditDWord dword;
        dword.SetRange(10, 100000);
        CEditTTime time;
        CEditNumBase* edits[] = {&byte, &dword, &time};
        byte.SetHex(hex);
        dword.SetHex(hex);
        CEditNumBase* edit = edits[kind];
        edit->SetMessages(true);
        QCOMPARE(edit->Validate(text), code);
        QCOMPARE(messages.Texts(), message.isEmpty() ? QStringList{} : QStringList{message});
    }

    void byteKeepsTypedTextAfterTheNumber() {
        CEditByte edit;
        edit.SetValue(0);
        edit.selectAll();
        Type(&edit, QStringLiteral("12abc"));
        QCOMPARE(edit.text(), QStringLiteral("12abc"));
        QCOMPARE(int(edit.GetValue()), 12);
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

    void pasteIntoByteKeepsThePastedText() {
        CEditByte edit;
        edit.SetValue(1);
        edit.selectAll();
        QApplication::clipboard()->setText(QStringLiteral("12abc"));
        QVERIFY(edit.Paste());
        QCOMPARE(edit.text(), QStringLiteral("12abc"));
        QCOMPARE(int(edit.GetValue()), 12);
    }

    void integerIncrement_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("steps");
        QTest::addColumn<bool>("wrap");
        QTest::addColumn<int>("expected");
        QTest::newRow("up to the end") << 254 << 1 << 3 << false << 255;
        QTest::newRow("up and wrap") << 254 << 1 << 3 << true << 1;
        QTest::newRow("down to the start") << 2 << 1 << -5 << false << 0;
        QTest::newRow("down and wrap") << 1 << 1 << -2 << true << 255;
        QTest::newRow("big steps") << 10 << 50 << 4 << false << 210;
        QTest::newRow("step beyond the range") << 10 << 300 << 1 << false << 255;
        QTest::newRow("no steps") << 42 << 1 << 0 << false << 42;
    }

    void integerIncrement() {
        QFETCH(int, start);
        QFETCH(int, step);
        QFETCH(int, steps);
        QFETCH(bool, wrap);
        QFETCH(int, expected);
        if (step > 255) {
            // A step the byte cannot hold: use a word field with a byte's range instead.
            CEditDWord word;
            word.SetRange(0, 255);
            word.SetStep(static_cast<uint32_t>(step));
            word.SetValue(static_cast<uint32_t>(start));
            word.Increment(steps, wrap);
            QCOMPARE(int(word.GetValue()), expected);
            return;
        }
        CEditByte edit;
        edit.SetStep(static_cast<uint8_t>(step));
        edit.SetValue(static_cast<uint8_t>(start));
        edit.Increment(steps, wrap);
        QCOMPARE(int(edit.GetValue()), expected);
        QCOMPARE(edit.text(), QString::number(expected));
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
