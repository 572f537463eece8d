#pragma once
// The engine's texts by string id: every text of the report engine and the print
// wizard, compiled in. rpLoadStr (RP_Utils.h) looks them up; an id not listed gives the
// empty text. The named ids below are the ones the code refers to.
#include <array>
#include <cstddef>

struct TrpStringEntry {
  int id;
  const char16_t* text;
};

namespace rpStrings {

// Sorted by id.
const std::array<TrpStringEntry, 295>& Table();

constexpr int CalcError = 53400;  // An error occured during calculating
constexpr int ReportLabel = 53401;  // Report:
constexpr int ObjectLabel = 53402;  // Object:
constexpr int NeedSemicolonOrEnd = 53450;  // Need ";" or "end" here
constexpr int NeedThen = 53451;  // Need "then" here
constexpr int NeedSemicolonOrUntil = 53452;  // Need ";" or "until" here
constexpr int NeedDo = 53453;  // Need "do" here
constexpr int NeedTo = 53454;  // Need "to" here
constexpr int GotoLabelNumber = 53455;  // "goto" label must be a number
constexpr int NeedAssign = 53456;  // Need ":=" here
constexpr int NeedCloseParen = 53457;  // Need ")" here
constexpr int NeedCloseBracket = 53458;  // Need "]" here
constexpr int NeedCommaOrParen = 53459;  // Need "," or ")" here
constexpr int LinePrefix = 53460;  // Line 
constexpr int NonPlugged = 53518;  // Report contains the following non-plugged components:
constexpr int IncludeComponents = 54151;  // You must include these components into your project.
constexpr int Database = 53600;  // Database
constexpr int FieldIsNullDescription = 53601;  // FIELDISNULL(<FieldName>)/Returns 'true' if DB-field is null
constexpr int DefaultCharset = 55050;
constexpr int BooleanFormat0 = 55060;
constexpr int DateFormat0 = 55064;
constexpr int TimeFormat0 = 55068;
constexpr int BandName0 = 55077;
constexpr int FormatCategory0 = 55190;
constexpr int FormatKind0 = 55200;
constexpr int Missing = 53800;  // Missing 
constexpr int UnableToOpenDataset = 53801;  // Unable to open dataset 
constexpr int ProgressCancel = 53073;  // Cancel
constexpr int Ok = 53008;  // OK
constexpr int PreparingReport = 53802;  // Preparing report
constexpr int FirstPass = 53803;  // Performing 1st pass:
constexpr int ProcessingPage = 53804;  // Processing page:
constexpr int FindText = 53218;  // Find text
constexpr int TextToFind = 53805;  // Text to &find
constexpr int Options = 53806;  // Options
constexpr int CaseSensitive = 53807;  // &Case sensitive
constexpr int Origin = 53808;  // Origin
constexpr int FirstPage = 53222;  // &1st page
constexpr int CurrentPage = 53223;  // Current &page
constexpr int Password = 53809;  // Password
constexpr int EnterPassword = 53810;  // Enter password for opening report
constexpr int UndefinedSymbol = 53903;  // Undefined symbol
constexpr int Untitled = 53900;  // Untitled
constexpr int Error = 53901;  // Error
constexpr int From = 53902;  // from
constexpr int Preview = 53072;  // Preview
constexpr int PrintingPage = 53904;  // Printing page:
constexpr int PrinterNotValid = 53905;  // Printer selected is not valid
constexpr int NoPagesToPrint = 53906;  // The pages asked for are not in the report: nothing was printed.
constexpr int UnsupportedFormat = 54150;  // Unsupported RPF format
constexpr int VirtualPrinter = 53700;  // Virtual printer
constexpr int VariantConvert = 55600;
constexpr int InvalidVariantOp = 55601;
constexpr int InvalidFloat = 55602;
constexpr int InvalidInteger = 55603;
constexpr int InvalidDate = 55604;
constexpr int InvalidTime = 55605;
constexpr int InvalidDateTime = 55606;
constexpr int DivisionByZero = 55607;
constexpr int ExpressionTooComplex = 55608;
constexpr int InvalidExpression = 55609;
constexpr int ScriptTooLong = 55610;
constexpr int TooManyLabels = 55611;
constexpr int ScriptRunsTooLong = 55612;
constexpr int TooManyLibraries = 55613;
constexpr int StreamReadError = 55614;
constexpr int UnbalancedParentheses = 55615;
constexpr int StreamWriteError = 55616;
constexpr int TextTooLong = 55617;
constexpr int TextGrewTooLong = 55618;
constexpr int QuotedTextTooLong = 55619;

}  // namespace rpStrings
