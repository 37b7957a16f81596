#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// One named value of a message: MessageText puts value where the template says {name}.
struct MessageField {
    std::string_view name;
    std::string_view value;
};

// Texts of the program's own that a person reads: reasons, notes, warnings, written with their
// fields named: "cannot write {path}: {reason}". Unlike generated VB, the template is filled once,
// in one pass, each value inserted as it is: a value that holds a field's name or a token is never
// filled again. Control characters in the values are shown escaped ("\n", "\r", "\t", "\x1b"), so
// a name or path holding a line break cannot forge a line. A {word} that no field names is kept as
// written.
std::string MessageText(std::string_view messageTemplate, std::initializer_list<MessageField> fields);

// text with its control characters escaped as MessageText shows them.
std::string EscapeControls(std::string_view text);
