#include "messages-lint/lint.h"

#include <csignal>
#include <cstdlib>
#include <unistd.h>

#include "common/text.h"
#include "messages-tool/io.h"

namespace mt::lint {

using namespace std::literals;

extern const std::string_view USAGE_TEXT =
    "messages-lint — проверка черновика ленты сообщений Orvenda до подписи\n"
    "\n"
    "messages-lint [--format=human|json|github] FILE...\n"
    "        Читает каждый FILE теми же правилами, что messages-tool check\n"
    "        после проверки подписи, и называет все проблемы сразу, с местом\n"
    "        в файле. Подпись и ключ не нужны; первая проблема — ровно то,\n"
    "        что check скажет о правильно подписанной ленте.\n"
    "        --format=human   текст со строкой файла и примечаниями (по умолчанию)\n"
    "        --format=json    JSON Lines, один объект на проблему\n"
    "        --format=github  аннотации GitHub Actions (::error file=…)\n"
    "        Код выхода: 0 — проблем нет, 1 — есть проблемы,\n"
    "        2 — неверные аргументы или файл не читается.\n"sv;

namespace {

std::string diagnostic(std::string_view text) { return "[messages-lint] " + escape_unprintable(text) + "\n"; }

Stop usage_error(std::string_view text) {
    return Stop{2, "", diagnostic(text) + "[messages-lint] справка: messages-lint --help\n"};
}

}  // namespace

std::variant<Request, Stop> parse_arguments(std::span<const std::string_view> args) {
    Request request;
    bool flags_end = false;
    for (const std::string_view arg : args) {
        if (flags_end || !arg.starts_with("--")) {
            request.files.emplace_back(arg);
        } else if (arg == "--") {
            flags_end = true;
        } else if (arg == "--help") {
            return Stop{0, std::string(USAGE_TEXT), ""};
        } else if (arg.starts_with("--format=")) {
            const std::string_view name = arg.substr(9);
            if (name == "human") {
                request.format = Format::human;
            } else if (name == "json") {
                request.format = Format::json;
            } else if (name == "github") {
                request.format = Format::github;
            } else {
                return usage_error("неизвестный формат "s.append(name) + " (human, json или github)");
            }
        } else {
            return usage_error("неизвестный флаг "s.append(arg));
        }
    }
    if (request.files.empty()) return usage_error("укажите хотя бы один файл ленты");
    return request;
}

FileOutcome lint_file(const std::string& path, Format format, bool color) {
    const auto head = read_head(path, MAX_FEED_BYTES + 1);
    if (!head) return FileOutcome{false, false, "", diagnostic("не читаю " + path + ": " + head.error().text)};
    const std::vector<Problem> problems = head->bytes.size() > MAX_FEED_BYTES
                                              ? std::vector{oversize_problem(head->bytes, path)}
                                              : find_problems(head->bytes);
    return FileOutcome{true, problems.empty(), report(format, path, head->bytes, problems, color), ""};
}

int lint_main(int argc, const char* const* argv) {
    // A closed pipe must surface as a failed write that is reported, not as a silent death.
    std::signal(SIGPIPE, SIG_IGN);
    std::vector<std::string_view> args;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (!is_valid_utf8(arg)) {
            (void)write_all(STDERR_FILENO, diagnostic("аргумент " + decimal(static_cast<unsigned>(i)) + " не в UTF-8"));
            return 2;
        }
        args.push_back(arg);
    }
    auto parsed = parse_arguments(args);
    if (const auto* stop = std::get_if<Stop>(&parsed)) {
        if (!stop->out.empty() && !write_all(STDOUT_FILENO, stop->out)) return 2;
        (void)write_all(STDERR_FILENO, stop->err);
        return stop->status;
    }
    const Request& request = std::get<Request>(parsed);
    const bool color = request.format == Format::human && ::isatty(STDOUT_FILENO) && std::getenv("NO_COLOR") == nullptr;

    bool unreadable = false, failed = false;
    for (const std::string& file : request.files) {
        const FileOutcome outcome = lint_file(file, request.format, color);
        unreadable |= !outcome.readable;
        failed |= !outcome.passed;
        if (auto written = write_all(STDOUT_FILENO, outcome.out); !written) {
            (void)write_all(STDERR_FILENO, diagnostic("не пишу в stdout: " + written.error().text));
            return 2;
        }
        (void)write_all(STDERR_FILENO, outcome.err);
    }
    return unreadable ? 2 : failed ? 1 : 0;
}

}  // namespace mt::lint
