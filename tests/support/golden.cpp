#include "support/golden.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace qta1::testing {

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string WithOpening(std::string_view expected, std::string_view opening) {
    const std::string markerLine = std::string(kOpeningMarker) + "\n";
    if (expected.substr(0, markerLine.size()) != markerLine) return std::string(expected);
    return std::string(opening) + std::string(expected.substr(markerLine.size()));
}

std::string OpeningElided(std::string_view trace, std::string_view opening) {
    if (opening.empty() || trace.substr(0, opening.size()) != opening) return std::string(trace);
    return std::string(kOpeningMarker) + "\n" + std::string(trace.substr(opening.size()));
}

namespace {

// Longest-common-subsequence alignment, good enough for traces of a few
// hundred lines.
struct Row {
    const std::string* left;
    const std::string* right;
};

std::vector<Row> Align(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    const size_t n = a.size();
    const size_t m = b.size();
    std::vector<std::vector<int>> lcs(n + 1, std::vector<int>(m + 1, 0));
    for (size_t i = n; i-- > 0;) {
        for (size_t j = m; j-- > 0;) {
            lcs[i][j] =
                a[i] == b[j] ? lcs[i + 1][j + 1] + 1 : std::max(lcs[i + 1][j], lcs[i][j + 1]);
        }
    }
    std::vector<Row> rows;
    size_t i = 0;
    size_t j = 0;
    while (i < n || j < m) {
        if (i < n && j < m && a[i] == b[j]) {
            rows.push_back({&a[i++], &b[j++]});
        } else if (i < n && j < m && lcs[i + 1][j + 1] == lcs[i][j]) {
            rows.push_back({&a[i++], &b[j++]});  // changed line
        } else if (j < m && (i == n || lcs[i][j + 1] >= lcs[i + 1][j])) {
            rows.push_back({nullptr, &b[j++]});
        } else {
            rows.push_back({&a[i++], nullptr});
        }
    }
    return rows;
}

}  // namespace

std::string SideBySide(const std::vector<std::string>& expected,
                       const std::vector<std::string>& actual) {
    const std::vector<Row> rows = Align(expected, actual);
    size_t width = 8;
    for (const Row& row : rows) {
        if (row.left != nullptr) width = std::max(width, row.left->size());
    }
    width = std::min<size_t>(width, 90);
    std::ostringstream out;
    out << std::string("expected").append(width - 8, ' ') << "   actual\n";
    for (const Row& row : rows) {
        std::string left = row.left != nullptr ? *row.left : "";
        const std::string right = row.right != nullptr ? *row.right : "";
        char mark = ' ';
        if (row.left == nullptr)
            mark = '>';
        else if (row.right == nullptr)
            mark = '<';
        else if (*row.left != *row.right)
            mark = '|';
        if (left.size() < width) left.append(width - left.size(), ' ');
        out << left << ' ' << mark << ' ' << right << '\n';
    }
    return out.str();
}

::testing::AssertionResult SameTrace(const std::vector<std::string>& expected,
                                     const std::vector<std::string>& actual) {
    if (expected == actual) return ::testing::AssertionSuccess();
    auto failure = ::testing::AssertionFailure() << "traces differ:\n"
                                                 << SideBySide(expected, actual);
    // QTA1_SHOW_ACTUAL=1 also prints the actual trace as it stands, for
    // updating an expectation after a reviewed change.
    if (std::getenv("QTA1_SHOW_ACTUAL") != nullptr) {
        failure << "actual trace:\n";
        for (const std::string& line : actual) failure << line << "\n";
    }
    return failure;
}

std::vector<std::string> WithoutTimes(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    out.reserve(lines.size());
    for (const std::string& line : lines) out.push_back(line.size() > 10 ? line.substr(10) : line);
    return out;
}

}  // namespace qta1::testing
