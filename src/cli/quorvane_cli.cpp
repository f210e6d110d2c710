#include "cli/quorvane_cli.hpp"

#include "cli/cli_text.hpp"

#include "models/coding/json_finite_check.hpp"
#include "models/coding/text_joining.hpp"

namespace quorvane {

namespace {

std::string withLineFeed(std::string_view text) {
    std::string out(text);
    if (out.empty() || out.back() != '\n')
        out += '\n';
    return out;
}

}  // namespace

QuorvaneCLI::Encoder::Result QuorvaneCLI::Encoder::encode(const Json& document) const {
    if (containsNonFiniteNumber(document))
        return {std::nullopt, "숫자가 아닌 값(NaN 또는 무한대)은 JSON으로 쓸 수 없습니다."};
    return {jsonWithTerminalControlsEscaped(dumpJson(document, 2)), {}};
}

const std::string& QuorvaneCLI::usageText() {
    static const std::string text =
        "Quorvane CLI\n"
        "Usage:\n"
        "  quorvane cli list presets [--json]\n"
        "  quorvane cli list scenes [--json]\n"
        "  quorvane cli list displays [--json]\n"
        "  quorvane cli read settings [--json]\n"
        "  quorvane cli read displays [--json]\n"
        "  quorvane cli read diagnostics [--json]\n"
        "  quorvane cli preview import-plan --file <settings-json> [--json]\n"
        "  quorvane cli apply-safe-preset <preset-id-or-name> [--display "
        "<display-id-or-identity>] [--all-visible] [--json]\n"
        "\n"
        "Safety: v1 only reads local state, previews settings import plans, and applies software "
        "color presets. It does not expose DDC/CI writes, hardware brightness writes, display "
        "mode changes, input switching, HDR/XDR, EDID, virtual displays, or a server. Settings "
        "imports require confirmation outside the CLI preview.";
    return text;
}

QuorvaneCLI::QuorvaneCLI(Environment environment) : environment_(std::move(environment)) {}

std::int32_t QuorvaneCLI::run(const std::vector<std::string>& arguments) {
    const auto status = runCommand(arguments);
    if (!environment_.standardOutputFailure)
        return status;
    const auto failure = environment_.standardOutputFailure();
    if (!failure)
        return status;
    environment_.standardError("표준 출력에 쓰지 못했습니다: " + *failure + "\n");
    return static_cast<std::int32_t>(ExitCode::failure);
}

std::string QuorvaneCLI::displayServerMessage() const {
    if (!environment_.displayVariable || environment_.displayVariable->empty()) {
        return "X 서버에 연결할 수 없습니다: $DISPLAY가 설정되어 있지 않습니다. 그래픽 세션 "
               "안에서 실행하세요.";
    }
    return "X 서버에 연결할 수 없습니다: $DISPLAY=" + *environment_.displayVariable +
           ". 그래픽 세션이 실행 중인지, $DISPLAY 값이 맞는지 확인하세요.";
}

std::string QuorvaneCLI::lostDisplayServerMessage() const {
    // The application's words for the same loss, and what it meant for
    // this command: nothing was saved.
    std::string message = "X 서버와의 연결이 끊어져 종료합니다";
    if (environment_.displayVariable && !environment_.displayVariable->empty())
        message += ": $DISPLAY=" + *environment_.displayVariable;
    return message + ". 설정은 바꾸지 않았습니다.";
}

std::int32_t QuorvaneCLI::runCommand(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        environment_.standardError(withLineFeed(usageText()));
        return static_cast<std::int32_t>(ExitCode::usage);
    }
    const std::string& command = arguments.front();
    const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
    if (command == "list")
        return handleList(rest);
    if (command == "read")
        return handleRead(rest);
    if (command == "preview")
        return handlePreview(rest);
    if (command == "apply-safe-preset")
        return handleApplySafePreset(rest);
    if (command == "help" || command == "--help" || command == "-h") {
        environment_.standardOutput(usageText());
        return static_cast<std::int32_t>(ExitCode::success);
    }
    bool json = false;
    for (const auto& argument : arguments) {
        if (argument == "--json")
            json = true;
    }
    return fail(ExitCode::usage, "알 수 없는 CLI 명령입니다: " + command + "\n\n" + usageText(),
                json);
}

QuorvaneCLI::ParsedArguments QuorvaneCLI::parseOptions(const std::vector<std::string>& arguments) {
    ParsedArguments parsed;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--json") {
            parsed.options.json = true;
        } else if (argument == "--all-visible") {
            parsed.options.allVisible = true;
        } else if (argument == "--display") {
            if (i + 1 == arguments.size()) {
                parsed.unknown.push_back("--display requires a value");
                break;
            }
            parsed.options.display = arguments[++i];
        } else if (argument == "--file") {
            if (parsed.options.file) {
                parsed.unknown.push_back("--file");
                continue;
            }
            if (i + 1 == arguments.size()) {
                parsed.unknown.push_back("--file requires a value");
                break;
            }
            parsed.options.file = arguments[++i];
        } else if (argument.starts_with("--")) {
            parsed.unknown.push_back(argument);
        } else {
            parsed.positionals.push_back(argument);
        }
    }
    return parsed;
}

std::int32_t QuorvaneCLI::fail(ExitCode code, std::string_view message, bool json) {
    const auto status = static_cast<std::int32_t>(code);
    if (!json) {
        environment_.standardError(withLineFeed(visibleControlCharacters(message, true)));
        return status;
    }
    const CLIErrorResponse response{1, true, status, std::string(message)};
    const auto encoded = encoder_.encode(response.toJson());
    if (!encoded.text) {
        environment_.standardError(withLineFeed(visibleControlCharacters(message, true)));
        return status;
    }
    environment_.standardError(*encoded.text + "\n");
    return status;
}

std::int32_t QuorvaneCLI::emitJSON(const CLIResponse& response) {
    const auto encoded = encoder_.encode(response.toJson());
    if (!encoded.text) {
        environment_.standardError("JSON 출력을 만들지 못했습니다: " + encoded.errorDescription +
                                   "\n");
        return static_cast<std::int32_t>(ExitCode::failure);
    }
    environment_.standardOutput(*encoded.text + "\n");
    return static_cast<std::int32_t>(ExitCode::success);
}

void QuorvaneCLI::reportNotice(std::string_view text) {
    environment_.standardError(withLineFeed(visibleControlCharacters(text, true)));
}

void QuorvaneCLI::writeLines(const std::vector<std::string>& lines) {
    environment_.standardOutput(joined(lines, "\n") + "\n");
}

}  // namespace quorvane
