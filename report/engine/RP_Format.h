#pragma once
// Number, date and time texts with the format-string rules of the platform the report
// language was made for, over the settings record of the context in use (RP_Context.h).
//
// Date-time format letters (case does not matter): c short date and long time (time left
// out at midnight); d dd day; ddd dddd day name; ddddd short date; dddddd long date;
// m mm month (minutes right after h or hh); mmm mmmm month name; yy yyyy year; h hh hour
// (12-hour when the format holds an am/pm marker); n nn minute; s ss second; z zzz
// milliseconds; t short time; tt long time; am/pm, a/p (the letters' case kept), ampm
// (the locale's texts); / date separator; : time separator; '...' and "..." literal
// text. An empty format is c.
//
// Number formats: up to three sections "positive;negative;zero" (an empty or missing
// negative section uses the positive one with a minus sign; the zero section applies
// when the value rounds to zero); 0 digit, # optional digit, . decimal separator (the
// first one; later ones are left out), , thousands separators (anywhere in the section), E+ E- e+ e- scientific
// notation with the zeros after it as the exponent's least digits, '...' and "..."
// literal text, anything else as it stands. Rounding goes to the nearest text and takes
// an exact half away from zero (0.125 is "0.13" with two places; ROUND alone takes halves
// to even). An empty format or section, and a value of 1E18 or more without scientific
// notation, is written as rpFloatToStr writes it.
#include "report/engine/RP_Context.h"
#include "report/engine/RP_Variant.h"

#include <QString>

// 15 significant digits, fixed notation unless the value needs more than 15 digits
// before the separator or is below 0.00001; «1E20», «1.5E-7».
QString rpFloatToStr(double value);
QString rpFormatFloat(const QString& format, double value);
QString rpFormatDateTime(const QString& format, TDateTimeValue value);
QString rpDateTimeToStr(TDateTimeValue value);

// Text with an edit mask: "mask;save literals;blank character". Mask characters:
// 0 9 # digits, L l letters, A a letters or digits, C c any character (one character of
// the text each); > upper case and < lower case for what follows, <> neither; \ takes the
// next character literally; ! aligns the text to the right when it is short; : and / the
// time and date separators; _ a blank; anything else is a literal. With save literals 0
// the text holds only the characters typed, and the literals are put in; with 1 it holds
// them already. Places the text does not fill show the blank character.
QString rpFormatMaskText(const QString& editMask, const QString& text);

// Parses numbers in the locale's notation: optional blanks, a sign, digits with at most
// one decimal separator, an optional exponent. False for anything else.
bool rpTryTextToFloat(const QString& text, double& value);
// The same, for whole numbers only (also "$" and hexadecimal digits).
bool rpTryTextToInteger(const QString& text, int64_t& value);
// Raise EConvertError with the platform's message for the text.
double rpTextToFloat(const QString& text);
int64_t rpTextToInteger(const QString& text);

// Dates and times in the locale's order (short date format) and separators: day, month
// and year as numbers, a missing year is this year, two-digit years go through the
// century window; times as h[:n[:s[.z]]] with an optional am/pm marker. Raise
// EConvertError.
TDateTimeValue rpStrToDate(const QString& text);
TDateTimeValue rpStrToTime(const QString& text);
TDateTimeValue rpStrToDateTime(const QString& text);
bool rpTryStrToDateTime(const QString& text, TDateTimeValue& value);
