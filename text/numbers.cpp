#include "text/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

namespace sumvelo {
namespace {

constexpr int kSignificantDigits = 13;

// The 13 significant digits of x > 0, rounded half up on its exact decimal expansion, and the
// power of ten of the first of them.
struct Digits {
  char d[kSignificantDigits];
  int exponent;
};

Digits RoundedDigits(double x) {
  // 41 significant digits decide the rounding unless they end in a run of 0s or 9s right after
  // the 14th digit; then the exact expansion does (glibc prints it exactly).
  char buf[1100];
  std::snprintf(buf, sizeof buf, "%.40e", x);
  auto runAfter14 = [&](const char* mant) {
    for (int k = 14; k < 41; ++k) {
      if (mant[k] != mant[14] || (mant[k] != '0' && mant[k] != '9')) return false;
    }
    return true;
  };
  std::string mant;  // digits only
  const char* p = buf;
  for (; *p && *p != 'e'; ++p) {
    if (*p >= '0' && *p <= '9') mant.push_back(*p);
  }
  int exponent = std::atoi(p + 1);
  if (runAfter14(mant.c_str())) {
    std::snprintf(buf, sizeof buf, "%.800e", x);
    mant.clear();
    for (p = buf; *p && *p != 'e'; ++p) {
      if (*p >= '0' && *p <= '9') mant.push_back(*p);
    }
    exponent = std::atoi(p + 1);
  }
  Digits out{};
  for (int k = 0; k < kSignificantDigits; ++k) out.d[k] = mant[k];
  out.exponent = exponent;
  if (mant[kSignificantDigits] >= '5') {
    int k = kSignificantDigits - 1;
    while (k >= 0 && out.d[k] == '9') out.d[k--] = '0';
    if (k >= 0) {
      ++out.d[k];
    } else {  // 9.999… rounded up to 10
      out.d[0] = '1';
      ++out.exponent;
    }
  }
  return out;
}

// Reads `text` as the number parsers see it: the full-width forms as ASCII, every other
// two-byte character as a byte that fits no number (0x80).
class NumberReader {
 public:
  explicit NumberReader(ByteView t) : t_(t) {}
  int Peek() const {
    if (i_ >= t_.size()) return -1;
    const auto b = static_cast<unsigned char>(t_[i_]);
    if (b < 0x80) return b;
    if (i_ + 1 >= t_.size()) return 0x80;
    const auto c = static_cast<unsigned char>(t_[i_ + 1]);
    if (b == 0xA3 && c >= 0xA1 && c <= 0xFE) return c - 0x80;
    if (b == 0xA1 && c == 0xA1) return ' ';
    if (b == 0xA1 && c == 0xAB) return '~';
    if (b == 0xA1 && (c == 0xEE || c == 0xEF)) return '*';
    return 0x80;
  }
  void Next() {
    if (i_ < t_.size()) i_ += static_cast<unsigned char>(t_[i_]) >= 0x80 ? 2 : 1;
  }
  void SkipSpace() {
    for (int c = Peek(); c == ' ' || (c >= '\t' && c <= '\r'); c = Peek()) Next();
  }
  // Skips leading space and an optional sign; true when the sign was a minus.
  bool ReadLeadingSign() {
    SkipSpace();
    const int c = Peek();
    if (c != '+' && c != '-') return false;
    Next();
    return c == '-';
  }
  std::size_t Mark() const { return i_; }
  void Reset(std::size_t mark) { i_ = mark; }

