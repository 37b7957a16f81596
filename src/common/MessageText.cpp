#include "common/MessageText.h"

#include <vector>

namespace {

constexpr std::string_view kTokenStem = "ITEM_0000";

}  // namespace

std::string EscapeControls(std::string_view text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n')
            escaped += "\\n";
        else if (c == '\r')
            escaped += "\\r";
        else if (c == '\t')
            escaped += "\\t";
        else if (byte < 0x20 || byte == 0x7f)
            escaped += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xf]};
        else
            escaped += c;
    }
    return escaped;
}

std::string MessageText(std::string_view messageTemplate, std::initializer_list<MessageField> fields)
{
    std::string text;
    text.reserve(messageTemplate.size());
    size_t pos = 0;
    while (pos < messageTemplate.size()) {
        const size_t open = messageTemplate.find('{', pos);
        const size_t close = open == std::string_view::npos ? open : messageTemplate.find('}', open);
        if (close == std::string_view::npos) {
            text += messageTemplate.substr(pos);
            break;
        }
        text += messageTemplate.substr(pos, open - pos);
        const std::string_view name = messageTemplate.substr(open + 1, close - open - 1);
        const MessageField* field = nullptr;
        for (const MessageField& candidate : fields)
            if (candidate.name == name)
                field = &candidate;
        if (field) {
            text += EscapeControls(field->value);
            pos = close + 1;
        } else {
            // Not a field this call fills: kept as written, and its "}" may close no other.
            text += '{';
            pos = open + 1;
        }
    }
    return text;
}

std::string MessageText(std::string_view messageTemplate, std::initializer_list<std::string_view> values)
{
    const std::vector<std::string_view> value(values);
    std::string text;
    size_t pos = 0;
    while (pos < messageTemplate.size()) {
        const size_t token = messageTemplate.find(kTokenStem, pos);
        const size_t digit = token + kTokenStem.size();
        if (token == std::string_view::npos || digit >= messageTemplate.size()) {
            text += messageTemplate.substr(pos);
            break;
        }
        text += messageTemplate.substr(pos, token - pos);
        const size_t index = static_cast<size_t>(messageTemplate[digit] - '1');
        if (index < value.size()) {
            text += EscapeControls(value[index]);
        } else {
            // Not a token this call fills: kept as written.
            text += messageTemplate.substr(token, digit + 1 - token);
        }
        pos = digit + 1;
    }
    return text;
}
