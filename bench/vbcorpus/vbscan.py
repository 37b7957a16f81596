"""A small reader of VB6 modules for the fault seeder: logical lines, statements, procedures and the
blocks inside them. It only needs to be right on code VB6 accepts, and it gives up (marks a procedure
as not to be seeded) wherever the block structure could be read two ways."""
import re
from dataclasses import dataclass, field

_CONTINUED = re.compile(r"[ \t]_[ \t]*$")
_LINE_NUMBER = re.compile(r"^(\d+)(?:\s+|$)")
_LABEL = re.compile(r"^([A-Za-z][A-Za-z0-9_]*):(?!=)")
_KEYWORDS_NOT_LABELS = {"else", "end", "rem", "next", "loop", "wend", "do", "exit"}
_PROC = re.compile(r"^(?:(Public|Private|Friend|Global)\s+)?(?:Static\s+)?"
                   r"(Sub|Function|Property\s+Get|Property\s+Let|Property\s+Set)\s+([A-Za-z]\w*)", re.I)
_END_PROC = re.compile(r"^End\s+(Sub|Function|Property)\b", re.I)


@dataclass
class Statement:
    first: int          # first physical line (0-based)
    last: int           # last physical line of its logical line
    text: str           # strings emptied, comment dropped, label and line number cut off
    kind: str
    sole: bool          # the only statement of its logical line
    stack: tuple = ()   # kinds of the blocks open before it (inside a procedure)


@dataclass
class Block:
    kind: str
    open_line: int
    close_line: int
    parent: str         # kind of the enclosing block, "proc" at the procedure's top level
    else_lines: list = field(default_factory=list)
    var: str = ""
    open_last: int = -1


@dataclass
class Procedure:
    kind: str           # sub, function, get, let, set
    name: str
    header: int         # first physical line of the header
    header_last: int
    end: int            # the End Sub/Function/Property line
    params: list
    statements: list
    blocks: list
    gaps: list          # (line, stack): a line may be inserted before `line` with `stack` open
    seedable: bool
    in_hash_if: bool = False


@dataclass
class Module:
    lines: list         # physical lines, each with its line break
    code_start: int
    statements: list
    procedures: list
    decl_end: int       # first physical line of the first procedure (or len(lines))
    types: list         # (open, close) physical lines of Type blocks
    enums: list


def _strip_strings_and_comment(text):
    out, in_string = [], False
    for ch in text:
        if ch == '"':
            in_string = not in_string
            out.append(ch)
        elif in_string:
            out.append("x")
        elif ch == "'":
            break
        else:
            out.append(ch)
    return "".join(out)


def _code_start(lines):
    for i, line in enumerate(lines):
        if line.lower().startswith("attribute vb_name"):
            j = i
            while j < len(lines) and lines[j].lower().startswith("attribute "):
                j += 1
            return j
    return 0


def _classify(s):
    w = s.lower()
    if _PROC.match(s):
        return "proc"
    if re.match(r"if\b", w):
        return "if_block" if re.search(r"\bthen\s*$", w) else "if_line"
    for pattern, kind in ((r"elseif\b", "elseif"), (r"else\b", "else"), (r"(end\s+if|endif)\b", "end_if"),
                          (r"for\s+each\b", "for_each"), (r"for\b", "for"), (r"next\b", "next"),
                          (r"do\b", "do"), (r"loop\b", "loop"), (r"while\b", "while"), (r"wend\b", "wend"),
                          (r"select\s+case\b", "select"), (r"case\b", "case"),
                          (r"end\s+select\b", "end_select"), (r"with\b", "with"),
                          (r"end\s+with\b", "end_with"), (r"#", "directive"),
                          (r"(public\s+|private\s+)?type\b", "type"), (r"end\s+type\b", "end_type"),
                          (r"(public\s+|private\s+)?enum\b", "enum"), (r"end\s+enum\b", "end_enum"),
                          (r"(dim|static)\b", "dim"), (r"exit\b", "exit"), (r"attribute\b", "attribute"),
                          (r"(public|private|global)?\s*declare\b", "declare"), (r"option\b", "option")):
        if re.match(pattern, w):
            return kind
    if _END_PROC.match(s):
        return "end_proc"
    return "other"


def _statements(lines, start):
    result = []
    i = start
    while i < len(lines):
        first = i
        parts = [lines[i].rstrip("\r\n")]
        while _CONTINUED.search(parts[-1]) and i + 1 < len(lines):
            parts[-1] = _CONTINUED.sub(" ", parts[-1])
            i += 1
            parts.append(lines[i].rstrip("\r\n"))
        last = i
        i += 1
        text = _strip_strings_and_comment(" ".join(parts)).strip()
        m = _LINE_NUMBER.match(text)
        if m:
            text = text[m.end():]
        m = _LABEL.match(text)
        if m and m.group(1).lower() not in _KEYWORDS_NOT_LABELS:
            text = text[m.end():]
        pieces = [p.strip() for p in re.split(r":(?!=)", text)]
        pieces = [p for p in pieces if p]
        kept = []
        for p in pieces:
            if re.match(r"rem\b", p, re.I):
                break
            kept.append(p)
        for p in kept:
            result.append(Statement(first, last, p, _classify(p), len(kept) == 1))
    return result


