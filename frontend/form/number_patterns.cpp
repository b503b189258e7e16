#include "frontend/form/number_patterns.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace frontend {

namespace {

bool isPlaceholder(QChar c) { return c == u'#' || c == u'0' || c == u'.' || c == u','; }

// One section of a pattern: literal prefix, the number placeholders, literal
// suffix.
struct Section {
  QString prefix;
  QString suffix;
  int minIntDigits = 0;   // "0" placeholders before the point
  bool grouped = false;   // "," among the integer placeholders
  bool hasPoint = false;
  int minFracDigits = 0;  // up to the last "0" after the point
  int maxFracDigits = 0;  // all placeholders after the point
  bool hasNumber = false;
};

Section parseSection(QStringView text) {
  Section s;
  qsizetype i = 0;
  while (i < text.size() && !(text[i] == u'#' || text[i] == u'0' || text[i] == u'.')) ++i;
  s.prefix = text.first(i).toString();
  const qsizetype bodyStart = i;
  while (i < text.size() && isPlaceholder(text[i])) ++i;
  s.suffix = text.sliced(i).toString();
  const QStringView body = text.sliced(bodyStart, i - bodyStart);
  s.hasNumber = !body.isEmpty();

  bool afterPoint = false;
  for (QChar c : body) {
    if (c == u'.' && !afterPoint) {
      afterPoint = true;
      s.hasPoint = true;
    } else if (!afterPoint) {
      if (c == u'0') ++s.minIntDigits;
      if (c == u',') s.grouped = true;
    } else if (c == u'#' || c == u'0') {
      ++s.maxFracDigits;
      if (c == u'0') s.minFracDigits = s.maxFracDigits;
    }
  }
  return s;
}

// The shortest decimal form of |value| split into integer and fraction
// digits ("94.256" -> "94", "256").
void decimalDigits(double value, std::string& intDigits, std::string& fracDigits) {
  char buf[512];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::fixed);
  const std::string text = ec == std::errc() ? std::string(buf, end) : std::string("0");
  const auto point = text.find('.');
  intDigits = text.substr(0, point);
  fracDigits = point == std::string::npos ? std::string() : text.substr(point + 1);
}

// Rounds the digit strings to `decimals` fraction digits, halves away from
// zero (the digits are of the absolute value).
void roundDigits(std::string& intDigits, std::string& fracDigits, int decimals) {
  if (static_cast<int>(fracDigits.size()) <= decimals) return;
  const bool up = fracDigits[decimals] >= '5';
  fracDigits.resize(decimals);
  if (!up) return;
  for (auto it = fracDigits.rbegin(); it != fracDigits.rend(); ++it) {
    if (*it != '9') { ++*it; return; }
    *it = '0';
  }
  for (auto it = intDigits.rbegin(); it != intDigits.rend(); ++it) {
    if (*it != '9') { ++*it; return; }
    *it = '0';
  }
  intDigits.insert(intDigits.begin(), '1');
}

bool allZero(const std::string& digits) {
  return digits.find_first_not_of('0') == std::string::npos;
}

// The digits of |value| laid out by `s`, without prefix, suffix or sign.
// `isZero` tells whether the shown value is zero.
QString layoutDigits(double value, const Section& s, const NumberSymbols& symbols, bool& isZero) {
  std::string intDigits, fracDigits;
  decimalDigits(value, intDigits, fracDigits);
  roundDigits(intDigits, fracDigits, s.hasPoint ? s.maxFracDigits : 0);
  isZero = allZero(intDigits) && allZero(fracDigits);

  intDigits.erase(0, std::min(intDigits.find_first_not_of('0'), intDigits.size()));
  if (static_cast<int>(intDigits.size()) < s.minIntDigits)
    intDigits.insert(0, s.minIntDigits - intDigits.size(), '0');
  while (static_cast<int>(fracDigits.size()) > s.minFracDigits && !fracDigits.empty() &&
         fracDigits.back() == '0')
    fracDigits.pop_back();
  if (static_cast<int>(fracDigits.size()) < s.minFracDigits)
    fracDigits.append(s.minFracDigits - fracDigits.size(), '0');

  QString out;
  for (size_t i = 0; i < intDigits.size(); ++i) {
    if (s.grouped && i > 0 && (intDigits.size() - i) % 3 == 0) out += symbols.groupSeparator;
    out += QLatin1Char(intDigits[i]);
  }
  if (s.hasPoint) {
    out += symbols.decimalPoint;
    out += QLatin1String(fracDigits.data(), static_cast<qsizetype>(fracDigits.size()));
  }
  return out;
}

}  // namespace

NumberSymbols symbolsOf(const QLocale& locale) {
  return {locale.decimalPoint(), locale.groupSeparator()};
}

QString formatNumber(double value, QStringView pattern, const QLocale& locale) {
  return formatNumber(value, pattern, symbolsOf(locale));
}

QString formatNumber(double value, QStringView pattern, const NumberSymbols& symbols) {
  if (std::isnan(value)) value = 0;
  if (std::isinf(value))
    value = std::copysign(std::numeric_limits<double>::max(), value);

  const qsizetype split = pattern.indexOf(u';');
  const bool twoSections = split >= 0;
  const Section positive = parseSection(twoSections ? pattern.first(split) : pattern);
  const bool negative = std::signbit(value) && value != 0;

  if (negative && twoSections) {
    // The negative section carries its own sign as literal text.
    const Section s = parseSection(pattern.sliced(split + 1));
    if (!s.hasNumber) return s.prefix + s.suffix;
    bool isZero = false;
    const QString digits = layoutDigits(value, s, symbols, isZero);
    if (isZero) {
      bool unused = false;
      return positive.prefix + layoutDigits(0.0, positive, symbols, unused) + positive.suffix;
    }
    return s.prefix + digits + s.suffix;
  }

  if (!positive.hasNumber) return positive.prefix + positive.suffix;
  bool isZero = false;
  const QString digits = layoutDigits(value, positive, symbols, isZero);
  const QString sign = negative && !isZero ? QStringLiteral("-") : QString();
  return positive.prefix + sign + digits + positive.suffix;
}

double readLeadingNumber(QStringView text) {
  std::string digits;  // digits and at most one point, no sign
  bool negative = false;
  bool seenSign = false;
  bool seenPoint = false;
  bool seenDigit = false;
  for (QChar c : text) {
    if (c == u' ' || c == u'\t') continue;
    if ((c == u'-' || c == u'+') && !seenSign && !seenDigit && !seenPoint) {
      seenSign = true;
      negative = c == u'-';
    } else if (c >= u'0' && c <= u'9') {
      seenDigit = true;
      digits += static_cast<char>(c.unicode());
    } else if (c == u'.' && !seenPoint) {
      seenPoint = true;
      digits += '.';
    } else {
      break;
    }
  }
  if (!seenDigit) return 0.0;

  double value = 0.0;
  const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  (void)ptr;
  if (ec == std::errc::result_out_of_range) {
    // Too large when a non-zero digit stands before the point; else too small.
    const std::string whole = digits.substr(0, digits.find('.'));
    value = allZero(whole) ? 0.0 : std::numeric_limits<double>::max();
  }
  return negative ? -value : value;
}

}  // namespace frontend
