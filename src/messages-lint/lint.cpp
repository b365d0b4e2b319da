#include "messages-lint/lint.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <ctime>
#include <unistd.h>

#include "common/digits.h"
#include "common/escape.h"
#include "common/utf8.h"
#include "feed_files/read_head.h"
#include "feed_files/write_file.h"
#include "file_errors.h"
#include "lint/fix_document.h"
#include "local_zone.h"
#include "lsp/session.h"
#include "messages/records.h"
#include "outcome/outcome.h"
#include "unified_diff.h"

namespace mt::lint {

using namespace std::literals;

extern const std::string_view USAGE_TEXT =
    "messages-lint — проверка черновика ленты сообщений Orvenda до подписи\n"
    "\n"
    "messages-lint [ПАРАМЕТР]... FILE...\n"
    "        Читает каждый FILE теми же правилами, что messages-tool check\n"
    "        после проверки подписи, и называет все проблемы сразу, с местом\n"
    "        в файле. Подпись и ключ не нужны; первая проблема — ровно то,\n"
    "        что check скажет о правильно подписанной ленте. FILE «-» —\n"
    "        стандартный ввод.\n"
    "        --format=human   текст со строкой файла и примечаниями (по умолчанию)\n"
    "        --format=json    JSON Lines, один объект на проблему\n"
    "        --format=github  аннотации GitHub Actions (::error file=…)\n"
    "        --format=sarif   SARIF 2.1.0 (GitHub code scanning и другие)\n"
    "        --color=auto|always|never\n"
    "                         цвет в формате human (auto: на терминале, если\n"
    "                         NO_COLOR не задана и TERM не dumb)\n"
    "        --fix            исправить в самих файлах всё, что исправляется\n"
    "                         надёжно (кавычки, запятые, комментарии, BOM,\n"
    "                         кодировка…), и сообщить об остальном; с «-»\n"
    "                         исправленный документ идёт в stdout, отчёт — в stderr\n"
    "        --unsafe-fixes   с --fix или --diff: применить и предложения\n"
    "                         (ближайший известный ключ, миллисекунды, даты,\n"
    "                         версии из одной-двух частей)\n"
    "        --diff           показать, что изменит --fix, в виде unified diff,\n"
    "                         ничего не записывая\n"
    "        --no-warnings    без предупреждений\n"
    "        --now=SECONDS    текущее время для предупреждений, секунды Unix\n"
    "                         (по умолчанию часы системы)\n"
    "        --stdin-filename=NAME\n"
    "                         имя для «-» в отчёте (по умолчанию <stdin>)\n"
    "        -h, --help       эта справка\n"
    "        --version        версия\n"
    "        Значение параметра можно дать и следующим аргументом: --format json.\n"
    "        Код выхода: 0 — ошибок нет, 1 — есть ошибки (предупреждения\n"
    "        его не меняют; с --fix — ошибки, что остались; с --diff — есть\n"
    "        что изменить), 2 — неверные аргументы, файл не читается или не\n"
    "        записывается.\n"
    "\n"
    "messages-lint --lsp [--now=SECONDS] [--no-warnings]\n"
    "        Сервер Language Server Protocol для редакторов на стандартном\n"
    "        вводе и выводе: те же проблемы, пока автор печатает, быстрые\n"
    "        исправления и сводка сообщения при наведении (doc/editors.md).\n"
    "        Код выхода: 0 после shutdown и exit, иначе 1.\n"sv;

// MT_VERSION is the project's version, defined by the build from CMake's PROJECT_VERSION.
extern const std::string_view VERSION_TEXT = "messages-lint " MT_VERSION "\n"sv;

namespace {

std::string diagnostic(std::string_view text) { return "[messages-lint] " + escape_controls(text) + "\n"; }

// A usage error is one line, with where to find the usage after it.
Outcome usage_error(std::string_view text) {
    return Outcome{2, "", diagnostic(std::string(text) + " (справка: messages-lint --help)")};
}

// Sets what the option `name` with `value` asks for, or says what is wrong with it.
std::optional<std::string> apply_option(Request& request, std::string_view name, std::string_view value) {
    if (name == "--format") {
        if (value == "human") {
            request.format = Format::human;
        } else if (value == "json") {
            request.format = Format::json;
        } else if (value == "github") {
            request.format = Format::github;
        } else if (value == "sarif") {
            request.format = Format::sarif;
        } else {
            return "неизвестный формат "s.append(value) + " (human, json, github или sarif)";
        }
    } else if (name == "--color") {
        if (value == "auto") {
            request.color = ColorMode::automatic;
        } else if (value == "always") {
            request.color = ColorMode::always;
        } else if (value == "never") {
            request.color = ColorMode::never;
        } else {
            return "неизвестное значение --color "s.append(value) + " (auto, always или never)";
        }
    } else if (name == "--now") {
        std::int64_t seconds = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), seconds);
        if (value.empty() || error != std::errc{} || end != value.data() + value.size())
            return "--now ждёт целое число секунд Unix, а не "s.append(value);
        request.now = seconds;
    } else {  // --stdin-filename
        if (value.empty()) return "пустое имя в --stdin-filename"s;
        request.stdin_name = value;
    }
    return std::nullopt;
}

