#include "messages-lint/lint.h"

#include <cstdlib>
#include <unistd.h>

#include "common/digits.h"
#include "common/escape.h"
#include "common/utf8.h"
#include "feed_files/limits.h"
#include "feed_files/read_head.h"
#include "outcome/outcome.h"

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

std::string diagnostic(std::string_view text) { return "[messages-lint] " + escape_controls(text) + "\n"; }

// A usage error is one line, with where to find the usage after it.
Outcome usage_error(std::string_view text) {
    return Outcome{2, "", diagnostic(std::string(text) + " (справка: messages-lint --help)")};
}

}  // namespace

std::variant<Request, Outcome> parse_arguments(std::span<const std::string_view> args) {
    Request request;
    bool flags_end = false;
    for (const std::string_view arg : args) {
        if (flags_end || !arg.starts_with("--")) {
            request.files.emplace_back(arg);
        } else if (arg == "--") {
            flags_end = true;
        } else if (arg == "--help") {
            return Outcome{0, std::string(USAGE_TEXT), ""};
        } else if (arg == "--version") {
            // MT_VERSION is the project's version, defined by the build (cmake/version.cmake).
            return Outcome{0, "messages-lint " MT_VERSION "\n", ""};
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

Outcome run(std::span<const char* const> argv, bool color) {
    std::vector<std::string_view> args;
    for (std::size_t i = 1; i < argv.size(); ++i) {
        const std::string_view arg = argv[i];
        if (!is_valid_utf8(arg)) return Outcome{2, "", diagnostic("аргумент " + decimal(i) + " не в UTF-8")};
        args.push_back(arg);
    }
    auto parsed = parse_arguments(args);
    if (auto* outcome = std::get_if<Outcome>(&parsed)) return std::move(*outcome);
    const Request& request = std::get<Request>(parsed);

    Outcome outcome;
    bool unreadable = false, failed = false;
    for (const std::string& path : request.files) {
        const auto head = read_head(path, MAX_FEED_BYTES + 1);
        if (!head) {
            unreadable = true;
            outcome.err += diagnostic("не читаю " + path + ": " + head.error().text);
            continue;
        }
        const std::vector<Problem> problems = head->bytes.size() > MAX_FEED_BYTES
                                                  ? std::vector{oversize_problem(head->bytes, head->length, path)}
                                                  : find_problems(head->bytes);
        failed |= !problems.empty();
        outcome.out += report(request.format, path, head->bytes, problems, color && request.format == Format::human);
    }
    outcome.status = unreadable ? 2 : failed ? 1 : 0;
    return outcome;
}

int lint_main(int argc, const char* const* argv) {
    const bool color = ::isatty(STDOUT_FILENO) && std::getenv("NO_COLOR") == nullptr;
    return write_outcome(run(std::span(argv, argc > 0 ? static_cast<std::size_t>(argc) : 0), color),
                         "[messages-lint] ");
}

}  // namespace mt::lint
