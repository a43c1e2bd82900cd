#pragma once
// The common part of the numeric entry fields: every typed character and every paste is checked against the
// field's number format and range; a rejected keystroke puts back the value from before the last SetValue,
// selects it and throws away the keys typed ahead, so a burst of keys cannot leave half a number behind.

#include "gui/toolkit/number_text.h"

#include <QClipboard>
#include <QLineEdit>

namespace terrix {

class CEditNumBase : public QLineEdit {
    Q_OBJECT
public:
    explicit CEditNumBase(QWidget* parent = nullptr);

    // Rejected input is reported with a message box; off by default.
    void SetMessages(bool on) { messages_ = on; }
    bool Messages() const { return messages_; }

    // A ValidationCode for `text`; with messages on, codes 2, 4 and 8 are also shown.
    virtual int Validate(const QString& text) = 0;
    int ValidateWindowText() { return Validate(text()); }
    // Takes `text` as the new value when it validates, else leaves everything (and says so with messages on).
    virtual bool SetTextChecked(const QString& text) = 0;

    // Replaces the selection with the clipboard's text if the result validates.
    bool Paste(QClipboard::Mode mode = QClipboard::Clipboard);

    // True between a rejected keystroke and the moment the keys typed ahead of it have been thrown away.
    bool IsDiscardingTypeAhead() const { return discarding_; }

Q_SIGNALS:
    // A typed character was accepted and is now the value.
    void valueEdited();

protected:
    // The accepted window text becomes the value (the previous value stays).
    virtual void TakeTypedText() = 0;
    // Shows the value from before the last SetValue again.
    virtual void RestorePreviousValue() = 0;

    void ShowValidationMessage(const QString& text);
    void ShowPasteNotice(int code, const QString& result);

    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void DiscardTypeAhead();

    bool messages_ = false;
    bool discarding_ = false;
};

// Value, previous value, step and range of one value type.
template <typename T> class CEditNum : public CEditNumBase {
public:
    using CEditNumBase::CEditNumBase;

    T GetValue() const { return value_; }
    T GetStep() const { return step_; }
    void SetStep(T step) { step_ = step; }
    void GetRange(T& minimum, T& maximum) const {
        minimum = min_;
        maximum = max_;
    }
    void SetRange(T minimum, T maximum) {
        min_ = minimum;
        max_ = maximum;
    }
    // Refused (false, nothing changes) outside the range; otherwise the previous value is kept and the value
    // shown.
    virtual bool SetValue(T value) = 0;
    // SetValue that also makes `value` the one a rejected keystroke goes back to: the value a dialog starts
    // from, so that a typo shows it again rather than whatever the field held before (0 at first).
    bool ResetValue(T value) {
        if (!SetValue(value)) {
            return false;
        }
        previous_ = value;
        return true;
    }

protected:
    // The value to go back to stays what it was: a second typo must not bring back the first one's digits.
    void RestorePreviousValue() override { ResetValue(previous_); }

    T previous_{};
    T value_{};
    T step_{1};
    T min_{};
    T max_{};
};

} // namespace terrix
