// Golden traces: compare a recorded trace with the expected one and, when
// they differ, show both side by side with the first difference marked.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace qta1::testing {

std::vector<std::string> SplitLines(std::string_view text);

// Side-by-side listing of expected (left) and actual (right); differing rows
// are marked with "|", rows only on one side with "<" or ">".
std::string SideBySide(const std::vector<std::string>& expected,
                       const std::vector<std::string>& actual);

::testing::AssertionResult SameTrace(const std::vector<std::string>& expected,
                                     const std::vector<std::string>& actual);

// The opening every sheet on a configured node begins with is kept once, in
// tests/scenarios/opening.trace; an expected trace that begins with it says
// so in its first line, kOpeningMarker, instead of repeating it. The Wine
// checks expand the same marker.
inline constexpr std::string_view kOpeningMarker = "@opening";
// The expected trace as the scenario prints it: the marker line replaced by
// the opening.
std::string WithOpening(std::string_view expected, std::string_view opening);
// The trace as it is kept: a trace that begins with the opening begins with
// the marker instead.
std::string OpeningElided(std::string_view trace, std::string_view opening);

// Drops the time column ("   0.400  ") of trace lines, for comparisons where
// only the order matters.
std::vector<std::string> WithoutTimes(const std::vector<std::string>& lines);

}  // namespace qta1::testing
