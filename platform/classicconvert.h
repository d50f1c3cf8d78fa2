#pragma once

#include <QString>
#include <QVariant>

#include <cstdint>

namespace platform {

// Conversions of stored or passed-in values by the classic BASIC rules. Every conversion
// of a value read from disk goes through these, so bad stored values fail in one way:
// error 13 (type mismatch) for text that is not a number, error 6 (overflow) for a number
// out of range. All throw com::RuntimeError.

// Decimal text (blanks around allowed, fractions rounded half to even) to 16 bits.
std::int16_t CInt(const QString& text);
// The same to 32 bits.
std::int32_t CLng(const QString& text);
// "True" / "False" in any letter case, or any number (non-zero is true).
bool CBool(const QString& text);
// A double rounded half to even into 16 or 32 bits; error 6 when it does not fit.
std::int16_t CInt(double value);
std::int32_t CLng(double value);

// The text a value takes in its default conversion: numbers in shortest form, booleans as
// "True"/"False", empty and null as empty text. Arrays, lists, maps and objects without a
// default text have none: error 13.
QString CStr(const QVariant& value);

// "True" or "False", as booleans are stored.
QString boolText(bool value);

} // namespace platform
