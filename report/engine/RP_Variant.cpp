#include "report/engine/RP_Variant.h"

#include "report/engine/RP_Errors.h"
#include "report/engine/RP_Format.h"
#include "report/engine/RP_Locale.h"
#include "report/engine/RP_StringTable.h"

#include <cmath>
#include <limits>

namespace {

[[noreturn]] void CannotConvert(TrpValueKind from, const QString& to) {
  throw EVariantError(rpLoadStr(rpStrings::VariantConvert).arg(TrpValue::KindName(from), to));
}

constexpr double kInt64Limit = 9223372036854775808.0;  // 2^63

bool FitsInt64(double value) { return value >= -kInt64Limit && value < kInt64Limit; }

// A number from text: integer when the text is a whole number that fits, else float.
TrpValue NumberFromText(const QString& text) {
  int64_t whole = 0;
  if (rpTryTextToInteger(text, whole)) return TrpValue(whole);
  double value = 0;
  if (rpTryTextToFloat(text, value)) return TrpValue(value);
  CannotConvert(TrpValueKind::String, QStringLiteral("Double"));
}

bool IsFloatLike(const TrpValue& v) { return v.Kind() == TrpValueKind::Float || v.Kind() == TrpValueKind::DateTime; }

enum class Arith { Add, Subtract, Multiply };

TrpValue Arithmetic(const TrpValue& left, const TrpValue& right, Arith op) {
  if (left.IsNull() || right.IsNull()) return TrpValue::Null();
  if (op == Arith::Add && (left.IsString() || right.IsString()) &&
      (left.IsString() || left.IsEmpty()) && (right.IsString() || right.IsEmpty())) {
    if (left.StringValue().size() + right.StringValue().size() > rpMaxTextLength) {
      throw EVariantError(rpLoadStr(rpStrings::TextGrewTooLong));
    }
    return TrpValue(left.StringValue() + right.StringValue());
  }
  if (left.IsEmpty() && right.IsEmpty()) return TrpValue(0);
  const bool leftDate = left.Kind() == TrpValueKind::DateTime;
  const bool rightDate = right.Kind() == TrpValueKind::DateTime;
  const TrpValue a = left.ToNumber();
  const TrpValue b = right.ToNumber();
  if (!IsFloatLike(a) && !IsFloatLike(b)) {
    int64_t result = 0;
    bool overflow = false;
    switch (op) {
      case Arith::Add: overflow = __builtin_add_overflow(a.IntegerValue(), b.IntegerValue(), &result); break;
      case Arith::Subtract: overflow = __builtin_sub_overflow(a.IntegerValue(), b.IntegerValue(), &result); break;
      case Arith::Multiply: overflow = __builtin_mul_overflow(a.IntegerValue(), b.IntegerValue(), &result); break;
    }
    if (!overflow) return TrpValue(result);
  }
  const double x = a.ToFloat();
  const double y = b.ToFloat();
  switch (op) {
    case Arith::Add:
      if (leftDate || rightDate) return TrpValue::DateTime(x + y);
      return TrpValue(x + y);
    case Arith::Subtract:
      if (leftDate && !rightDate) return TrpValue::DateTime(x - y);
      return TrpValue(x - y);
    case Arith::Multiply: return TrpValue(x * y);
  }
  return TrpValue(0);
}

// -1, 0, 1 of two doubles.
TrpOrder OrderOf(double a, double b) {
  if (a < b) return TrpOrder::Less;
  if (a > b) return TrpOrder::Greater;
  return TrpOrder::Equal;
}

TrpOrder OrderOf(int64_t a, int64_t b) {
  if (a < b) return TrpOrder::Less;
  if (a > b) return TrpOrder::Greater;
  return TrpOrder::Equal;
}

TrpOrder CompareNumbers(const TrpValue& left, const TrpValue& right) {
  const TrpValue a = left.ToNumber();
  const TrpValue b = right.ToNumber();
  if (!IsFloatLike(a) && !IsFloatLike(b)) return OrderOf(a.IntegerValue(), b.IntegerValue());
  return OrderOf(a.ToFloat(), b.ToFloat());
}

}  // namespace

