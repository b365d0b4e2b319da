#include "unified_diff.h"

#include <algorithm>
#include <vector>

#include "common/digits.h"

namespace mt::lint {
namespace {

// Lines of context around each change.
constexpr std::size_t CONTEXT = 3;
// The most differences looked for line by line; beyond them the middle is one replacement.
constexpr std::ptrdiff_t MAX_DIFFERENCES = 2000;

std::vector<std::string_view> lines_of(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size() - 1) + 1;
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end);
    }
    return lines;
}

enum class Op { keep, remove, insert };

// The shortest edit script from `a` to `b` (Myers), kept lines included; a script too long to
// look for is every line of `a` removed and every line of `b` inserted.
std::vector<Op> edit_script(const std::vector<std::string_view>& a, const std::vector<std::string_view>& b) {
    const auto n = static_cast<std::ptrdiff_t>(a.size()), m = static_cast<std::ptrdiff_t>(b.size());
    std::vector<std::vector<std::ptrdiff_t>> trace;  // at step d, the furthest x of diagonals -d..d
    std::vector<std::ptrdiff_t> v(1, 0);
    std::ptrdiff_t found = -1;
    for (std::ptrdiff_t d = 0; d <= std::min(n + m, MAX_DIFFERENCES) && found < 0; ++d) {
        std::vector<std::ptrdiff_t> next(static_cast<std::size_t>(2 * d + 1));
        const auto at = [&](const std::vector<std::ptrdiff_t>& row, std::ptrdiff_t k, std::ptrdiff_t width) {
            return row[static_cast<std::size_t>(k + width)];
        };
        for (std::ptrdiff_t k = -d; k <= d; k += 2) {
            std::ptrdiff_t x;
            if (d == 0)
                x = 0;
            else if (k == -d || (k != d && at(v, k - 1, d - 1) < at(v, k + 1, d - 1)))
                x = at(v, k + 1, d - 1);
            else
                x = at(v, k - 1, d - 1) + 1;
            std::ptrdiff_t y = x - k;
            while (x < n && y < m && a[static_cast<std::size_t>(x)] == b[static_cast<std::size_t>(y)]) ++x, ++y;
            next[static_cast<std::size_t>(k + d)] = x;
            if (x >= n && y >= m) found = d;
        }
        trace.push_back(next);
        v = std::move(next);
    }
    std::vector<Op> ops;
    if (found < 0) {
        ops.assign(a.size(), Op::remove);
        ops.insert(ops.end(), b.size(), Op::insert);
        return ops;
    }
    std::ptrdiff_t x = n, y = m;
    for (std::ptrdiff_t d = found; d > 0; --d) {
        const std::vector<std::ptrdiff_t>& previous = trace[static_cast<std::size_t>(d - 1)];
        const std::ptrdiff_t k = x - y;
        const auto prev_at = [&](std::ptrdiff_t kk) { return previous[static_cast<std::size_t>(kk + d - 1)]; };
        const bool down = k == -d || (k != d && prev_at(k - 1) < prev_at(k + 1));
        const std::ptrdiff_t prev_k = down ? k + 1 : k - 1;
        const std::ptrdiff_t prev_x = prev_at(prev_k), prev_y = prev_x - prev_k;
        while (x > prev_x + (down ? 0 : 1) && y > prev_y + (down ? 1 : 0)) {
            ops.push_back(Op::keep);
            --x, --y;
        }
        ops.push_back(down ? Op::insert : Op::remove);
        x = prev_x;
        y = prev_y;
    }
    while (x > 0 && y > 0) {
        ops.push_back(Op::keep);
        --x, --y;
    }
    std::reverse(ops.begin(), ops.end());
    return ops;
}

void append_line(std::string& out, char mark, std::string_view line) {
    out += mark;
    out += line;
    if (!line.ends_with('\n')) out += "\n\\ No newline at end of file\n";
}

std::string range(std::size_t start, std::size_t count) {
    // diff -u names an empty range by the line before it.
    return decimal(count == 0 ? start : start + 1) + (count == 1 ? "" : "," + decimal(count));
}

}  // namespace

std::string unified_diff(std::string_view path, std::string_view before, std::string_view after) {
    if (before == after) return "";
    const std::vector<std::string_view> a = lines_of(before), b = lines_of(after);
    const std::vector<Op> ops = edit_script(a, b);
    std::string out = "--- a/" + std::string(path) + "\n+++ b/" + std::string(path) + "\n";
    // Walk the script, a hunk from CONTEXT lines before a change to CONTEXT lines after the
    // last change that is no more than 2 * CONTEXT kept lines from the next.
    std::size_t i = 0;
    std::vector<std::size_t> line_a(ops.size() + 1), line_b(ops.size() + 1);
    for (std::size_t j = 0, la = 0, lb = 0; j <= ops.size(); ++j) {
        line_a[j] = la;
        line_b[j] = lb;
        if (j < ops.size()) {
            la += ops[j] != Op::insert;
            lb += ops[j] != Op::remove;
        }
    }
    while (i < ops.size()) {
        while (i < ops.size() && ops[i] == Op::keep) ++i;
        if (i == ops.size()) break;
        const std::size_t start = i >= CONTEXT ? i - CONTEXT : 0;
        std::size_t end = i;
        for (;;) {
            while (end < ops.size() && ops[end] != Op::keep) ++end;
            std::size_t kept = end;
            while (kept < ops.size() && ops[kept] == Op::keep && kept - end <= 2 * CONTEXT) ++kept;
            if (kept < ops.size() && ops[kept] != Op::keep && kept - end <= 2 * CONTEXT) {
                end = kept;
                continue;
            }
            end = std::min(end + CONTEXT, ops.size());
            break;
        }
        out += "@@ -" + range(line_a[start], line_a[end] - line_a[start]) + " +" +
               range(line_b[start], line_b[end] - line_b[start]) + " @@\n";
        for (std::size_t j = start; j < end; ++j) {
            switch (ops[j]) {
                case Op::keep:
                    append_line(out, ' ', a[line_a[j]]);
                    break;
                case Op::remove:
                    append_line(out, '-', a[line_a[j]]);
                    break;
                case Op::insert:
                    append_line(out, '+', b[line_b[j]]);
                    break;
            }
        }
        i = end;
    }
    return out;
}

}  // namespace mt::lint
