#pragma once
#include "text/text_types.h"

// The upper-case form of one UTF-16 unit, by Unicode 5.2's simple mapping,
// so that text compares alike whatever the system's tables are. Each unit
// stands alone: a surrogate comes back unchanged. MICRO SIGN and the Greek
// symbol variants U+03D0, U+03D5, U+03D6, U+03F0 and U+03F1 also stay as
// they are.
WideChar UpperCaseUnit(WideChar unit);

// The pairs {lower, upper} the range rules of UpperCaseUnit leave out,
// ascending by lower unit; generated from Unicode's data at build time.
extern const WideChar casePairs[][2];
extern const int casePairCount;
