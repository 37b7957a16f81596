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
constexpr std::string_view kForVariableInUse = "For control variable already in use";
constexpr std::string_view kDoWithoutLoop = "Do without Loop";
constexpr std::string_view kLoopWithoutDo = "Loop without Do";
constexpr std::string_view kWhileWithoutWend = "While without Wend";
constexpr std::string_view kWendWithoutWhile = "Wend without While";
constexpr std::string_view kSelectWithoutEndSelect = "Select Case without End Select";
constexpr std::string_view kEndSelectWithoutSelect = "End Select without Select Case";
constexpr std::string_view kCaseWithoutSelect = "Case without Select Case";
constexpr std::string_view kStatementsBeforeFirstCase = "Statements or labels invalid between Select Case and first Case";
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
constexpr std::string_view kInvalidAttributeInProcedure = "Invalid attribute in Sub, Function, or Property";
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
// A line a build cannot parse inside or after the procedures, {detail} the "Expected: ..." text that
// VB6 shows while the line is typed, in lower case.
constexpr std::string_view kSyntaxError = "Syntax error ({detail})";
constexpr std::string_view kExpectedPrefix = "Expected:";
// Their words come only inside procedures, where the build says "Syntax error".
constexpr std::string_view kExpectedTo = "Expected: To";
constexpr std::string_view kExpectedEquals = "Expected: =";
constexpr std::string_view kExpectedIn = "Expected: In";
constexpr std::string_view kExpectedCase = "Expected: Case";
constexpr std::string_view kExpectedThen = "Expected: Then";
constexpr std::string_view kExpectedExitWord = "Expected: Do or For or Sub or Function or Property";
constexpr std::string_view kExitDoOutsideDo = "Exit Do not within Do...Loop";
constexpr std::string_view kExitForOutsideFor = "Exit For not within For...Next";
constexpr std::string_view kExitSubNotAllowed = "Exit Sub not allowed in Function or Property";
constexpr std::string_view kExitFunctionNotAllowed = "Exit Function not allowed in Sub or Property";
constexpr std::string_view kExitPropertyNotAllowed = "Exit Property not allowed in Function or Sub";
constexpr std::string_view kExpectedOptionWord = "Expected: Base or Compare or Explicit or Private";
constexpr std::string_view kExpectedZeroOrOne = "Expected: 0 or 1";
constexpr std::string_view kExpectedTextOrBinary = "Expected: Text or Binary";
constexpr std::string_view kExpectedModule = "Expected: Module";
constexpr std::string_view kDuplicateOption = "Duplicate Option statement";
constexpr std::string_view kExpectedDirective = "Expected: If or Else or ElseIf or End or EndIf or Const";
constexpr std::string_view kDuplicateDefinition = "Duplicate definition";
constexpr std::string_view kInvalidUseOfMe = "Invalid use of Me keyword";
constexpr std::string_view kInvalidOrUnqualifiedReference = "Invalid or unqualified reference";
constexpr std::string_view kNoPrintMethod = "Current module does not support Print method";
constexpr std::string_view kOnlyInObjectModule = "Only valid in object module";
constexpr std::string_view kOptionPrivateInObjectModule = "Option Private Module not permitted in object module";
constexpr std::string_view kNotPublicInObjectModule =
    "Constants, fixed-length strings, arrays, user-defined types, and Declare statements not allowed as Public "
    "members of an object module";
constexpr std::string_view kTypeWithoutMembers = "User-defined type without members not allowed";
constexpr std::string_view kInvalidEventName = "Invalid event name";
constexpr std::string_view kArgumentRequiredForLetOrSet = "Argument required for Property Let or Property Set";
constexpr std::string_view kArrayArgumentByRef = "Array argument must be ByRef";
constexpr std::string_view kInvalidFixedLength = "Invalid length for fixed-length string";
constexpr std::string_view kExpectedNext = "Expected: Next";
constexpr std::string_view kInvalidOutsideType = "Statement invalid outside Type block";
constexpr std::string_view kInvalidOutsideEnum = "Invalid outside Enum";
constexpr std::string_view kInvalidInsideEnum = "Invalid inside Enum";
constexpr std::string_view kWrongArgumentCount = "Wrong number of arguments or invalid property assignment";
constexpr std::string_view kArgumentNotOptional = "Argument not optional";
// Declarations and the uses of what they declare.
constexpr std::string_view kRangeHasNoValues = "Range has no values";
constexpr std::string_view kOverflow = "Overflow";
constexpr std::string_view kDivisionByZero = "Division by zero";
constexpr std::string_view kInvalidUseOfNew = "Invalid use of New keyword";
constexpr std::string_view kParamArrayNotVariant = "ParamArray must be declared as an array of Variant";
constexpr std::string_view kArrayAlreadyDimensioned = "Array already dimensioned";
constexpr std::string_view kSuffixMismatch = "Type-declaration character does not match declared data type";
constexpr std::string_view kAssignmentToConstant = "Assignment to constant not permitted";
constexpr std::string_view kInvalidAccessMode = "Invalid Access mode";
constexpr std::string_view kExpectedArray = "Expected array";
constexpr std::string_view kWrongNumberOfDimensions = "Wrong number of dimensions";
constexpr std::string_view kInvalidQualifier = "Invalid qualifier";
constexpr std::string_view kWithObjectScalar = "With object must be user-defined type, Object, or Variant";
constexpr std::string_view kForEachVariable = "For Each control variable must be Variant or Object";
constexpr std::string_view kObjectRequired = "Object required";
constexpr std::string_view kInvalidUseOfObject = "Invalid use of object";
constexpr std::string_view kExpectedProcedureNotVariable = "Expected procedure, not variable";
constexpr std::string_view kInvalidUseOfAddressOf = "Invalid use of AddressOf operator";
constexpr std::string_view kExpectedFunctionOrVariable = "Expected Function or variable";
constexpr std::string_view kDeftypeAfterDeclaration = "Deftype statements must precede declarations";
constexpr std::string_view kDuplicateDeftype = "Duplicate Deftype statement";
// An #Else or #End If with no #If open.
constexpr std::string_view kHashElseWithoutIf = "#Else clause must be preceded by a matching #If";
constexpr std::string_view kHashEndIfWithoutIf = "#Else If, #Else, or #End If must be preceded by a matching #If";
