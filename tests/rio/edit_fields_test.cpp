// Field layouts of the output editors, checked against hand-worked strings.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "rio/edit_output.h"
#include "rio/element.h"
#include "rio/status.h"

namespace rio {
namespace {

EditRequest request(int kind, int w, int d, int e = 2, int k = 0) {
  EditRequest r;
  r.kind = kind;
  r.w = w;
  r.d = d;
  r.e = e;
  r.k = k;
  return r;
}

std::string edit_float(float v, const EditRequest& r) {
  RecordBuffer record;
  EXPECT_EQ(edit_item(record, &v, kStateReal4, 4, r), kOk);
  return std::string(record.data(), record.length());
}

std::string edit_double(double v, const EditRequest& r) {
  RecordBuffer record;
  EXPECT_EQ(edit_item(record, &v, kStateReal, 8, r), kOk);
  return std::string(record.data(), record.length());
}

std::string edit_int(std::int32_t v, const EditRequest& r) {
  RecordBuffer record;
  EXPECT_EQ(edit_item(record, &v, kStateInteger, 4, r), kOk);
  return std::string(record.data(), record.length());
}

struct FloatCase {
  float value;
  EditRequest request;
  const char* expected;
};

class FloatFields : public ::testing::TestWithParam<FloatCase> {};

TEST_P(FloatFields, EditsToTheExactField) {
  EXPECT_EQ(edit_float(GetParam().value, GetParam().request), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    FixedForm, FloatFields,
    ::testing::Values(FloatCase{0.125f, request(kKindF, 10, 5), "    .12500"},
                      FloatCase{0.0f, request(kKindF, 10, 5), "    .00000"},
                      FloatCase{-0.0f, request(kKindF, 10, 5), "   -.00000"},
                      FloatCase{100.0f, request(kKindF, 10, 5), " 100.00000"},
                      FloatCase{0.000004f, request(kKindF, 10, 5), "   0.00000"},
                      FloatCase{0.000006f, request(kKindF, 10, 5), "    .00001"},
                      FloatCase{123456.0f, request(kKindF, 10, 5), "**********"},
                      FloatCase{0.123f, request(kKindF, 10, 5), "    .12300"},
                      FloatCase{0.005f, request(kKindF, 10, 2), "      0.00"},
                      FloatCase{0.7f, request(kKindF, 5, 0), "   1."},
                      FloatCase{-2.5f, request(kKindF, 6, 2), " -2.50"},
                      FloatCase{0.0f, request(kKindF, 5, 0), "   0."},
                      // Negative values that show no digit keep the full width.
                      FloatCase{-0.000004f, request(kKindF, 10, 5), "   0.00000"},
                      FloatCase{1.5f, request(kKindF, 6, 1, 2, 1), "  15.0"}));

// 1234.5 scaled by 10^3 in double precision is 1.23449999..., so its fifth
// generated digit is 4: rounding to four digits works on generated digits.
INSTANTIATE_TEST_SUITE_P(
    ExponentForms, FloatFields,
    ::testing::Values(FloatCase{1234.5f, request(kKindE, 12, 4), "  0.1234E+04"},
                      FloatCase{1234.5f, request(kKindE, 10, 4), "0.1234E+04"},
                      FloatCase{1234.5f, request(kKindE, 9, 4), ".1234E+04"},
                      FloatCase{1234.5f, request(kKindE, 8, 4), "********"},
                      FloatCase{-1234.5f, request(kKindE, 12, 4), " -0.1234E+04"},
                      FloatCase{1234.5f, request(kKindD, 12, 4), "  0.1234D+04"},
                      FloatCase{1234.5f, request(kKindE, 12, 4, 3), " 0.1234E+004"},
                      FloatCase{1234.5f, request(kKindE, 12, 4, 2, 1), "  1.2345E+03"},
                      FloatCase{1234.5f, request(kKindE, 12, 4, 2, -1), "  0.0123E+05"},
                      FloatCase{1234.5f, request(kKindES, 12, 3), "   1.234E+03"},
                      FloatCase{1.0e-30f, request(kKindES, 10, 2), "  1.00E-30"},
                      FloatCase{1.0e30f, request(kKindE, 10, 2, 1), "**********"},
                      FloatCase{0.0f, request(kKindE, 10, 3), " 0.000E+00"},
                      FloatCase{1234.5f, request(kKindEN, 12, 3), "   1.234E+03"},
                      FloatCase{12345.0f, request(kKindEN, 12, 3), "  12.345E+03"},
                      FloatCase{0.0125f, request(kKindEN, 12, 3), "  12.500E-03"},
                      FloatCase{999.999f, request(kKindEN, 12, 2), "    1.00E+03"}));

INSTANTIATE_TEST_SUITE_P(
    GeneralForm, FloatFields,
    ::testing::Values(FloatCase{0.05f, request(kKindG, 10, 3), " 0.500E-01"},
                      FloatCase{12345.0f, request(kKindG, 10, 3), " 0.123E+05"}));

INSTANTIATE_TEST_SUITE_P(
    NotANumberAndInfinity, FloatFields,
    ::testing::Values(FloatCase{std::numeric_limits<float>::infinity(), request(kKindF, 10, 5), "       INF"},
                      FloatCase{-std::numeric_limits<float>::infinity(), request(kKindF, 10, 5), "      -INF"},
                      FloatCase{std::numeric_limits<float>::quiet_NaN(), request(kKindE, 5, 2), "  NaN"},
                      FloatCase{-std::numeric_limits<float>::infinity(), request(kKindF, 3, 1), "***"}));

TEST(FloatFields, GeneralFieldEndsInExponentBlanks) {
  // The value written in fixed form: w' = 10 - 4, three significant digits.
  EXPECT_EQ(edit_float(12.5f, request(kKindG, 10, 3)), "  12.5    ");
}

TEST(FloatFields, EightByteRealsUseSixteenDigits) {
  EXPECT_EQ(edit_double(0.1, request(kKindF, 20, 17)), "  .10000000000000000");
  EXPECT_EQ(edit_double(2.0 / 3.0, request(kKindE, 22, 15)), " 0.666666666666667E+00");
}

struct IntCase {
  std::int32_t value;
  EditRequest request;
  const char* expected;
};

class IntegerFields : public ::testing::TestWithParam<IntCase> {};

TEST_P(IntegerFields, EditsToTheExactField) {
  EXPECT_EQ(edit_int(GetParam().value, GetParam().request), GetParam().expected);
}

EditRequest plus(EditRequest r) {
  r.plus_sign = true;
  return r;
}

INSTANTIATE_TEST_SUITE_P(
    Descriptors, IntegerFields,
    ::testing::Values(IntCase{12, request(kKindI, 6, 1), "    12"},
                      IntCase{-5, request(kKindI, 6, 1), "    -5"},
                      IntCase{1234567, request(kKindI, 6, 1), "******"},
                      IntCase{7, request(kKindI, 6, 3), "   007"},
                      IntCase{0, request(kKindI, 6, 0), "      "},
                      IntCase{-123456, request(kKindI, 6, 1), "******"},
                      IntCase{12, plus(request(kKindI, 6, 1)), "   +12"},
                      IntCase{5, request(kKindB, 6, 1), "   101"},
                      IntCase{-1, request(kKindZ, 9, 1), " ffffffff"},
                      IntCase{64, request(kKindO, 4, 4), "0100"},
                      IntCase{255, request(kKindZ, 4, 1), "  ff"},
                      IntCase{3, request(kKindG, 4, 2), "   3"},
                      IntCase{1, request(kKindL, 3, 0), "  T"}));

TEST(IntegerFields, ShortItemsAreMaskedForBinaryOctalAndHex) {
  std::int16_t v = -1;
  RecordBuffer record;
  ASSERT_EQ(edit_item(record, &v, kStateInteger2, 2, request(kKindZ, 5, 1)), kOk);
  EXPECT_EQ(std::string(record.data(), record.length()), " ffff");
}

TEST(MismatchedItems, IntegerUnderFIsTheRealItsBitsHold) {
  float half = 0.5f;
  std::int32_t bits;
  std::memcpy(&bits, &half, 4);
  EXPECT_EQ(edit_int(bits, request(kKindF, 6, 2)), "   .50");
}

TEST(MismatchedItems, IntegerUnderEsOrEnFails) {
  std::int32_t v = 3;
  RecordBuffer record;
  EXPECT_EQ(edit_item(record, &v, kStateInteger, 4, request(kKindES, 10, 2)), kTypeOrSizeMismatch);
  EXPECT_EQ(edit_item(record, &v, kStateInteger, 4, request(kKindEN, 10, 2)), kTypeOrSizeMismatch);
}

TEST(MismatchedItems, TwoByteIntegerUnderFFails) {
  std::int16_t v = 3;
  RecordBuffer record;
  EXPECT_EQ(edit_item(record, &v, kStateInteger2, 2, request(kKindF, 10, 2)), kTypeOrSizeMismatch);
}

TEST(MismatchedItems, RealUnderIFails) {
  float v = 3.0f;
  RecordBuffer record;
  EXPECT_EQ(edit_item(record, &v, kStateReal4, 4, request(kKindI, 10, 1)), kTypeOrSizeMismatch);
}

TEST(CharacterAndLogicalFields, FollowTheirWidths) {
  char text[] = "ABCDE";
  auto edit = [&](EditRequest r) {
    RecordBuffer record;
    EXPECT_EQ(edit_item(record, text, kStateCharacter, 5, r), kOk);
    return std::string(record.data(), record.length());
  };
  EXPECT_EQ(edit(request(kKindA, 0, 0)), "ABCDE");
  EXPECT_EQ(edit(request(kKindA, 3, 0)), "ABC");
  EXPECT_EQ(edit(request(kKindA, 7, 0)), "  ABCDE");
  int truth = 1;
  int falsity = 0;
  RecordBuffer record;
  ASSERT_EQ(edit_item(record, &truth, kStateLogical, 4, request(kKindL, 3, 0)), kOk);
  ASSERT_EQ(edit_item(record, &falsity, kStateLogical, 4, request(kKindL, 1, 0)), kOk);
  EXPECT_EQ(std::string(record.data(), record.length()), "  TF");
}

}  // namespace
}  // namespace rio