bool takes_value(std::string_view name) {
    return name == "--format" || name == "--color" || name == "--now" || name == "--stdin-filename";
}

}  // namespace

std::variant<Request, Outcome> parse_arguments(std::span<const std::string_view> args) {
    Request request;
    bool flags_end = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (flags_end || arg == "-" || !arg.starts_with("-")) {
            request.files.emplace_back(arg);
        } else if (arg == "--") {
            flags_end = true;
        } else if (arg == "-h" || arg == "--help") {
            return Outcome{0, std::string(USAGE_TEXT), ""};
        } else if (arg == "--version") {
            return Outcome{0, std::string(VERSION_TEXT), ""};
        } else if (arg == "--no-warnings") {
            request.warnings = false;
        } else if (arg == "--fix" || arg == "--diff") {
            const FixMode mode = arg == "--fix" ? FixMode::fix : FixMode::diff;
            if (request.fix != FixMode::report && request.fix != mode)
                return usage_error("--fix и --diff вместе не бывают: --diff только показывает, что сделает --fix");
            request.fix = mode;
        } else if (arg == "--unsafe-fixes") {
            request.unsafe_fixes = true;
        } else if (arg == "--lsp") {
            request.lsp = true;
        } else {
            const std::size_t equals = arg.starts_with("--") ? arg.find('=') : std::string_view::npos;
            const std::string_view name = arg.substr(0, equals);
            if (!takes_value(name)) return usage_error("неизвестный флаг "s.append(arg));
            std::string_view value;
            if (equals != std::string_view::npos) {
                value = arg.substr(equals + 1);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                return usage_error("флагу "s.append(name) + " нужно значение");
            }
            if (auto problem = apply_option(request, name, value)) return usage_error(*problem);
        }
    }
    if (request.lsp) {
        if (!request.files.empty()) return usage_error("--lsp не принимает файлов: документы присылает редактор");
        if (request.fix != FixMode::report || request.unsafe_fixes)
            return usage_error("--lsp не исправляет файлы: исправления предлагает редактор");
        return request;
    }
    if (request.files.empty()) return usage_error("укажите хотя бы один файл ленты");
    if (request.unsafe_fixes && request.fix == FixMode::report)
        return usage_error("--unsafe-fixes действует только вместе с --fix или --diff");
    if (std::count(request.files.begin(), request.files.end(), "-") > 1)
        return usage_error("стандартный ввод (-) указан больше одного раза");
    return request;
}

bool use_color(ColorMode mode, const Environment& environment) {
    if (mode != ColorMode::automatic) return mode == ColorMode::always;
    return environment.stdout_is_terminal && !environment.no_color && environment.term != "dumb";
}