 private:
  ByteView t_;
  std::size_t i_ = 0;
};

bool IsDigit(int c) { return c >= '0' && c <= '9'; }

}  // namespace

ByteText NumberToText(std::int32_t value) { return std::to_string(value); }

ByteText NumberToText(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  if (value == 0) return "0";
  ByteText out = value < 0 ? "-" : "";
  const double x = std::fabs(value);
  // Whole numbers of up to 13 digits are written as they are: the common case of weights,
  // counts and unscaled scores.
  if (x < 1e13 && x == std::floor(x)) {
    return out + std::to_string(static_cast<long long>(x));
  }
  const Digits r = RoundedDigits(x);
  int last = kSignificantDigits - 1;  // last non-zero digit
  while (last > 0 && r.d[last] == '0') --last;
  const int e = r.exponent;
  if (e < -4 || e >= kSignificantDigits) {
    out.push_back(r.d[0]);
    if (last > 0) {
      out.push_back('.');
      out.append(r.d + 1, r.d + last + 1);
    }
    char exp[16];
    std::snprintf(exp, sizeof exp, "e%c%03d", e < 0 ? '-' : '+', std::abs(e));
    return out + exp;
  }
  if (e >= 0) {
    out.append(r.d, r.d + e + 1);
    if (last > e) {
      out.push_back('.');
      out.append(r.d + e + 1, r.d + last + 1);
    }
    return out;
  }
  out.append("0.");
  out.append(static_cast<std::size_t>(-e - 1), '0');
  out.append(r.d, r.d + last + 1);
  return out;
}

double TextToNumber(ByteView text) {
  NumberReader in(text);
  const bool negative = in.ReadLeadingSign();
  std::string number;  // the digits read, in the form from_chars takes
  bool anyDigit = false, point = false;
  for (int c = in.Peek();; c = in.Peek()) {
    if (IsDigit(c)) {
      number.push_back(static_cast<char>(c));
      anyDigit = true;
    } else if (c == '.' && !point) {
      number.push_back('.');
      point = true;
    } else {
      break;
    }
    in.Next();
  }
  if (!anyDigit) return 0;
  if (number.front() == '.') number.insert(number.begin(), '0');
  if (number.back() == '.') number.pop_back();
  const std::size_t beforeExponent = in.Mark();
  const int marker = in.Peek();
  if (marker == 'e' || marker == 'E' || marker == 'd' || marker == 'D') {
    in.Next();
    std::string exponent = "e";
    if (in.Peek() == '+' || in.Peek() == '-') {
      exponent.push_back(static_cast<char>(in.Peek()));
      in.Next();
    }
    bool expDigit = false;
    while (IsDigit(in.Peek())) {
      exponent.push_back(static_cast<char>(in.Peek()));
      expDigit = true;
      in.Next();
    }
    if (expDigit) {
      number += exponent;
    } else {
      in.Reset(beforeExponent);
    }
  }
  double value = 0;
  const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // Too large or too small for a double: the power of ten of the first non-zero digit, the
    // point's place plus the exponent, says which.
    const auto e = number.find('e');
    const std::string_view mantissa = std::string_view(number).substr(0, e);
    const auto point = std::min(mantissa.find('.'), mantissa.size());
    const auto lead = mantissa.find_first_not_of("0.");  // exists: a zero is never out of range
    long long power = lead < point ? static_cast<long long>(point - lead) - 1
                                   : -static_cast<long long>(lead - point);
    if (e != std::string::npos) {
      long long exponent = 0;
      for (std::size_t k = e + 1; k < number.size(); ++k) {
        if (!IsDigit(number[k])) continue;
        exponent = std::min(exponent * 10 + (number[k] - '0'), 1000000000LL);
      }
      power += number[e + 1] == '-' ? -exponent : exponent;
    }
    value = power < 0 ? 0.0 : std::numeric_limits<double>::infinity();
  }
  return negative ? -value : value;
}

std::int32_t TextToInteger(ByteView text) {
  NumberReader in(text);
  const bool negative = in.ReadLeadingSign();
  std::int64_t value = 0;
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  while (IsDigit(in.Peek())) {
    value = std::min(kLimit, value * 10 + (in.Peek() - '0'));
    in.Next();
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(value);
}

std::int32_t RealToInteger(double x) {
  if (std::isnan(x)) return 0;
  if (x >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (x <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(x);
}

std::int32_t FloorToInteger(double x) {
  const double whole = std::floor(x);
  const std::int32_t w = RealToInteger(whole);
  return (x - whole > 0.999999999999) ? w + 1 : w;
}

}  // namespace sumvelo
