#include "fontgen/export/FontDate.h"

#include <charconv>
#include <cstdlib>

#include "fontgen/FontGenError.h"
#include "fontgen/Notice.h"

// The day the release (1.1.0) was made: the date of fonts made with neither
// SOURCE_DATE_EPOCH nor a dated NOTICE. It moves with the version.
#ifndef RUNEPLATE_RELEASE_DATE
#define RUNEPLATE_RELEASE_DATE "2026-12-08"
#endif

namespace runeplate::fontgen {

namespace {

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar
// (Howard Hinnant's days_from_civil).
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = y / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

bool Number(const std::string& text, size_t at, size_t length, int64_t& value) {
  const char* first = text.data() + at;
  const auto [end, error] = std::from_chars(first, first + length, value);
  return error == std::errc() && end == first + length;
}

}  // namespace

bool ParseDay(const std::string& text, int64_t& seconds) {
  int64_t year = 0, month = 0, day = 0;
  if (text.size() != 10 || text[4] != '-' || text[7] != '-' || !Number(text, 0, 4, year) ||
      !Number(text, 5, 2, month) || !Number(text, 8, 2, day))
    return false;
  static const int Lengths[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1970 || month < 1 || month > 12 || day < 1 || day > Lengths[month - 1]) return false;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  if (month == 2 && day == 29 && !leap) return false;
  seconds = DaysFromCivil(year, month, day) * 86400;
  return true;
}

int64_t FontDate(const TProvenance& provenance) {
  if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) {
    const std::string text = epoch;
    int64_t seconds = 0;
    // Up to 9999-12-31 23:59:59 (253402300799), the last day any reader's calendar shows.
    if (text.empty() || !Number(text, 0, text.size(), seconds) || seconds < 0 || seconds > 253402300799)
      throw TFontGenError("SOURCE_DATE_EPOCH \"" + text + "\" is not a count of seconds since 1970");
    return seconds;
  }
  int64_t seconds = 0;
  const std::string noticeDate = provenance.Notice.Value("Date:");
  if (!noticeDate.empty()) {
    if (!ParseDay(noticeDate.substr(0, 10), seconds))
      throw TFontGenError("the NOTICE of " + provenance.SourceName + ": Date \"" + noticeDate +
                          "\" is not a date YYYY-MM-DD");
    return seconds;
  }
  ParseDay(RUNEPLATE_RELEASE_DATE, seconds);
  return seconds;
}

}  // namespace runeplate::fontgen
