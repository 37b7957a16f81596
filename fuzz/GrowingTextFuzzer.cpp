// A growing text filled item by item must read exactly like a plain text filled over its whole
// length each time: random appends and fills, compared after every step with a naive fill.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include <fuzzer/FuzzedDataProvider.h>

#include "common/GrowingText.h"
#include "common/Placeholder.h"

namespace {

// Tokens of the system, a prefix of them, and ones that overlap themselves.
constexpr std::string_view kTokens[] = {"ITEM_00001", "ITEM_00002", "ITEM_00003", "ITEM_0000", "aa", "aba", "x"};

constexpr size_t kMaxTextSize = 1 << 16;

std::string NaiveFill(std::string_view text, std::string_view token, std::string_view value)
{
    std::string result;
    size_t pos = 0;
    while (pos < text.size()) {
        if (!token.empty() && text.substr(pos, token.size()) == token) {
            result += value;
            pos += token.size();
        } else {
            result += text[pos++];
        }
    }
    return result;
}

// Short pieces built from tokens and single characters, so that joins complete tokens.
std::string Piece(FuzzedDataProvider& input)
{
    std::string piece;
    const int parts = input.ConsumeIntegralInRange(0, 4);
    for (int i = 0; i < parts; ++i) {
        if (input.ConsumeBool())
            piece += kTokens[input.ConsumeIntegralInRange<size_t>(0, std::size(kTokens) - 1)];
        else
            piece += input.ConsumeRandomLengthString(6);
    }
    return piece;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    CGrowingText growing;
    std::string plain;
    std::string naive;
    while (input.remaining_bytes() > 0) {
        if (input.ConsumeBool()) {
            const std::string piece = Piece(input);
            growing += piece;
            plain += piece;
            naive += piece;
        } else {
            const std::string_view token = kTokens[input.ConsumeIntegralInRange<size_t>(0, std::size(kTokens) - 1)];
            const std::string value = Piece(input);
            FillPlaceholder(growing, token, value);
            FillPlaceholder(plain, token, value);
            naive = NaiveFill(naive, token, value);
        }
        if (plain != naive || growing.Text() != naive)
            std::abort();
        // A value that carries its own token doubles the text with every fill.
        if (naive.size() > kMaxTextSize)
            break;
    }
    return 0;
}