double rpRoundHalfEven(double value) {
  if (!std::isfinite(value)) return value;
  const double lower = std::floor(value);
  const double diff = value - lower;
  if (diff > 0.5) return lower + 1;
  if (diff < 0.5) return lower;
  return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

QString TrpValue::KindName(TrpValueKind kind) {
  switch (kind) {
    case TrpValueKind::Empty: return QStringLiteral("Empty");
    case TrpValueKind::Null: return QStringLiteral("Null");
    case TrpValueKind::Integer: return QStringLiteral("Int64");
    case TrpValueKind::Float: return QStringLiteral("Double");
    case TrpValueKind::String: return QStringLiteral("String");
    case TrpValueKind::Boolean: return QStringLiteral("Boolean");
    case TrpValueKind::DateTime: return QStringLiteral("Date");
  }
  return {};
}

TrpValue TrpValue::ToNumber() const {
  switch (kind_) {
    case TrpValueKind::Empty: return TrpValue(0);
    case TrpValueKind::Null: CannotConvert(kind_, QStringLiteral("Double"));
    case TrpValueKind::Integer: return *this;
    case TrpValueKind::Float: return *this;
    case TrpValueKind::Boolean: return TrpValue(bool_ ? -1 : 0);
    case TrpValueKind::DateTime: return TrpValue(float_);
    case TrpValueKind::String: return NumberFromText(text_);
  }
  return TrpValue(0);
}

double TrpValue::ToFloat() const {
  switch (kind_) {
    case TrpValueKind::Integer: return static_cast<double>(int_);
    case TrpValueKind::Float:
    case TrpValueKind::DateTime: return float_;
    default: {
      const TrpValue number = ToNumber();
      return number.kind_ == TrpValueKind::Integer ? static_cast<double>(number.int_) : number.float_;
    }
  }
}

int64_t TrpValue::ToInteger() const {
  const TrpValue number = ToNumber();
  if (number.kind_ == TrpValueKind::Integer) return number.int_;
  const double rounded = rpRoundHalfEven(number.float_);
  if (!FitsInt64(rounded)) CannotConvert(kind_, QStringLiteral("Int64"));
  return static_cast<int64_t>(rounded);
}

bool TrpValue::ToBoolean() const {
  switch (kind_) {
    case TrpValueKind::Empty: return false;
    case TrpValueKind::Null: CannotConvert(kind_, QStringLiteral("Boolean"));
    case TrpValueKind::Integer: return int_ != 0;
    case TrpValueKind::Float:
    case TrpValueKind::DateTime: return float_ != 0;
    case TrpValueKind::Boolean: return bool_;
    case TrpValueKind::String: {
      const QString trimmed = text_.trimmed();
      if (trimmed.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) return true;
      if (trimmed.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) return false;
      double number = 0;
      if (rpTryTextToFloat(trimmed, number)) return number != 0;
      CannotConvert(kind_, QStringLiteral("Boolean"));
    }
  }
  return false;
}

TDateTimeValue TrpValue::ToDateTime() const {
  switch (kind_) {
    case TrpValueKind::Empty: return 0;
    case TrpValueKind::Integer: return static_cast<double>(int_);
    case TrpValueKind::Float:
    case TrpValueKind::DateTime: return float_;
    case TrpValueKind::String: return rpStrToDateTime(text_);
    case TrpValueKind::Null:
    case TrpValueKind::Boolean: CannotConvert(kind_, QStringLiteral("Date"));
  }
  return 0;
}

QString TrpValue::ToString() const {
  switch (kind_) {
    case TrpValueKind::Empty:
    case TrpValueKind::Null: return {};
    case TrpValueKind::Integer: return QString::number(int_);
    case TrpValueKind::Float: return rpFloatToStr(float_);
    case TrpValueKind::Boolean: return bool_ ? QStringLiteral("True") : QStringLiteral("False");
    case TrpValueKind::DateTime: return rpDateTimeToStr(float_);
    case TrpValueKind::String: return text_;
  }
  return {};
}

bool TrpValue::SameAs(const TrpValue& other) const {
  if (kind_ != other.kind_) return false;
  switch (kind_) {
    case TrpValueKind::Empty:
    case TrpValueKind::Null: return true;
    case TrpValueKind::Integer: return int_ == other.int_;
    case TrpValueKind::Float:
    case TrpValueKind::DateTime: return float_ == other.float_ || (std::isnan(float_) && std::isnan(other.float_));
    case TrpValueKind::Boolean: return bool_ == other.bool_;
    case TrpValueKind::String: return text_ == other.text_;
  }
  return false;
}

TrpOrder rpCompare(const TrpValue& left, const TrpValue& right) {
  const TrpValueKind l = left.Kind();
  const TrpValueKind r = right.Kind();
  if (l == TrpValueKind::Null || r == TrpValueKind::Null) {
    if (l == r) return TrpOrder::Equal;
    return l == TrpValueKind::Null ? TrpOrder::Less : TrpOrder::Greater;
  }
  if (l == TrpValueKind::Empty && r == TrpValueKind::Empty) return TrpOrder::Equal;
  const bool leftText = l == TrpValueKind::String || (l == TrpValueKind::Empty && r == TrpValueKind::String);
  const bool rightText = r == TrpValueKind::String || (r == TrpValueKind::Empty && l == TrpValueKind::String);
  if (leftText && rightText) {
    const int c = QString::localeAwareCompare(left.StringValue(), right.StringValue());
    if (c != 0) return c < 0 ? TrpOrder::Less : TrpOrder::Greater;
    // Collation may call different texts equal; the language's "=" may not.
    const int exact = QString::compare(left.StringValue(), right.StringValue());
    return exact == 0 ? TrpOrder::Equal : exact < 0 ? TrpOrder::Less : TrpOrder::Greater;
  }
  // A text against a boolean or a date-time is read as one.
  if (l == TrpValueKind::String && r == TrpValueKind::Boolean) return CompareNumbers(TrpValue(left.ToBoolean()), right);
  if (r == TrpValueKind::String && l == TrpValueKind::Boolean) return CompareNumbers(left, TrpValue(right.ToBoolean()));
  if (l == TrpValueKind::String && r == TrpValueKind::DateTime) return OrderOf(left.ToDateTime(), right.FloatValue());
  if (r == TrpValueKind::String && l == TrpValueKind::DateTime) return OrderOf(left.FloatValue(), right.ToDateTime());
  return CompareNumbers(left, right);
}

bool rpEquals(const TrpValue& left, const TrpValue& right) { return rpCompare(left, right) == TrpOrder::Equal; }
bool rpLess(const TrpValue& left, const TrpValue& right) { return rpCompare(left, right) == TrpOrder::Less; }
bool rpGreater(const TrpValue& left, const TrpValue& right) { return rpCompare(left, right) == TrpOrder::Greater; }

TrpValue rpAdd(const TrpValue& left, const TrpValue& right) { return Arithmetic(left, right, Arith::Add); }
TrpValue rpSubtract(const TrpValue& left, const TrpValue& right) { return Arithmetic(left, right, Arith::Subtract); }
TrpValue rpMultiply(const TrpValue& left, const TrpValue& right) { return Arithmetic(left, right, Arith::Multiply); }

TrpValue rpDivide(const TrpValue& left, const TrpValue& right) {
  if (left.IsNull() || right.IsNull()) return TrpValue::Null();
  if (rpEquals(right, TrpValue(0))) return TrpValue(0);
  return TrpValue(left.ToFloat() / right.ToFloat());
}

TrpValue rpModulo(const TrpValue& left, const TrpValue& right) {
  if (left.IsNull() || right.IsNull()) return TrpValue::Null();
  const int64_t a = left.ToInteger();
  const int64_t b = right.ToInteger();
  if (b == 0) throw EVariantError(rpLoadStr(rpStrings::DivisionByZero));
  if (b == -1) return TrpValue(int64_t{0});  // also keeps INT64_MIN mod -1 defined
  return TrpValue(a % b);
}

TrpValue rpOr(const TrpValue& left, const TrpValue& right) {
  if (left.IsNull() || right.IsNull()) return TrpValue::Null();
  if (left.Kind() == TrpValueKind::Boolean && right.Kind() == TrpValueKind::Boolean) {
    return TrpValue(left.BooleanValue() || right.BooleanValue());
  }
  return TrpValue(left.ToInteger() | right.ToInteger());
}

TrpValue rpNegate(const TrpValue& value) {
  switch (value.Kind()) {
    case TrpValueKind::Null: return value;
    case TrpValueKind::DateTime: return TrpValue::DateTime(-value.FloatValue());
    default: break;
  }
  const TrpValue number = value.ToNumber();
  if (number.Kind() == TrpValueKind::Integer) {
    if (number.IntegerValue() == std::numeric_limits<int64_t>::min()) return TrpValue(-static_cast<double>(number.IntegerValue()));
    return TrpValue(-number.IntegerValue());
  }
  return TrpValue(-number.FloatValue());
}
