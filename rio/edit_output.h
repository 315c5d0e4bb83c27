#pragma once
// Output editing of one item under an edit request: the field layouts of the
// integer, real, logical and character descriptors, shared by formatted and
// list-directed output.
#include <cstdint>

#include "rio/record_buffer.h"

namespace rio {

// Data descriptor kinds; the control kinds follow them in the format layer.
enum DescriptorKind : int {
  kKindI = 1,
  kKindB = 2,
  kKindO = 3,
  kKindZ = 4,
  kKindF = 5,
  kKindE = 6,
  kKindD = 7,
  kKindES = 8,
  kKindEN = 9,
  kKindG = 10,
  kKindL = 11,
  kKindA = 12,
};

enum class ComplexPart { kNone, kReal, kImaginary };

// One edit request: the descriptor with its parameters and the statement
// flags that shape the field.
struct EditRequest {
  int kind = kKindA;
  int w = 0;  // field width; 0 for A means the item's length
  int d = 0;  // digits after the point, or minimum digits m
  int e = 2;  // exponent digits
  int k = 0;  // scale factor
  bool plus_sign = false;
  bool list_directed = false;
  ComplexPart complex_part = ComplexPart::kNone;
};

// A real value ready for a real descriptor: width is the field width less
// the column of a sign, full_width the width that asterisks fill.
struct RealField {
  double value = 0.0;
  int real_size = 4;
  int width = 0;
  int full_width = 0;
};

// Edits one element (address, item state, byte length; for COMPLEX one part)
// into the record. Returns 0 or an error number.
int edit_item(RecordBuffer& record, const void* address, int state, int byte_length,
              const EditRequest& request);

// The request list-directed output uses for an item of this state and size.
EditRequest list_directed_request(int state, int byte_length);

// sign: -1, 0 or 1 for integers; -1 (sign bit set) or 1 for reals.
int put_lead(RecordBuffer& record, int sign, int kind, int blanks, const EditRequest& request);
int fill_asterisks(RecordBuffer& record, int width);

// value is the signed value for I and the unsigned bit pattern for B, O, Z.
int edit_integer(RecordBuffer& record, std::int64_t value, const EditRequest& request);
int edit_fixed(RecordBuffer& record, const RealField& field, const EditRequest& request);
int edit_exponent(RecordBuffer& record, const RealField& field, const EditRequest& request);
int edit_engineering(RecordBuffer& record, const RealField& field, const EditRequest& request);
int edit_general(RecordBuffer& record, const RealField& field, const EditRequest& request);
int edit_logical(RecordBuffer& record, bool value, const EditRequest& request);
int edit_character(RecordBuffer& record, const char* text, int length, const EditRequest& request);

}  // namespace rio