_OPENERS = {"if_block": "end_if", "for": "next", "for_each": "next", "do": "loop", "while": "wend",
            "select": "end_select", "with": "end_with"}
_BLOCK_WORDS = set(_OPENERS) | set(_OPENERS.values()) | {"else", "elseif", "case", "directive"}


_INTRINSIC = {"long", "integer", "string", "double", "single", "byte", "boolean", "variant", "currency", "date"}


def _params(header_text):
    """The parameter names; None for a parameter whose argument count or type is not plain (Optional,
    ParamArray, an array, a type other than VB's own); None for the whole list when it cannot be read."""
    start = header_text.find("(")
    if start < 0:
        return []
    depth, end = 0, -1
    for i in range(start, len(header_text)):
        if header_text[i] == "(":
            depth += 1
        elif header_text[i] == ")":
            depth -= 1
            if depth == 0:
                end = i
                break
    if end < 0:
        return None
    inner = header_text[start + 1:end].strip()
    if not inner:
        return []
    names = []
    for p in inner.split(","):
        words = [w for w in p.split() if w.lower() not in ("byval", "byref")]
        if not words:
            return None
        typed = re.search(r"\bAs\s+(\w+)", p, re.I)
        plain = not re.match(r"(optional|paramarray)\b", words[0], re.I) and "(" not in p and "=" not in p \
            and (typed is None or typed.group(1).lower() in _INTRINSIC)
        names.append(re.sub(r"[%&!#@$]$", "", words[0]) if plain else None)
    return names


def _procedure(lines, stmts, header_stmt, end_stmt, body):
    m = _PROC.match(header_stmt.text)
    kind = m.group(2).lower().replace("property ", "")
    proc = Procedure(kind, m.group(3), header_stmt.first, header_stmt.last, end_stmt.first,
                     _params(header_stmt.text), body, [], [], True)
    stack, open_blocks = [], []
    gaps = [(header_stmt.last + 1, ())]
    for s in body:
        s.stack = tuple(b.kind for b in open_blocks)
        if s.kind in _BLOCK_WORDS and (not s.sole or s.kind == "directive"):
            proc.seedable = False
        if s.kind in ("else",) and s.text.lower() != "else":
            proc.seedable = False
        if s.kind in _OPENERS:
            var = ""
            if s.kind == "for":
                mv = re.match(r"for\s+([A-Za-z]\w*)\s*=", s.text, re.I)
                var = mv.group(1) if mv else ""
            open_blocks.append(Block(s.kind, s.first, -1, open_blocks[-1].kind if open_blocks else "proc",
                                     var=var, open_last=s.last))
        elif s.kind in ("else", "elseif"):
            if not open_blocks or open_blocks[-1].kind != "if_block":
                proc.seedable = False
                break
            open_blocks[-1].else_lines.append((s.kind, s.first))
        elif s.kind in set(_OPENERS.values()):
            count = 1
            if s.kind == "next":
                rest = s.text[4:].strip()
                count = max(1, len([v for v in rest.split(",") if v.strip()]))
                if count > 1:
                    proc.seedable = False
            for _ in range(count):
                if not open_blocks or _OPENERS[open_blocks[-1].kind] != s.kind:
                    proc.seedable = False
                    break
                b = open_blocks.pop()
                b.close_line = s.first
                proc.blocks.append(b)
        # Nothing but a Case may follow a Select Case.
        if (s.sole or s is body[-1]) and s.kind != "select":
            gaps.append((s.last + 1, tuple(b.kind for b in open_blocks)))
    if open_blocks:
        proc.seedable = False
    # A gap must start a logical line that is not itself continued into from above.
    proc.gaps = [(g, st) for g, st in gaps if g <= end_stmt.first]
    return proc


def read_module(data):
    text = data.decode("latin-1")
    # Only LF ends a line: str.splitlines would also split at 0x85 and 0x0B..0x1E, which are lead
    # bytes of double-byte code pages read here as Latin-1.
    lines = re.findall(r"[^\n]*\n|[^\n]+$", text)
    start = _code_start(lines)
    stmts = _statements(lines, start)
    procs, types, enums = [], [], []
    decl_end = len(lines)
    depth = 0  # of #If at module level: what lies inside may not be compiled at all
    i = 0
    while i < len(stmts):
        s = stmts[i]
        if s.kind == "directive":
            if re.match(r"#if\b", s.text, re.I):
                depth += 1
            elif re.match(r"#end\s*if\b", s.text, re.I):
                depth -= 1
        if s.kind == "proc":
            decl_end = min(decl_end, s.first)
            j = i + 1
            while j < len(stmts) and stmts[j].kind not in ("end_proc", "proc"):
                j += 1
            if j < len(stmts) and stmts[j].kind == "end_proc":
                proc = _procedure(lines, stmts, s, stmts[j], stmts[i + 1:j])
                proc.in_hash_if = depth > 0
                proc.seedable = proc.seedable and depth == 0
                procs.append(proc)
                i = j + 1
                continue
        elif s.kind in ("type", "enum") and s.sole:
            j = i + 1
            end = "end_" + s.kind
            while j < len(stmts) and stmts[j].kind != end:
                j += 1
            if j < len(stmts) and depth == 0:
                (types if s.kind == "type" else enums).append((s.first, stmts[j].first))
                i = j + 1
                continue
        i += 1
    return Module(lines, start, stmts, procs, decl_end, types, enums)
