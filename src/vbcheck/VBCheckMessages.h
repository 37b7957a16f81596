#pragma once

#include <string_view>

// The compile errors the checker reports, in VB6's own words, so that a finding reads as the IDE
// would show it.
constexpr std::string_view kBlockIfWithoutEndIf = "Block If without End If";
constexpr std::string_view kEndIfWithoutBlockIf = "End If without block If";
constexpr std::string_view kElseWithoutIf = "Else without If";
constexpr std::string_view kForWithoutNext = "For without Next";
constexpr std::string_view kNextWithoutFor = "Next without For";
constexpr std::string_view kInvalidNextVariable = "Invalid Next control variable reference";
constexpr std::string_view kDoWithoutLoop = "Do without Loop";
constexpr std::string_view kLoopWithoutDo = "Loop without Do";
constexpr std::string_view kWhileWithoutWend = "While without Wend";
constexpr std::string_view kWendWithoutWhile = "Wend without While";
constexpr std::string_view kSelectWithoutEndSelect = "Select Case without End Select";
constexpr std::string_view kEndSelectWithoutSelect = "End Select without Select Case";
constexpr std::string_view kCaseWithoutSelect = "Case without Select Case";
constexpr std::string_view kExpectedEndWith = "Expected End With";
constexpr std::string_view kEndWithWithoutWith = "End With without With";
constexpr std::string_view kExpectedEndSub = "Expected End Sub";
constexpr std::string_view kExpectedEndFunction = "Expected End Function";
constexpr std::string_view kExpectedEndProperty = "Expected End Property";
constexpr std::string_view kExpectedThenOrGoTo = "Expected: Then or GoTo";
constexpr std::string_view kExpectedEndOfStatement = "Expected: end of statement";
constexpr std::string_view kExpectedExpression = "Expected: expression";
constexpr std::string_view kExpectedListSeparator = "Expected: list separator or )";
constexpr std::string_view kExpectedIdentifier = "Expected: identifier";
constexpr std::string_view kInvalidInsideProcedure = "Invalid inside procedure";
constexpr std::string_view kInvalidOutsideProcedure = "Invalid outside procedure";
constexpr std::string_view kMustBeFirstStatement = "Must be first statement on the line";
constexpr std::string_view kOnlyCommentsAfterEnd =
    "Only comments may appear after End Sub, End Function, or End Property";
constexpr std::string_view kInvalidInsideType = "Statement invalid inside Type block";
constexpr std::string_view kUnterminatedHashIf = "You must terminate the If block with an End If";
constexpr std::string_view kTooManyContinuations = "Too many line continuations";
constexpr std::string_view kLineTooLong = "Line too long";
constexpr std::string_view kIdentifierTooLong = "Identifier too long";
constexpr std::string_view kLabelNotDefined = "Label not defined";
// {name}: the name as the second declaration spells it.
constexpr std::string_view kAmbiguousName = "Ambiguous name detected: {name}";
constexpr std::string_view kDuplicateDeclaration = "Duplicate declaration in current scope";
