#pragma once
// Run-time error numbers and internal statuses shared by every part of the
// runtime. Routines return 0 or one of these; the statement entry hands a
// non-zero number to report_error.
namespace rio {

inline constexpr int kOk = 0;
// Internal only, never reported as a number: the unit's input ended while a
// value or record was wanted. The statement layer turns it into the END=
// branch or error 10013 (report_end_of_file).
inline constexpr int kEndOfFile = -1;
// Internal only: a non-advancing READ met the end of its record.
inline constexpr int kEndOfRecord = -2;

inline constexpr int kFileNotOpenForRead = 10000;
inline constexpr int kFileNotOpenForWrite = 10001;
inline constexpr int kFileNotFound = 10002;
inline constexpr int kRecordLengthNotPositive = 10003;
inline constexpr int kBufferAllocationFailed = 10004;
inline constexpr int kBadIolistSpecifier = 10005;
inline constexpr int kErrorInFormatString = 10006;
inline constexpr int kIllegalRepeatCount = 10007;
inline constexpr int kHollerithCountExceeds = 10008;
inline constexpr int kFormatMissingOpeningParen = 10009;
inline constexpr int kFormatUnmatchedParens = 10010;
inline constexpr int kFormatUnmatchedQuotes = 10011;
inline constexpr int kNonRepeatableDescriptor = 10012;
inline constexpr int kReadPastEndOfFile = 10013;
inline constexpr int kBadFileSpecification = 10014;
inline constexpr int kFormatGroupTableOverflow = 10015;
inline constexpr int kIllegalCharacterInNumericInput = 10016;
inline constexpr int kNoRecordForDirectAccess = 10017;
inline constexpr int kMaximumRecordNumberExceeded = 10018;
inline constexpr int kTypeOrSizeMismatch = 10022;
inline constexpr int kIllegalDirectAccessRecordNumber = 10023;
inline constexpr int kIllegalUseOfInternalFile = 10024;
inline constexpr int kStructureNeedsUnformatted = 10028;
inline constexpr int kNegativeUnitSpecifier = 10029;
inline constexpr int kOpenSpecificationsMismatch = 10030;
inline constexpr int kCannotImplicitlyOpenDirect = 10031;
inline constexpr int kStatusNewForExistingFile = 10032;
inline constexpr int kBadEndianSpecifier = 10036;
inline constexpr int kReadPastEndOfRecord = 10038;
inline constexpr int kReadPastEndOfRecordNonAdvancing = 10039;
inline constexpr int kIllegalAdvanceSpecifier = 10040;
inline constexpr int kIllegalDelimSpecifier = 10041;
inline constexpr int kIllegalPadSpecifier = 10042;
inline constexpr int kSizeWithAdvanceYes = 10043;
inline constexpr int kEorWithAdvanceYes = 10044;
inline constexpr int kArrayAlreadyAllocated = 10047;
inline constexpr int kInternalError = 10048;
inline constexpr int kRecordTooLong = 10060;
inline constexpr int kAdvanceForDirectOrUnformatted = 10061;
inline constexpr int kPadForUnformatted = 10064;
inline constexpr int kArrayNotAllocated = 10068;

}  // namespace rio
