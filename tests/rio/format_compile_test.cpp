// Compilation of format text: the byte form and every error.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "rio/format.h"
#include "rio/status.h"

namespace rio {
namespace {

int compile(const std::string& text, std::vector<std::uint8_t>* out = nullptr) {
  std::vector<std::uint8_t> bytes;
  int rc = compile_format(text.data(), text.size(), bytes);
  if (out) *out = bytes;
  return rc;
}

struct ErrorCase {
  const char* text;
  int error;
};

class FormatErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(FormatErrors, AreReportedByNumber) { EXPECT_EQ(compile(GetParam().text), GetParam().error); }

INSTANTIATE_TEST_SUITE_P(
    Texts, FormatErrors,
    ::testing::Values(ErrorCase{"A", kFormatMissingOpeningParen}, ErrorCase{"(I3", kFormatUnmatchedParens},
                      ErrorCase{"('AB)", kFormatUnmatchedQuotes}, ErrorCase{"(2:)", kNonRepeatableDescriptor},
                      ErrorCase{"(0I3)", kIllegalRepeatCount}, ErrorCase{"(40000I3)", kIllegalRepeatCount},
                      ErrorCase{"(F10)", kErrorInFormatString}, ErrorCase{"(5HAB)", kHollerithCountExceeds},
                      ErrorCase{"(2'AB')", kNonRepeatableDescriptor}, ErrorCase{"(3)", kIllegalRepeatCount},
                      ErrorCase{"(2BN)", kIllegalRepeatCount}, ErrorCase{"(T)", kErrorInFormatString},
                      ErrorCase{"(2T5)", kNonRepeatableDescriptor}, ErrorCase{"(S)", kErrorInFormatString},
                      ErrorCase{"(2$)", kNonRepeatableDescriptor}, ErrorCase{"(K5)", kErrorInFormatString},
                      ErrorCase{"(I0)", kErrorInFormatString}, ErrorCase{"(L0)", kErrorInFormatString},
                      ErrorCase{"((I3)", kFormatUnmatchedParens}, ErrorCase{"", kFormatMissingOpeningParen}));

struct BytesCase {
  const char* text;
  std::vector<std::uint8_t> bytes;
};

class FormatBytes : public ::testing::TestWithParam<BytesCase> {};

TEST_P(FormatBytes, CompileToTheByteForm) {
  std::vector<std::uint8_t> bytes;
  ASSERT_EQ(compile(GetParam().text, &bytes), kOk);
  EXPECT_EQ(bytes, GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FormatBytes,
    ::testing::Values(
        BytesCase{"(A)", {12, 0, 1, 0, 0, 0}},
        BytesCase{"( 2 i 6 )", {1, 0, 2, 6, 1, 0}},
        BytesCase{"(2I6)", {1, 0, 2, 6, 1, 0}},
        BytesCase{"(I6.3,F10.5)", {1, 0, 1, 6, 3, 5, 0, 1, 10, 5, 0}},
        BytesCase{"(E12.4E3,D10.2,ES9.2,EN9.2,G8.1)",
                  {6, 0, 1, 12, 4, 3, 7, 0, 1, 10, 2, 2, 8, 0, 1, 9, 2, 2, 9, 0, 1, 9, 2, 2, 10, 0, 1, 8, 1, 2, 0}},
        BytesCase{"(B8,O4,Z2,L3,A300)", {2, 0, 1, 8, 1, 3, 0, 1, 4, 1, 4, 0, 1, 2, 1, 11, 0, 1, 0, 3, 12, 0, 1, 1, 44, 0}},
        BytesCase{"('It''s',2HAB)", {19, 0, 4, 'I', 't', '\'', 's', 19, 0, 2, 'A', 'B', 0}},
        BytesCase{"(T5,TL2,TR3,4X,X,3/,/)", {13, 0, 5, 14, 0, 2, 15, 0, 3, 16, 0, 4, 16, 0, 1, 18, 0, 3, 18, 0, 1, 0}},
        BytesCase{"(-2P,P,SP,SS,S,BN,BZ,:,$,\\,Q)", {17, 0xFF, 0xFE, 17, 0, 1, 22, 23, 23, 24, 25, 26, 27, 27, 28, 0}},
        BytesCase{"(I3,2(F5.1,(A)))", {1, 0, 1, 3, 1, 126, 0, 2, 5, 0, 1, 5, 1, 126, 0, 1, 12, 0, 1, 0, 0, 127, 127, 0}},
        BytesCase{"(A) trailing text", {12, 0, 1, 0, 0, 0}}));

TEST(FormatCompile, NestingIsNotLimitedAtCompilation) {
  std::string text = "(" + std::string(30, '(') + "I3" + std::string(30, ')') + ")";
  EXPECT_EQ(compile(text), kOk);
}

}  // namespace
}  // namespace rio
