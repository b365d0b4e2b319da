#include "messages-tool/cli.h"

#include <optional>
#include <vector>

#include "common/digits.h"
#include "common/escape.h"
#include "common/os_error.h"
#include "common/utf8.h"
#include "common/white_space.h"
#include "feed_files/limits.h"
#include "feed_files/read_head.h"
#include "messages/records.h"
#include "verify_feed/verify_feed.h"

namespace mt {

using namespace std::literals;

extern const std::string_view HELP_TEXT =
    "messages-tool — безопасная проверка подписанной ленты сообщений Orvenda\n"
    "\n"
    "check FILE [--sig FILE.sig]\n"
    "        Проверить ленту ровно так же, как приложение: Ed25519\n"
    "        verify_strict над точными байтами FILE вшитым боевым публичным\n"
    "        ключом (MODELS_PUBKEY_HEX) + строгая схема (schema 1,\n"
    "        revision >= 1, <= 64 КиБ, <= 50 сообщений, CTA-allowlist).\n"
    "        --sig не задан → подпись ищется в FILE.sig (создаёт\n"
    "        `models-tool sign --key PATH FILE`). Приватный ключ не нужен.\n"
    "        stdout: только revision, количество сообщений и их id.\n"
    "        Ошибка → ненулевой код выхода. Ничего не пишет и не публикует.\n"sv;

namespace {

// One diagnostic line. Paths, flags and error texts come from outside and are shown exactly as
// used, except whatever could break the line or drive a terminal, which is shown escaped.
Outcome diagnostic(int status, std::string_view text) {
    return Outcome{status, "", "[messages-tool] " + escape_controls(text) + "\n"};
}

std::string summary(const Feed& feed) {
    std::string out = "revision: " + decimal(feed.revision) + "\nсообщений: " + decimal(feed.messages.size()) + "\n";
    for (const Message& message : feed.messages) out += "  id: " + message.id + "\n";
    return out;
}

}  // namespace

std::variant<CheckRequest, Outcome> parse_arguments(std::span<const std::string_view> args) {
    if (args.empty()) return Outcome{0, std::string(HELP_TEXT), ""};
    // There is no help option: anything but the one command shows the help and fails.
    if (args[0] != "check") return Outcome{1, std::string(HELP_TEXT), ""};

    std::optional<std::string_view> file;
    std::optional<std::string_view> sig;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--sig") {
            // The next argument is the path whatever it looks like; a trailing --sig unsets it.
            sig = i + 1 < args.size() ? std::optional(args[++i]) : std::nullopt;
        } else if (arg.starts_with("--")) {
            return diagnostic(2, "неизвестный флаг "s.append(arg));
        } else if (!file) {
            file = arg;
        }
    }
    if (!file) return diagnostic(2, "check: укажите путь к messages.json");
    // A plain append, not a change of extension: feed.json is signed by feed.json.sig.
    return CheckRequest{std::string(*file), sig ? std::string(*sig) : std::string(*file) + ".sig"};
}

Outcome run_check(const CheckRequest& request) {
    // The feed is read and closed before the signature file is opened, and an oversize feed
    // is refused before its signature file is even looked for.
    auto feed = read_head(request.file, MAX_FEED_BYTES + 1);
    if (!feed) return diagnostic(2, "не читаю " + request.file + ": " + os_error_text(feed.error().code));
    if (feed->bytes.size() > MAX_FEED_BYTES)
        return diagnostic(1, feed_too_large_text(request.file, feed->bytes.size()));

    auto sig = read_head(request.sig, MAX_SIG_BYTES + 1);
    if (!sig) return diagnostic(2, "не читаю подпись " + request.sig + ": " + os_error_text(sig.error().code));
    if (sig->bytes.size() > MAX_SIG_BYTES) return diagnostic(1, signature_too_large_text(request.sig, sig->length));

    const std::string sig_text = decode_utf8_lossy(sig->bytes);
    auto accepted = verify_feed(feed->bytes, trim_white_space(sig_text));
    if (!accepted) return diagnostic(1, "ЛЕНТА ОТКЛОНЕНА: " + accepted.error().text);
    return Outcome{0, summary(*accepted), ""};
}

Outcome run(std::span<const char* const> argv) {
    // The program's own name is never used, so it is never checked.
    std::vector<std::string_view> args;
    for (std::size_t i = 1; i < argv.size(); ++i) {
        const std::string_view arg = argv[i];
        if (!is_valid_utf8(arg)) return diagnostic(2, "аргумент " + decimal(i) + " не в UTF-8");
        args.push_back(arg);
    }
    auto parsed = parse_arguments(args);
    if (auto* outcome = std::get_if<Outcome>(&parsed)) return std::move(*outcome);
    return run_check(std::get<CheckRequest>(parsed));
}

int tool_main(int argc, const char* const* argv) {
    return write_outcome(run(std::span(argv, argc > 0 ? static_cast<std::size_t>(argc) : 0)), "[messages-tool] ");
}

}  // namespace mt
