#include "text/numbers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace sumvelo {
namespace {

// ---------------------------------------------------------------------------------------------
// A plain reference for NumberToText of a real: the exact decimal expansion of the double, worked
// out with schoolbook big-number arithmetic (no printf), cut to 13 significant digits with the
// 14th digit rounding half up, then laid out in the fixed or the exponent form.

// Multiplies a little-endian base-10 digit vector by m (m < 10^9).
void MultiplyBy(std::vector<std::uint32_t>& digits, std::uint64_t m) {
  std::uint64_t carry = 0;
  for (std::uint32_t& d : digits) {
    const std::uint64_t v = d * m + carry;
    d = static_cast<std::uint32_t>(v % 10);
    carry = v / 10;
  }
  while (carry > 0) {
    digits.push_back(static_cast<std::uint32_t>(carry % 10));
    carry /= 10;
  }
}

// The significant digits of x > 0 (first one non-zero) and the power of ten of the first.
struct Exact {
  std::string digits;
  int exponent;
};

Exact ExactDecimal(double x) {
  int e2 = 0;
  const double f = std::frexp(x, &e2);  // x = f * 2^e2, f in [0.5, 1)
  auto mantissa = static_cast<std::uint64_t>(std::ldexp(f, 53));
  e2 -= 53;  // x = mantissa * 2^e2
  std::vector<std::uint32_t> big;
  for (; mantissa > 0; mantissa /= 10) big.push_back(static_cast<std::uint32_t>(mantissa % 10));
  int fractionDigits = 0;  // x = big * 10^-fractionDigits
  if (e2 >= 0) {
    for (int k = 0; k < e2; ++k) MultiplyBy(big, 2);
  } else {
    for (int k = 0; k < -e2; ++k) MultiplyBy(big, 5);  // m * 2^-k = m * 5^k / 10^k
    fractionDigits = -e2;
  }
  std::string digits;
  for (auto it = big.rbegin(); it != big.rend(); ++it) {
    digits.push_back(static_cast<char>('0' + *it));
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();  // keeps the exponent
  return {digits, static_cast<int>(big.size()) - 1 - fractionDigits};
}

// Lays out 13 significant digits with first-digit exponent e.
std::string Layout(const std::string& d13, int e) {
  int last = 12;
  while (last > 0 && d13[last] == '0') --last;
  std::string out;
  if (e < -4 || e >= 13) {
    out = d13.substr(0, 1);
    if (last > 0) out.append(".").append(d13, 1, last);
    char exp[16];
    std::snprintf(exp, sizeof exp, "e%c%03d", e < 0 ? '-' : '+', e < 0 ? -e : e);
    return out + exp;
  }
  if (e >= 0) {
    out = d13.substr(0, e + 1);
    if (last > e) out.append(".").append(d13, e + 1, last - e);
    return out;
  }
  return out.append("0.").append(-e - 1, '0').append(d13, 0, last + 1);
}

std::string RefNumberToText(double v) {
  if (v == 0) return "0";
  Exact x = ExactDecimal(std::fabs(v));
  x.digits.resize(std::max<std::size_t>(x.digits.size(), 14), '0');
  std::string d13 = x.digits.substr(0, 13);
  int e = x.exponent;
  if (x.digits[13] >= '5') {
    int k = 12;
    while (k >= 0 && d13[k] == '9') d13[k--] = '0';
    if (k >= 0) {
      ++d13[k];
    } else {
      d13 = "1000000000000";
      ++e;
    }
  }
  return std::string(v < 0 ? "-" : "").append(Layout(d13, e));
}

double Parse(const char* text) { return std::strtod(text, nullptr); }

// ---------------------------------------------------------------------------------------------

TEST(NumberToText, Integers) {
  struct Case {
    std::int32_t value;
    const char* expected;
  };
  const Case cases[] = {
      {0, "0"},       {7, "7"},
      {-12, "-12"},   {999998, "999998"},
      {1000, "1000"}, {std::numeric_limits<std::int32_t>::max(), "2147483647"},
      {std::numeric_limits<std::int32_t>::min(), "-2147483648"},
  };
  for (const Case& c : cases) EXPECT_EQ(NumberToText(c.value), c.expected) << c.value;
}

TEST(NumberToText, Reals) {
  struct Case {
    double value;
    const char* expected;
  };
  const Case cases[] = {
      {3.0, "3"},
      {12.0, "12"},
      {2.5, "2.5"},
      {0.2, "0.2"},
      {123.456, "123.456"},
      {1.0 / 3, "0.3333333333333"},
      {2.0 / 3, "0.6666666666667"},
      {0.1 + 0.2, "0.3"},
      {0.0001, "0.0001"},
      {0.00012345, "0.00012345"},
      {0.00001, "1e-005"},
      {0.000012345, "1.2345e-005"},
      {1e-7, "1e-007"},
      {1e13, "1e+013"},
      {1.5e13, "1.5e+013"},
      {1e13 - 1, "9999999999999"},
      {999998.0, "999998"},
      {1234567890123.4, "1234567890123"},
      {12345678901234.0, "1.234567890123e+013"},  // 14 digits: exponent form
      {99999999999999.0, "1e+014"},
      // Half up, not half to even: these are exact in binary, so the 14th digit is exactly 5.
      {1234567890124.5, "1234567890125"},
      {1234567890123.5, "1234567890124"},
      {12345678901245.0, "1.234567890125e+013"},
      {0.5, "0.5"},
      // Rounding that crosses a power of ten moves the exponent, and with it the form.
      {9.9999999999999, "10"},
      {9.99999999999949, "9.999999999999"},
      {0.000099999999999999, "0.0001"},
      {0.0000099999999999999, "1e-005"},
      {9999999999999.5, "1e+013"},
      {std::nextafter(1e13, 0.0), "1e+013"},
      {std::nextafter(1e-4, 0.0), "0.0001"},
      {std::nextafter(1e-5, 0.0), "1e-005"},
      // Negatives and zero.
      {-0.5, "-0.5"},
      {-2.0 / 3, "-0.6666666666667"},
      {-1.5e13, "-1.5e+013"},
      {-1e-7, "-1e-007"},
      {0.0, "0"},
      {-0.0, "0"},
      // Far ends of the double range.
      {1e100, "1e+100"},
      {1e-100, "1e-100"},
      {std::numeric_limits<double>::max(), "1.797693134862e+308"},
      {std::numeric_limits<double>::denorm_min(), "4.940656458412e-324"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NumberToText(c.value), c.expected) << "%.17g = " << c.value;
    EXPECT_EQ(RefNumberToText(c.value), c.expected) << "reference, %.17g = " << c.value;
  }
}

// Doubles of every kind against the exact reference: random bit patterns, quotients such as
// scores produce, and the neighbours of the halfway points between two 13-digit values and of
// powers of ten, where the 14th digit is 4 or 5 followed by long runs of 9s or 0s.
TEST(NumberToText, AgreesWithExactReference) {
  std::mt19937_64 rng(7);
  std::vector<double> values;
  for (int k = 0; k < 3000; ++k) {
    const std::uint64_t bits = (rng() & 0x000FFFFFFFFFFFFFull) |
                               (std::uint64_t{1023 - 120 + rng() % 240} << 52);
    double v;
    std::memcpy(&v, &bits, sizeof v);
    values.push_back(v);
  }
  for (int a = 1; a <= 60; ++a) {
    for (int b = 1; b <= 60; ++b) values.push_back(static_cast<double>(a) / b);
  }
  for (int k = 0; k < 3000; ++k) {
    std::string half = std::to_string(1 + rng() % 9) + ".";
    for (int d = 0; d < 12; ++d) half.push_back(static_cast<char>('0' + rng() % 10));
    half += "5e" + std::to_string(static_cast<int>(rng() % 41) - 20);
    const double h = Parse(half.c_str());
    values.insert(values.end(), {h, std::nextafter(h, 0.0), std::nextafter(h, 1e300)});
  }
  for (int e = -30; e <= 30; ++e) {
    const double p = std::pow(10.0, e);
    values.insert(values.end(), {p, std::nextafter(p, 0.0), std::nextafter(p, 1e300)});
  }
  int failures = 0;
  for (double v : values) {
    for (double s : {v, -v}) {
      const std::string got = NumberToText(s), want = RefNumberToText(s);
      if (got != want && ++failures <= 5) {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.17g", s);
        ADD_FAILURE() << buf << ": NumberToText gives " << got << ", expected " << want;
      }
    }
  }
  EXPECT_EQ(failures, 0);
}

// A 13-digit text that NumberToText could have written reads back to the same text.
TEST(NumberToText, RoundTripsThirteenDigitTexts) {
  std::mt19937 rng(13);
  int failures = 0;
  for (int k = 0; k < 20000; ++k) {
    std::string d13 = std::to_string(1 + rng() % 9);
    for (int d = 0; d < 12; ++d) d13.push_back(static_cast<char>('0' + rng() % 10));
    if (k % 3 == 0) d13.resize(1 + rng() % 12);  // fewer digits: trailing zeros drop out
    d13.resize(13, '0');
    const std::string text = Layout(d13, static_cast<int>(rng() % 61) - 30);
    for (const std::string& t : {text, "-" + text}) {
      const std::string back = NumberToText(TextToNumber(t));
      if (back != t && ++failures <= 5) ADD_FAILURE() << t << " comes back as " << back;
    }
  }
  EXPECT_EQ(failures, 0);
}

TEST(TextToNumber, Cases) {
  struct Case {
    ByteText text;
    double expected;
  };
  const Case cases[] = {
      {"1e-007", 1e-7},
      {" 2.5xyz", 2.5},
      {"", 0},
      {"12", 12},
      {"-0.5", -0.5},
      {"+4", 4},
      {"0.3333333333333", 0.3333333333333},
      {"1.5e+013", 1.5e13},
      // Full-width digits, point, signs and letters read as ASCII:
      // １２．５, －３, ＋７, １ｅ２, １．５Ｅ－３.
      {"\xA3\xB1\xA3\xB2\xA3\xAE\xA3\xB5", 12.5},
      {"\xA3\xAD\xA3\xB3", -3},
      {"\xA3\xAB\xA3\xB7", 7},
      {"\xA3\xB1\xA3\xE5\xA3\xB2", 100},
      {"\xA3\xB1\xA3\xAE\xA3\xB5\xA3\xC5\xA3\xAD\xA3\xB3", 1.5e-3},
      {"1\xA3\xB2" "3", 123},
      // A3 with a second byte outside A1..FE is no full-width form, nor is another character.
      {"\xA3\xA0" "5", 0},
      {"\xA3" "55", 0},
      {"12\xD6\xD0" "3", 12},
      {"3\xA3", 3},  // a lone first byte ends the number
      // Leading white space, the ideographic space included.
      {"\t\n\v\f\r 7", 7},
      {"\xA1\xA1" "3", 3},
      {"\xA1\xA1\xA1\xA1 -8", -8},
      {"- 8", 0},
      // The exponent: e, E, d or D, an optional sign, digits; without digits it is not read.
      {"2E3", 2000},
      {"2d3", 2000},
      {"2D-2", 0.02},
      {"2e+2", 200},
      {"1e", 1},
      {"1e+", 1},
      {"1e-x", 1},
      {"1ex5", 1},
      {"1f3", 1},
      // The point: at most one, and either side may be without digits.
      {"5.", 5},
      {".5", 0.5},
      {"-.5", -0.5},
      {"1.2.3", 1.2},
      {".", 0},
      {".e5", 0},
      {"-", 0},
      {"e5", 0},
      {"abc", 0},
      {"1 2", 1},
      // The result is the nearest double.
      {"0.1", 0.1},
      {"123456789012345678901234567890", 123456789012345678901234567890.0},
      {"1e-310", 1e-310},
      {"1e-400", 0},
      {"0." + std::string(400, '0') + "1", 0},
      {"0." + std::string(400, '0') + "1e+5", 0},
      {"-0." + std::string(400, '0') + "1", 0},
      {"1" + std::string(400, '0') + "e-390", 1e10},
      {"0." + std::string(400, '0') + "1e+500", 1e99},
      {"123e-330", 0},
      // Beyond the largest double the reading is infinite, as strtod has it.
      {"1e400", std::numeric_limits<double>::infinity()},
      {"-1" + std::string(400, '0'), -std::numeric_limits<double>::infinity()},
      {"0.001e99999999999", std::numeric_limits<double>::infinity()},
  };
  for (const Case& c : cases) EXPECT_EQ(TextToNumber(c.text), c.expected) << c.text.substr(0, 40);
}

TEST(TextToInteger, SignAndLeadingDigitsOnly) {
  struct Case {
    ByteText text;
    std::int32_t expected;
  };
  const Case cases[] = {
      {"12.75", 12},
      {"-3.9", -3},
      {"1.5e+013", 1},
      {"1e+013", 1},
      {"0.3333333333333", 0},
      {"", 0},
      {"abc", 0},
      {"999998", 999998},
      {"007", 7},
      {" +7x", 7},
      {"\t\r\n-12", -12},
      {"-", 0},
      {"+-3", 0},
      {"-0", 0},
      {"\xA3\xAD\xA3\xB3", -3},
      {"\xA3\xB1\xA3\xB2\xA3\xAE\xA3\xB9", 12},
      {"\xA1\xA1" "42", 42},
      {"4\xD6\xD0" "2", 4},
      {"2147483647", 2147483647},
      {"-2147483648", std::numeric_limits<std::int32_t>::min()},
      {"99999999999", std::numeric_limits<std::int32_t>::max()},
      {"-99999999999", std::numeric_limits<std::int32_t>::min()},
  };
  for (const Case& c : cases) EXPECT_EQ(TextToInteger(c.text), c.expected) << c.text;
}

TEST(RealToInteger, TruncatesTowardZero) {
  struct Case {
    double x;
    std::int32_t expected;
  };
  const Case cases[] = {
      {2.9, 2},
      {-2.9, -2},
      {0.0, 0},
      {-0.5, 0},
      {999998.9999, 999998},
      {1e10, std::numeric_limits<std::int32_t>::max()},
      {-1e10, std::numeric_limits<std::int32_t>::min()},
      {std::nan(""), 0},
  };
  for (const Case& c : cases) EXPECT_EQ(RealToInteger(c.x), c.expected) << c.x;
}

TEST(FloorToInteger, WholePartUnlessFractionIsAlmostOne) {
  struct Case {
    double x;
    std::int32_t expected;
  };
  const Case cases[] = {
      {0.0, 0},
      {49.99, 49},
      {7.5, 7},
      {5.0, 5},
      {2.999999999998, 2},
      {2.9999999999995, 3},
      {0.9999999999995, 1},
      {0.999999999999, 0},  // the fraction must be greater than 0.999999999999
      {999998.0, 999998},
  };
  for (const Case& c : cases) EXPECT_EQ(FloorToInteger(c.x), c.expected) << c.x;
}

}  // namespace
}  // namespace sumvelo
