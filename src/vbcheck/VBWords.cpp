#include "vbcheck/VBWords.h"

#include <iterator>

namespace {

enum Trait : unsigned char { R = 1, E = 2 };  // reserved, ends an operand

struct Row {
    std::string_view text;  // lower case
    VBWord word;
    unsigned char traits;
    VBStatementKind statement;
    VBOperator op;
};

using S = VBStatementKind;
using O = VBOperator;
// In the order of VBWord, so that a word's row is found by its number.
constexpr Row kWords[] = {
    {"addressof", VBWord::AddressOf, 0, S::None, O::None},
    {"and", VBWord::And, R | E, S::None, O::And},
    {"as", VBWord::As, R | E, S::None, O::None},
    {"attribute", VBWord::Attribute, 0, S::Attribute, O::None},
    {"base", VBWord::Base, 0, S::None, O::None},
    {"binary", VBWord::Binary, 0, S::None, O::None},
    {"boolean", VBWord::Boolean, R, S::None, O::None},
    {"byref", VBWord::ByRef, R | E, S::None, O::None},
    {"byte", VBWord::Byte, R, S::None, O::None},
    {"byval", VBWord::ByVal, R, S::None, O::None},
    {"call", VBWord::Call, R, S::Call, O::None},
    {"case", VBWord::Case, R | E, S::Case, O::None},
    {"cbool", VBWord::CBool, R, S::None, O::None},
    {"cbyte", VBWord::CByte, R, S::None, O::None},
    {"ccur", VBWord::CCur, R, S::None, O::None},
    {"cdate", VBWord::CDate, R, S::None, O::None},
    {"cdbl", VBWord::CDbl, R, S::None, O::None},
    {"cdec", VBWord::CDec, R, S::None, O::None},
    {"cint", VBWord::CInt, R, S::None, O::None},
    {"circle", VBWord::Circle, 0, S::OwnForm, O::None},
    {"clng", VBWord::CLng, R, S::None, O::None},
    {"close", VBWord::Close, R, S::OwnForm, O::None},
    {"compare", VBWord::Compare, 0, S::None, O::None},
    {"const", VBWord::Const, R | E, S::Const, O::None},
    {"csng", VBWord::CSng, R, S::None, O::None},
    {"cstr", VBWord::CStr, R, S::None, O::None},
    {"currency", VBWord::Currency, R, S::None, O::None},
    {"cvar", VBWord::CVar, R, S::None, O::None},
    {"cverr", VBWord::CVErr, R, S::None, O::None},
    {"date", VBWord::Date, R, S::None, O::None},
    {"debug", VBWord::Debug, R, S::None, O::None},
    {"declare", VBWord::Declare, R | E, S::Declare, O::None},
    {"defbool", VBWord::DefBool, R, S::DefType, O::None},
    {"defbyte", VBWord::DefByte, R, S::DefType, O::None},
    {"defcur", VBWord::DefCur, R, S::DefType, O::None},
    {"defdate", VBWord::DefDate, R, S::DefType, O::None},
    {"defdbl", VBWord::DefDbl, R, S::DefType, O::None},
    {"defdec", VBWord::DefDec, R, S::DefType, O::None},
    {"defint", VBWord::DefInt, R, S::DefType, O::None},
    {"deflng", VBWord::DefLng, R, S::DefType, O::None},
    {"defobj", VBWord::DefObj, R, S::DefType, O::None},
    {"defsng", VBWord::DefSng, R, S::DefType, O::None},
    {"defstr", VBWord::DefStr, R, S::DefType, O::None},
    {"defvar", VBWord::DefVar, R, S::DefType, O::None},
    {"dim", VBWord::Dim, R | E, S::Dim, O::None},
    {"do", VBWord::Do, R | E, S::Do, O::None},
    {"double", VBWord::Double, R, S::None, O::None},
    {"each", VBWord::Each, R | E, S::None, O::None},
    {"else", VBWord::Else, R | E, S::Else, O::None},
    {"elseif", VBWord::ElseIf, R | E, S::ElseIf, O::None},
    {"empty", VBWord::Empty, R, S::None, O::None},
    {"end", VBWord::End, R | E, S::End, O::None},
    {"endif", VBWord::EndIf, 0, S::None, O::None},
    {"enum", VBWord::Enum, R, S::Enum, O::None},
    {"eqv", VBWord::Eqv, R | E, S::None, O::Eqv},
    {"erase", VBWord::Erase, R, S::Erase, O::None},
    {"error", VBWord::Error, R, S::None, O::None},
    {"event", VBWord::Event, R, S::Event, O::None},
    {"exit", VBWord::Exit, R | E, S::Exit, O::None},
    {"explicit", VBWord::Explicit, 0, S::None, O::None},
    {"false", VBWord::False, R, S::None, O::None},
    {"for", VBWord::For, R | E, S::For, O::None},
    {"friend", VBWord::Friend, R, S::Friend, O::None},
    {"function", VBWord::Function, R | E, S::Function, O::None},
    {"get", VBWord::Get, R, S::OwnForm, O::None},
    {"global", VBWord::Global, R, S::Global, O::None},
    {"gosub", VBWord::GoSub, R | E, S::GoSub, O::None},
    {"goto", VBWord::GoTo, R | E, S::GoTo, O::None},
    {"if", VBWord::If, R | E, S::If, O::None},
    {"imp", VBWord::Imp, R | E, S::None, O::Imp},
    {"implements", VBWord::Implements, R, S::Implements, O::None},
    {"in", VBWord::In, R | E, S::None, O::None},
    {"input", VBWord::Input, R, S::OwnForm, O::None},
    {"integer", VBWord::Integer, R, S::None, O::None},
    {"is", VBWord::Is, R | E, S::None, O::Is},
    {"len", VBWord::Len, R, S::None, O::None},
    {"let", VBWord::Let, R, S::Let, O::None},
    {"like", VBWord::Like, R | E, S::None, O::Like},
    {"line", VBWord::Line, 0, S::OwnForm, O::None},
    {"local", VBWord::Local, 0, S::None, O::None},
    {"lock", VBWord::Lock, R, S::OwnForm, O::None},
    {"long", VBWord::Long, R, S::None, O::None},
    {"loop", VBWord::Loop, R | E, S::Loop, O::None},
    {"lset", VBWord::LSet, R, S::OwnForm, O::None},
    {"me", VBWord::Me, R, S::None, O::None},
    {"mod", VBWord::Mod, R | E, S::None, O::Modulo},
    {"module", VBWord::Module, 0, S::None, O::None},
    {"name", VBWord::Name, 0, S::OwnForm, O::None},
    {"new", VBWord::New, R, S::None, O::None},
    {"next", VBWord::Next, R | E, S::Next, O::None},
    {"not", VBWord::Not, R, S::None, O::Not},
    {"nothing", VBWord::Nothing, R, S::None, O::None},
    {"null", VBWord::Null, R, S::None, O::None},
    {"object", VBWord::Object, R, S::None, O::None},
    {"on", VBWord::On, R, S::On, O::None},
    {"open", VBWord::Open, R, S::OwnForm, O::None},
    {"option", VBWord::Option, R, S::Option, O::None},
    {"optional", VBWord::Optional, R, S::None, O::None},
    {"or", VBWord::Or, R | E, S::None, O::Or},
    {"paramarray", VBWord::ParamArray, R, S::None, O::None},
    {"preserve", VBWord::Preserve, R, S::None, O::None},
    {"print", VBWord::Print, R, S::OwnForm, O::None},
    {"private", VBWord::Private, R, S::Private, O::None},
    {"property", VBWord::Property, 0, S::Property, O::None},
    {"pset", VBWord::PSet, 0, S::OwnForm, O::None},
    {"ptrsafe", VBWord::PtrSafe, 0, S::None, O::None},
    {"public", VBWord::Public, R, S::Public, O::None},
    {"put", VBWord::Put, R, S::OwnForm, O::None},
    {"raiseevent", VBWord::RaiseEvent, R, S::RaiseEvent, O::None},
    {"redim", VBWord::ReDim, R | E, S::ReDim, O::None},
    {"rem", VBWord::Rem, R, S::None, O::None},
    {"resume", VBWord::Resume, R, S::Resume, O::None},
    {"return", VBWord::Return, R, S::Return, O::None},
    {"rset", VBWord::RSet, R, S::OwnForm, O::None},
    {"scale", VBWord::Scale, 0, S::OwnForm, O::None},
    {"seek", VBWord::Seek, R, S::OwnForm, O::None},
    {"select", VBWord::Select, R | E, S::Select, O::None},
    {"set", VBWord::Set, R, S::Set, O::None},
    {"single", VBWord::Single, R, S::None, O::None},
    {"static", VBWord::Static, R, S::Static, O::None},
    {"step", VBWord::Step, R, S::None, O::None},
    {"stop", VBWord::Stop, R, S::None, O::None},
    {"string", VBWord::String, R, S::None, O::None},
    {"sub", VBWord::Sub, R | E, S::Sub, O::None},
    {"text", VBWord::Text, 0, S::None, O::None},
    {"then", VBWord::Then, R | E, S::None, O::None},
    {"to", VBWord::To, R | E, S::None, O::None},
    {"true", VBWord::True, R, S::None, O::None},
    {"type", VBWord::Type, R, S::Type, O::None},
    {"typeof", VBWord::TypeOf, R, S::None, O::None},
    {"unlock", VBWord::Unlock, R, S::OwnForm, O::None},
    {"until", VBWord::Until, R | E, S::None, O::None},
    {"variant", VBWord::Variant, R, S::None, O::None},
    {"wend", VBWord::Wend, R | E, S::Wend, O::None},
    {"while", VBWord::While, R | E, S::While, O::None},
    {"width", VBWord::Width, 0, S::OwnForm, O::None},
    {"with", VBWord::With, R | E, S::With, O::None},
    {"withevents", VBWord::WithEvents, R, S::None, O::None},
    {"write", VBWord::Write, R, S::OwnForm, O::None},
    {"xor", VBWord::Xor, R | E, S::None, O::Xor},};
constexpr size_t kWordCount = std::size(kWords);

constexpr bool InWordOrder()
{
    for (size_t i = 0; i < kWordCount; ++i) {
        if (static_cast<size_t>(kWords[i].word) != i + 1)
            return false;
    }
    return true;
}
static_assert(InWordOrder());

constexpr size_t kShortestWord = 2;
constexpr size_t kLongestWord = 10;
constexpr size_t kSlotCount = 512;

// From the length and three letters: no need to read a whole name to turn it away.
constexpr size_t SlotOf(std::string_view text)
{
    const auto letter = [&](size_t i) { return static_cast<size_t>(static_cast<unsigned char>(text[i]) | 0x20); };
    return (text.size() * 97 + letter(0) * 31 + letter(1) * 7 + letter(text.size() - 1)) & (kSlotCount - 1);
}

// Each slot holds a row's index plus one, 0 when free; a word stands at the first free slot from
// its own.
constexpr std::array<unsigned char, kSlotCount> Slots()
{
    std::array<unsigned char, kSlotCount> slots{};
    for (size_t i = 0; i < kWordCount; ++i) {
        size_t slot = SlotOf(kWords[i].text);
        while (slots[slot] != 0)
            slot = (slot + 1) & (kSlotCount - 1);
        slots[slot] = static_cast<unsigned char>(i + 1);
    }
    return slots;
}
constexpr std::array<unsigned char, kSlotCount> kSlots = Slots();

// Whether text is lower, a word of ASCII lower-case letters, in any case: setting the 0x20 bit
// lowers a capital and turns no other byte into a lower-case letter.
bool IsLowerCaseOf(std::string_view lower, std::string_view text)
{
    if (text.size() != lower.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((text[i] | 0x20) != lower[i])
            return false;
    }
    return true;
}

const Row* RowOf(VBWord word)
{
    return word == VBWord::None ? nullptr : &kWords[static_cast<size_t>(word) - 1];
}

}  // namespace

VBWord WordOf(std::string_view text)
{
    if (text.size() < kShortestWord || text.size() > kLongestWord)
        return VBWord::None;
    for (size_t slot = SlotOf(text);; slot = (slot + 1) & (kSlotCount - 1)) {
        const unsigned char index = kSlots[slot];
        if (index == 0)
            return VBWord::None;
        if (IsLowerCaseOf(kWords[index - 1].text, text))
            return kWords[index - 1].word;
    }
}

bool IsReserved(VBWord word)
{
    const Row* row = RowOf(word);
    return row && (row->traits & R);
}

bool EndsOperand(VBWord word)
{
    const Row* row = RowOf(word);
    return row && (row->traits & E);
}

VBStatementKind StatementKindOf(VBWord word)
{
    const Row* row = RowOf(word);
    return row ? row->statement : S::None;
}

VBOperator OperatorOf(VBWord word)
{
    const Row* row = RowOf(word);
    return row ? row->op : O::None;
}
