#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A position as the Language Server Protocol counts it: 0-based line, and UTF-16 code units into
// that line.
struct LspPosition {
    int line = 0;
    int character = 0;
};

// The text of one rule file as the editor holds it, unsaved, with the index of its lines. Lines end
// at a line feed; a carriage return before it belongs to no line's text.
class CLspDocument {
public:
    CLspDocument(std::string text, int version);

    const std::string& Text() const { return text_; }
    int Version() const { return version_; }
    void SetVersion(int version) { version_ = version; }
    void SetText(std::string text);
    // Replaces the text from start to end by replacement; a position past a line's end or the
    // text's end stands for that end. False when end comes before start.
    bool Replace(LspPosition start, LspPosition end, std::string_view replacement);

    int LineCount() const { return static_cast<int>(lineStarts_.size()); }
    // Line index (0-based) without its line end; empty past the last line.
    std::string_view Line(int line) const;
    size_t LineStart(int line) const;
    size_t OffsetOf(LspPosition position) const;
    LspPosition PositionOf(size_t offset) const;
    // The 0-based line on which the byte at offset stands.
    int LineOf(size_t offset) const;

private:
    void IndexLines();

    std::string text_;
    int version_;
    std::vector<size_t> lineStarts_;
};
