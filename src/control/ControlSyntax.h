#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace arx {

// One word of a command line: bare (ASCII, no blanks) or a double-quoted text, which may hold
// UTF-8 and the escapes \" \\ and \xHH; `text` holds it without quotes and escapes.
struct ControlToken {
    std::string text;
    bool quoted = false;
    bool operator==(const ControlToken &) const = default;
};

// `< VERB index PARAM value... >`, the verb and the parameter upper-cased for look-up, every
// token also kept as sent for the answers.
struct ControlRequest {
    std::string verb;
    ControlToken index;
    ControlToken parameter;
    std::string parameterName; // upper-cased
    std::vector<ControlToken> values;
};

// What a line holds: a request, or why not with the index and parameter to name in the ERR
// ("-" where the line had none).
struct ParsedLine {
    std::optional<ControlRequest> request;
    std::string errorIndex = "-";
    std::string errorParameter = "-";
    std::string reason;
};

// Reads one line (without its line end). Never throws, whatever the bytes.
ParsedLine parseControlLine(std::string_view line);

// Any message, "< WORD ... >", as its words: how a client reads REP, SAMPLE and ERR. An ERR's
// reason is its words after the parameter. Nothing when the line is no message.
std::optional<std::vector<ControlToken>> messageWords(std::string_view line);

// A token as it is written back into an answer: bare as it came, quoted with its escapes.
std::string echoToken(const ControlToken &token);

// A UTF-8 text as a quoted token: `"` and `\` escaped, control bytes as \xHH, so that no
// name can end a line or forge another message.
std::string quotedText(std::string_view text);

// ASCII letters upper-cased, everything else as it is.
std::string upperCased(std::string_view text);

} // namespace arx
