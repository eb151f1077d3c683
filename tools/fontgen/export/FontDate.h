// FontDate: the date an exported font carries (OpenType's head.created and
// head.modified), never the clock, so that the same atlas and options give
// the same bytes on every run and machine.
#pragma once

#include <cstdint>
#include <string>

#include "fontgen/Notice.h"

namespace runeplate::fontgen {

// Seconds since 1970-01-01 UTC: SOURCE_DATE_EPOCH when it is set (as
// reproducible builds set it), else the "Date: YYYY-MM-DD" entry of the
// NOTICE of `provenance` when it has one, else the release's date. Throws
// TFontGenError with one line when SOURCE_DATE_EPOCH or the NOTICE's date
// is not a date.
int64_t FontDate(const TProvenance& provenance);

// Seconds since 1970 of midnight UTC on "YYYY-MM-DD"; false when `text` is
// not such a date from 1970 to 9999.
bool ParseDay(const std::string& text, int64_t& seconds);

}  // namespace runeplate::fontgen