namespace {

// The arguments after the program's name, each of which must be UTF-8.
std::variant<Request, Outcome> parse_argv(std::span<const char* const> argv) {
    std::vector<std::string_view> args;
    for (std::size_t i = 1; i < argv.size(); ++i) {
        const std::string_view arg = argv[i];
        if (!is_valid_utf8(arg)) return Outcome{2, "", diagnostic("аргумент " + decimal(i) + " не в UTF-8")};
        args.push_back(arg);
    }
    return parse_arguments(args);
}

// The check of the files of a request (one without --lsp).
Outcome check_files(const Request& request, const Environment& environment) {
    const CheckOptions check{
        .now = request.now.value_or(environment.now), .warnings = request.warnings, .zone = environment.zone};

    Outcome outcome;
    bool unreadable = false, failed = false, changes = false;
    std::string fixed_stdin, diffs, fixed_lines;
    std::vector<FileProblems> files;
    files.reserve(request.files.size());
    for (const std::string& given : request.files) {
        const bool from_stdin = given == "-";
        FileProblems& file = files.emplace_back();
        file.path = from_stdin ? request.stdin_name : given;
        // Fixing reads as much of a draft as the page opens: safe fixes may bring it under the limit.
        const bool fixing = request.fix != FixMode::report;
        const std::size_t cap = (fixing ? MAX_DRAFT_BYTES : MAX_FEED_BYTES) + 1;
        auto head = from_stdin ? read_head(STDIN_FILENO, cap) : read_head(given, cap);
        if (!head) {
            unreadable = true;
            file.read_error = file_error_words(head.error());
            outcome.err += diagnostic(read_problem_text(file.path, *file.read_error));
            continue;
        }
        std::vector<std::string> applied;
        std::optional<std::vector<Problem>> left;  // the problems fixing found left, when it ran
        if (fixing && head->bytes.size() > MAX_DRAFT_BYTES) {
            // Not fixed, and from standard input not passed on either: only part of it was read.
            if (from_stdin) unreadable = true;
            outcome.err += diagnostic("не исправляю " + file.path + ": в нём больше " + decimal(MAX_DRAFT_BYTES >> 20) +
                                      " МиБ (" + decimal(MAX_DRAFT_BYTES) + " байт)" +
                                      (from_stdin ? ", и в стандартный вывод он не выведен" : ""));
        } else if (fixing) {
            FixOutcome fixed = fix_document(head->bytes, {.unsafe = request.unsafe_fixes, .check = check});
            changes |= fixed.document != head->bytes;
            // Over the limit the draft is checked below, as acceptance reads it.
            const bool checked = fixed.document.size() <= MAX_FEED_BYTES;
            if (request.fix == FixMode::diff) {
                diffs += unified_diff(file.path, head->bytes, fixed.document);
            } else if (from_stdin) {
                fixed_stdin = fixed.document;
                head->bytes = std::move(fixed.document);
                applied = std::move(fixed.applied);
                if (checked) left = std::move(fixed.problems);
            } else if (fixed.document == head->bytes) {
                if (checked) left = std::move(fixed.problems);
            } else if (auto written = write_file_atomically(given, fixed.document); !written) {
                unreadable = true;
                outcome.err += diagnostic("не записываю " + file.path + ": " + file_error_words(written.error()) +
                                          "; файл оставлен как был");
            } else {
                head->bytes = std::move(fixed.document);
                applied = std::move(fixed.applied);
                if (checked) left = std::move(fixed.problems);
            }
            head->length = head->bytes.size();  // a fixing read takes the whole draft
        }
        if (!applied.empty()) {
            // People read what was fixed beside the report; programs get a report of what is left.
            const std::string line = escape_controls(file.path) + ": исправлено: " + fixed_titles(applied) + "\n";
            if (request.format == Format::human)
                fixed_lines += line;
            else
                outcome.err += "[messages-lint] " + line;
        }
        // A draft beyond the limit is checked as acceptance reads it: up to one byte past the limit.
        file.problems = left ? std::move(*left)
                             : file_problems(std::string_view(head->bytes).substr(0, MAX_FEED_BYTES + 1), head->length,
                                             file.path, check);
        failed |= std::any_of(file.problems.begin(), file.problems.end(),
                              [](const Problem& p) { return p.severity == Severity::error; });
        file.bytes = std::move(head->bytes);
    }
    if (request.fix == FixMode::diff) {
        outcome.out = std::move(diffs);
        outcome.status = unreadable ? 2 : changes ? 1 : 0;
        return outcome;
    }
    std::string report_text =
        fixed_lines + report(request.format, files,
                             {.color = request.format == Format::human && use_color(request.color, environment),
                              .warnings = request.warnings,
                              .tool_version = MT_VERSION});
    // With `-` fixed, standard output holds the document alone.
    const bool document_out = request.fix == FixMode::fix &&
                              std::find(request.files.begin(), request.files.end(), "-") != request.files.end();
    if (document_out) {
        outcome.out = std::move(fixed_stdin);
        outcome.err += report_text;
    } else {
        outcome.out = std::move(report_text);
    }
    outcome.status = unreadable ? 2 : failed ? 1 : 0;
    return outcome;
}

}  // namespace

Outcome run(std::span<const char* const> argv, const Environment& environment) {
    auto parsed = parse_argv(argv);
    if (auto* outcome = std::get_if<Outcome>(&parsed)) return std::move(*outcome);
    const Request& request = std::get<Request>(parsed);
    if (request.lsp) return usage_error("--lsp работает только как программа messages-lint --lsp");
    return check_files(request, environment);
}

int lint_main(int argc, const char* const* argv) {
    const std::span<const char* const> args(argv, argc > 0 ? static_cast<std::size_t>(argc) : 0);
    const LocalZone zone = local_zone();
    if (auto parsed = parse_argv(args); const Request* request = std::get_if<Request>(&parsed)) {
        if (request->lsp) {
            lsp::ServerOptions options;
            options.now = request->now;
            options.zone = zone.author_zone();
            options.warnings = request->warnings;
            options.version = MT_VERSION;
            return lsp::serve(STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO, options);
        }
    }
    const char* term = std::getenv("TERM");
    const Environment environment{.stdout_is_terminal = ::isatty(STDOUT_FILENO) == 1,
                                  .no_color = std::getenv("NO_COLOR") != nullptr,
                                  .term = term ? term : "",
                                  .now = static_cast<std::int64_t>(std::time(nullptr)),
                                  .zone = zone.author_zone()};
    return write_outcome(run(args, environment), "[messages-lint] ");
}

}  // namespace mt::lint
