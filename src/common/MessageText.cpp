#include "common/MessageText.h"

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
