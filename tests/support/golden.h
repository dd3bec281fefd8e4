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

// Drops the time column ("   0.400  ") of trace lines, for comparisons where
// only the order matters.
std::vector<std::string> WithoutTimes(const std::vector<std::string>& lines);

}  // namespace qta1::testing
