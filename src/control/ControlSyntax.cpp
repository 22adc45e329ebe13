#include "control/ControlSyntax.h"

namespace arx {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Bytes that never belong in a line: the control characters other than the tab, and DEL.
bool isControl(unsigned char c)
{
    return (c < 0x20 && c != '\t') || c == 0x7F;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

struct Tokens {
    std::vector<ControlToken> tokens;
    std::string problem;
};

// Splits the inside of `< ... >` into tokens; on a problem the tokens read so far are kept,
// so that the ERR can still name the index and parameter.
Tokens tokenise(std::string_view text)
{
    Tokens result;
    std::size_t at = 0;
    while (at < text.size()) {
        const char c = text[at];
        if (isBlank(c)) {
            ++at;
            continue;
        }
        ControlToken token;
        if (c == '"') {
            token.quoted = true;
            ++at;
            bool closed = false;
            while (at < text.size() && !closed) {
                const char q = text[at++];
                if (q == '"') {
                    closed = true;
                } else if (q == '\\') {
                    if (at >= text.size())
                        break;
                    const char escaped = text[at++];
                    if (escaped == '"' || escaped == '\\') {
                        token.text += escaped;
                    } else if (escaped == 'x' && at + 1 < text.size() && hexDigit(text[at]) >= 0
                        && hexDigit(text[at + 1]) >= 0) {
                        token.text
                            += static_cast<char>(hexDigit(text[at]) * 16 + hexDigit(text[at + 1]));
                        at += 2;
                    } else {
                        result.problem = "bad escape in a quoted text";
                        return result;
                    }
                } else if (isControl(static_cast<unsigned char>(q))) {
                    result.problem = "control character";
                    return result;
                } else {
                    token.text += q;
                }
            }
            if (!closed) {
                result.problem = "quote not closed";
                return result;
            }
            if (at < text.size() && !isBlank(text[at])) {
                result.problem = "no blank after a quoted text";
                return result;
            }
        } else {
            while (at < text.size() && !isBlank(text[at])) {
                const auto b = static_cast<unsigned char>(text[at]);
                if (b == '"' || isControl(b) || b >= 0x80) {
                    result.problem
                        = b >= 0x80 ? "text outside quotes must be ASCII" : "unexpected character";
                    return result;
                }
                token.text += text[at++];
            }
        }
        result.tokens.push_back(std::move(token));
    }
    return result;
}

} // namespace

std::string upperCased(std::string_view text)
{
    std::string upper(text);
    for (char &c : upper) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

std::string quotedText(std::string_view text)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string quoted = "\"";
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (b < 0x20 || b == 0x7F) {
            quoted += "\\x";
            quoted += Hex[b >> 4];
            quoted += Hex[b & 0xF];
        } else {
            quoted += c;
        }
    }
    quoted += '"';
    return quoted;
}

std::string echoToken(const ControlToken &token)
{
    return token.quoted ? quotedText(token.text) : token.text;
}

namespace {

// The inside of "< ... >", or nothing when the brackets are missing.
std::optional<std::string_view> bracketed(std::string_view line)
{
    while (!line.empty() && isBlank(line.front()))
        line.remove_prefix(1);
    while (!line.empty() && isBlank(line.back()))
        line.remove_suffix(1);
    if (line.size() < 2 || line.front() != '<' || line.back() != '>')
        return std::nullopt;
    return line.substr(1, line.size() - 2);
}

} // namespace

std::optional<std::vector<ControlToken>> messageWords(std::string_view line)
{
    const auto inside = bracketed(line);
    if (!inside)
        return std::nullopt;
    Tokens split = tokenise(*inside);
    if (!split.problem.empty() || split.tokens.empty())
        return std::nullopt;
    return std::move(split.tokens);
}

ParsedLine parseControlLine(std::string_view line)
{
    ParsedLine parsed;
    const auto inside = bracketed(line);
    if (!inside) {
        parsed.reason = "a message is < VERB index PARAM [value] >";
        return parsed;
    }
    Tokens split = tokenise(*inside);
    std::vector<ControlToken> &tokens = split.tokens;
    if (tokens.size() > 1)
        parsed.errorIndex = echoToken(tokens[1]);
    if (tokens.size() > 2 && !tokens[2].quoted)
        parsed.errorParameter = tokens[2].text;
    if (!split.problem.empty()) {
        parsed.reason = split.problem;
        return parsed;
    }
    if (tokens.size() < 3) {
        parsed.reason = "a message is < VERB index PARAM [value] >";
        return parsed;
    }
    if (tokens[0].quoted || tokens[2].quoted) {
        parsed.reason = "the verb and the parameter are words, not quoted";
        return parsed;
    }
    ControlRequest request;
    request.verb = upperCased(tokens[0].text);
    if (request.verb != "GET" && request.verb != "SET") {
        parsed.reason = "unknown verb";
        return parsed;
    }
    request.index = std::move(tokens[1]);
    request.parameter = std::move(tokens[2]);
    request.parameterName = upperCased(request.parameter.text);
    request.values.assign(
        std::make_move_iterator(tokens.begin() + 3), std::make_move_iterator(tokens.end()));
    parsed.request = std::move(request);
    return parsed;
}

} // namespace arx
