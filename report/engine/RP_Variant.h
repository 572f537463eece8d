#pragma once
// The value every expression, variable and property of the engine carries: empty
// (unassigned), null, integer, floating point, string, boolean or date-time. It behaves
// as the variants of the platform the report language was made for; the decision table
// below is the whole of that behaviour, and RP_VariantTest checks it row by row.
//
// Conversions
//   to a number:  empty 0 (integer); boolean true -1, false 0 (integer); string: the
//                 text, trimmed, in the locale's decimal notation (integer when it has no
//                 fraction or exponent and fits 64 bits, else floating point), any other
//                 text is a conversion error; date-time: its day count (floating point);
//                 null: a conversion error.
//   to text:      empty and null "", integer decimal, floating point with 15 significant
//                 digits (rpFloatToStr), boolean "True"/"False", date-time as short date
//                 plus long time (the time left out at midnight).
//   to boolean:   empty false; numbers and date-times: not 0; string "True"/"False" in
//                 any case or a number; null: a conversion error.
//   to date-time: empty 0; numbers as days; string through rpStrToDateTime; boolean and
//                 null: conversion errors.
//
// Operations (N null, E empty, S string, B boolean, I integer, F float, D date-time)
//   +            N with anything: N. S+S, S+E, E+S: concatenation. E+E: I 0.
//                Otherwise both sides as numbers: I+I is I (F when it overflows),
//                D+number and number+D are D, anything else F.
//   - *          as +, but strings are never concatenated: S-S converts both; D-D is F,
//                D-number is D, D*x is F.
//   /            N with anything: N; a right side equal to 0 (by =, so 0, 0.0, '0',
//                false, empty) gives I 0; otherwise F division.
//   MOD          N: N; both sides as integers (F rounded, halves to even); right 0 is a
//                division-by-zero error; the remainder has the sign of the left (I).
//   OR           N: N; B OR B: boolean or; otherwise both as integers, bitwise (I).
//   unary -      N: N; E: I 0; B: I (1 or 0); S: its number negated; D stays D.
//   compare      yields I 1 or 0 (the parser does that), from rpCompare:
//                N = N; N is below every other value and unequal to it.
//                E = E; E against S as "", against anything else as 0.
//                S with S: by the locale's collation, case-sensitive.
//                S with B: the text as boolean; S with D: the text as date-time;
//                S with a number: the text as number.
//                Numbers, booleans (-1/0) and date-times compare by value.
#include <QString>
#include <cstdint>

// The longest text a value holds (16M characters): more than any report needs, so a
// script that doubles a text in a loop, or a quoted literal of a damaged form, stops with
// an error instead of taking all memory.
constexpr qsizetype rpMaxTextLength = qsizetype{1} << 24;

using TDateTimeValue = double;

enum class TrpValueKind : uint8_t { Empty, Null, Integer, Float, String, Boolean, DateTime };

class TrpValue {
public:
  TrpValue() = default;
  TrpValue(int value) : kind_(TrpValueKind::Integer), int_(value) {}
  TrpValue(int64_t value) : kind_(TrpValueKind::Integer), int_(value) {}
  TrpValue(double value) : kind_(TrpValueKind::Float), float_(value) {}
  TrpValue(bool value) : kind_(TrpValueKind::Boolean), bool_(value) {}
  TrpValue(QString value) : kind_(TrpValueKind::String), text_(std::move(value)) {}
  TrpValue(const char16_t* value) : TrpValue(QString::fromUtf16(value)) {}
  TrpValue(const char*) = delete;  // say which encoding: QStringLiteral or u"..."

  static TrpValue Null() {
    TrpValue value;
    value.kind_ = TrpValueKind::Null;
    return value;
  }
  static TrpValue DateTime(TDateTimeValue days) {
    TrpValue value(days);
    value.kind_ = TrpValueKind::DateTime;
    return value;
  }

  TrpValueKind Kind() const { return kind_; }
  bool IsEmpty() const { return kind_ == TrpValueKind::Empty; }
  bool IsNull() const { return kind_ == TrpValueKind::Null; }
  bool IsString() const { return kind_ == TrpValueKind::String; }
  // Integer, floating point, boolean or date-time.
  bool IsNumeric() const {
    return kind_ == TrpValueKind::Integer || kind_ == TrpValueKind::Float || kind_ == TrpValueKind::Boolean ||
           kind_ == TrpValueKind::DateTime;
  }

  // The raw payloads; meaningful only for the matching kind.
  int64_t IntegerValue() const { return int_; }
  double FloatValue() const { return float_; }
  bool BooleanValue() const { return bool_; }
  const QString& StringValue() const { return text_; }

  // The conversions of the table above; they raise EVariantError or EConvertError.
  double ToFloat() const;
  // Floating point rounds to the nearest integer, halves to even.
  int64_t ToInteger() const;
  bool ToBoolean() const;
  TDateTimeValue ToDateTime() const;
  QString ToString() const;
  // A number as the table converts it (integer or floating point; date-times as
  // floating point); used by the operators.
  TrpValue ToNumber() const;

  // Same kind and same payload (not the language's "=": see rpCompare).
  bool SameAs(const TrpValue& other) const;

  static QString KindName(TrpValueKind kind);

private:
  TrpValueKind kind_ = TrpValueKind::Empty;
  union {
    int64_t int_ = 0;
    double float_;
    bool bool_;
  };
  QString text_;
};

enum class TrpOrder { Less, Equal, Greater };

// Compares as the table says.
TrpOrder rpCompare(const TrpValue& left, const TrpValue& right);
bool rpEquals(const TrpValue& left, const TrpValue& right);
// The language's comparisons, as the truth of left OP right.
bool rpLess(const TrpValue& left, const TrpValue& right);
bool rpGreater(const TrpValue& left, const TrpValue& right);

TrpValue rpAdd(const TrpValue& left, const TrpValue& right);
TrpValue rpSubtract(const TrpValue& left, const TrpValue& right);
TrpValue rpMultiply(const TrpValue& left, const TrpValue& right);
TrpValue rpDivide(const TrpValue& left, const TrpValue& right);
TrpValue rpModulo(const TrpValue& left, const TrpValue& right);
TrpValue rpOr(const TrpValue& left, const TrpValue& right);
TrpValue rpNegate(const TrpValue& value);

// Nearest integer, halves to even.
double rpRoundHalfEven(double value);
