#pragma once
// Unsigned entry fields, decimal or hexadecimal: CEditByte (0..255), CEditDWord (0..4294967295) and
// CEditTTime (seconds, 0..86400).

#include "gui/toolkit/edit_num.h"

#include <cstdint>

namespace terrix {

inline constexpr uint32_t kMaxDWord = 0xFFFFFFFFu;

template <typename T, uint32_t DefaultMaximum> class CEditInteger : public CEditNum<T> {
public:
    explicit CEditInteger(QWidget* parent = nullptr);

    // Reads and shows the value in hexadecimal ("FF"); off by default.
    void SetHex(bool hex) { hex_ = hex; }
    bool IsHex() const { return hex_; }

    bool SetValue(T value) override;
    int Validate(const QString& text) override;
    bool SetTextChecked(const QString& text) override;
    // Steps the value (the spin arrows); at the ends it wraps to the other end or stays there.
    void Increment(int steps, bool wrap);
    QString FormatValue(T value) const;

protected:
    void TakeTypedText() override;

private:
    bool hex_ = false;
};

extern template class CEditInteger<uint8_t, 255>;
extern template class CEditInteger<uint32_t, kMaxDWord>;
extern template class CEditInteger<uint32_t, 86400>;

class CEditByte : public CEditInteger<uint8_t, 255> {
    Q_OBJECT
public:
    using CEditInteger::CEditInteger;
};

class CEditDWord : public CEditInteger<uint32_t, kMaxDWord> {
    Q_OBJECT
public:
    using CEditInteger::CEditInteger;
};

class CEditTTime : public CEditInteger<uint32_t, 86400> {
    Q_OBJECT
public:
    using CEditInteger::CEditInteger;
};

} // namespace terrix
