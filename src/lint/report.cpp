#include "lint/report.h"

#include <algorithm>

#include "common/digits.h"
#include "common/escape.h"
#include "report_parts.h"

namespace mt::lint {

std::string fixed_titles(std::span<const std::string> titles) {
    std::vector<std::pair<std::string_view, std::size_t>> counted;
    for (const std::string& title : titles) {
        auto it = std::find_if(counted.begin(), counted.end(), [&](const auto& c) { return c.first == title; });
        if (it == counted.end())
            counted.emplace_back(title, 1);
        else
            ++it->second;
    }
    std::string out;
    for (const auto& [title, times] : counted) {
        if (!out.empty()) out += "; ";
        out += escape_controls(title);
        if (times > 1) out += " (" + decimal(times) + ")";
    }
    return out;
}

std::string read_problem_text(std::string_view path, std::string_view error) {
    return escape_controls("не читаю " + std::string(path) + ": " + std::string(error));
}

std::string report(Format format, std::span<const FileProblems> files, const ReportOptions& options) {
    switch (format) {
        case Format::human:
            return human_report(files, options);
        case Format::json:
            return json_report(files, false);
        case Format::json_array:
            return json_report(files, true);
        case Format::github:
            return github_report(files);
        case Format::sarif:
            return sarif_report(files, options);
    }
    return {};
}

}  // namespace mt::lint
