#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Where the elements of a rule file stand in its text, found by reading the markup alone: what an
// editor needs to point at, also while the file is half typed and no XML parser takes it. Comments,
// processing instructions and the document type declaration are passed over; an end tag closes the
// latest open element of its name; what is still open at the text's end ends there.
class CLspRuleMap {
public:
    static constexpr size_t kNone = static_cast<size_t>(-1);

    // A stretch of the text: [start, end) in bytes.
    struct Span {
        size_t start = 0;
        size_t end = 0;
    };

    struct Element {
        std::string name;
        Span whole;     // from "<" to past the end tag, or past "/>"
        Span startTag;  // from "<" to past ">"
        // The value of the attribute 'name', between its quotes; start kNone when there is none.
        Span nameValue{kNone, kNone};
        int parent = -1;
        std::vector<int> children;
        // The character data directly inside, in document order: each CDATA section's content
        // and each run of text that is not white space alone.
        std::vector<Span> texts;
    };

    explicit CLspRuleMap(std::string_view text);

    const std::vector<Element>& Elements() const { return elements_; }
    // The first element that stands at the top; -1 when there is none.
    int Root() const { return elements_.empty() ? -1 : 0; }
    // The innermost element whose whole span holds offset; -1 when none does.
    int ElementAt(size_t offset) const;
    // The value of the element's attribute name, empty when it has none.
    std::string_view NameOf(int element) const;
    std::string_view TextOf(Span span) const { return text_.substr(span.start, span.end - span.start); }

private:
    // Each reads one construct starting at at and returns where reading goes on.
    size_t ReadMarkup(size_t at);
    size_t ReadStartTag(size_t at);
    size_t ReadEndTag(size_t at);
    size_t ReadAttributes(size_t at, Element& element);
    size_t ReadText(size_t at);
    void AddText(Span span);
    size_t Past(size_t at, std::string_view closing) const;
    size_t NameEnd(size_t at) const;

    std::string_view text_;
    std::vector<Element> elements_;
    std::vector<int> open_;
};
