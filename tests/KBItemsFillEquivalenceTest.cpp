#include <memory>
#include <string>
#include <vector>

#include "KBItemsFixture.h"
#include "kbitems/KBEvent.h"
#include "kbitems/KBFilter.h"
#include "kbitems/KBMethod.h"
#include "kbitems/KBRule.h"
#include "kbitems/KBSort.h"
#include "TestSupport.h"

namespace {

// The builder's way: one growing text for all items, which remembers where tokens can start.
GeneratedCode GenerateIntoGrowingTexts(const std::vector<CKBItem*>& items)
{
    CGrowingText registerText, handlerText;
    GenerateBranches(items, registerText, handlerText);
    return {registerText.Release(), handlerText.Release(), ""};
}

}  // namespace

class KBItemsFillEquivalenceTest : public KBItemsTest {};

// Names, classes and keys that carry tokens, pieces of tokens and digits, so that later fillings in
// the same text change what earlier items wrote. A plain text starts every call with nothing known
// and so looks for each token over the whole text, as the builder's growing text must behave.
TEST_F(KBItemsFillEquivalenceTest, GrowingTextsGiveWhatPlainTextsGive)
{
    const std::vector<std::string> pieces = {"ITEM_00001", "ITEM_00002", "ITEM_00004",
                                             "ITEM_00006", "ITEM_00008", "ITEM_0000",
                                             "ITEM_000", "1", "0", "Pump", "_"};
    RandomPick pick(7);
    auto name = [&] { return pieces[pick(pieces.size())] + pieces[pick(pieces.size())]; };
    auto names = [&] {
        std::vector<std::string> list(pick(3));
        for (std::string& entry : list)
            entry = name();
        return list;
    };
    const std::string code = "Function F(Obj, A, B)\n F = 1\nEnd Function\n";
    for (int round = 0; round < 40; ++round) {
        std::vector<std::unique_ptr<CKBItem>> kind;
        const size_t which = pick(5);
        for (size_t n = 1 + pick(6); n > 0; --n) {
            if (which == 0)
                kind.push_back(std::make_unique<CKBEvent>(name(), names(), false, code));
            else if (which == 1)
                kind.push_back(std::make_unique<CKBFilter>(name(), name(), name(), code, names()));
            else if (which == 2)
                kind.push_back(std::make_unique<CKBMethod>(name(), name(), name(), code, true,
                                                           false, true, names()));
            else if (which == 3)
                kind.push_back(std::make_unique<CKBRule>(name(), name(), name(), code, false,
                                                         true, false));
            else
                kind.push_back(std::make_unique<CKBSort>(name(), name(), name(), code, names()));
        }
        std::vector<CKBItem*> items;
        for (auto& item : kind)
            items.push_back(item.get());
        const GeneratedCode plain = GenerateKind(items);
        const GeneratedCode growing = GenerateIntoGrowingTexts(items);
        ASSERT_EQ(growing.registerText, plain.registerText) << "round " << round;
        ASSERT_EQ(growing.handlerText, plain.handlerText) << "round " << round;
    }
}
