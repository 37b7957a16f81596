// The VB6 checker fed arbitrary text, split into pieces at the fuzzer's choice: no crash, no
// stack overflow from deep nesting, and findings that stay inside the pieces they name.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "vbcheck/VBIdentifier.h"
#include "vbcheck/VBModuleCheck.h"

namespace {

// Lines a piece can have: one per line end, plus the last.
int MostLines(const std::string& text)
{
    int lines = 1;
    for (char c : text)
        lines += c == '\n' || c == '\r';
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const int pieceCount = input.ConsumeIntegralInRange(1, 4);
    std::vector<std::string> pieces;
    for (int i = 0; i + 1 < pieceCount; ++i)
        pieces.push_back(input.ConsumeRandomLengthString(size));
    pieces.push_back(input.ConsumeRemainingBytesAsString());

    CVBModuleCheck check;
    for (size_t i = 0; i < pieces.size(); ++i)
        check.AddPiece(static_cast<int>(i) * 7, pieces[i]);
    int lastOrigin = 0;
    for (const VBFinding& finding : check.Finish()) {
        if (finding.origin % 7 != 0 || finding.origin / 7 >= static_cast<int>(pieces.size()) ||
            finding.origin < lastOrigin || finding.message.empty())
            std::abort();
        if (finding.line < 1 || finding.line > MostLines(pieces[finding.origin / 7]))
            std::abort();
        lastOrigin = finding.origin;
    }
    IsVBIdentifier(pieces.back());
    return 0;
}
