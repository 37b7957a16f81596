"""The kinds of fault the seeder puts into real VB6 modules. Each kind changes one procedure (or the
declarations section) of a module VB6 accepts, in a way VB6 certainly refuses, and says which message
and where the checker should report it.

A mutator takes (module, path, rng) and returns a Fault or None when the module offers no place for it."""
import random
import re
from dataclasses import dataclass

from vbscan import Module

# A procedure body line that does not parse: on a build VB6 says "Syntax error"; while typing, the
# specific "Expected: ..." text. Either is the right message.
SYNTAX = ("Syntax error", "Expected:")


@dataclass
class Fault:
    lines: list
    first: int          # region where the finding belongs, 1-based, inclusive
    last: int
    line: int           # the line VB6 would point at, 1-based (for the record)
    expected: tuple     # any of these (case-blind substrings) is the right message


KINDS = {}


def kind(name, *expected):
    def register(fn):
        KINDS[name] = (fn, tuple(expected))
        return fn
    return register


def _eol(lines):
    return "\r\n" if lines and lines[0].endswith("\r\n") else "\n"


def _indent(line):
    return line[: len(line) - len(line.lstrip(" \t"))]


def _procs(mod, pred=lambda p: True):
    return [p for p in mod.procedures if p.seedable and pred(p)]


def _pick(rng, items):
    return rng.choice(items) if items else None


def _insert(mod, proc, at, new, expected, line_offset=0, rng=None):
    """Inserts the lines `new` before physical line `at` (0-based) of the procedure `proc`."""
    eol = _eol(mod.lines)
    ind = _indent(mod.lines[at]) if at < len(mod.lines) else ""
    lines = mod.lines[:at] + [ind + t + eol for t in new] + mod.lines[at:]
    first, last = (proc.header + 1, proc.end + len(new) + 1) if proc else (at + 1, at + len(new))
    return Fault(lines, first, last, at + 1 + line_offset, expected)


def _replace(mod, proc, at, text, expected):
    eol = _eol(mod.lines)
    lines = list(mod.lines)
    lines[at] = text + eol
    return Fault(lines, proc.header + 1, proc.end + 1, at + 1, expected)


def _delete(mod, proc, at, expected, point=None):
    lines = mod.lines[:at] + mod.lines[at + 1:]
    return Fault(lines, proc.header + 1, proc.end, (point if point is not None else at) + 1, expected)


def _gap(rng, proc, ok=lambda stack: True):
    gaps = [g for g, st in proc.gaps if ok(st)]
    return _pick(rng, gaps)


def _insert_in_proc(mod, rng, new, expected, pred=lambda p: True, ok=lambda st: True):
    procs = _procs(mod, pred)
    rng.shuffle(procs)
    for proc in procs[:5]:
        at = _gap(rng, proc, ok)
        if at is not None:
            return _insert(mod, proc, at, new, expected)
    return None


def _is_single(mod, line):
    """A physical line that is a whole logical line without a trailing comment."""
    text = mod.lines[line].rstrip("\r\n")
    return not text.rstrip().endswith("_") and "'" not in text and (line == 0 or not mod.lines[line - 1].rstrip().endswith(" _"))


def _block(mod, rng, kinds, parent=None, pred=lambda b: True):
    found = []
    for proc in _procs(mod):
        for b in proc.blocks:
            if b.kind in kinds and (parent is None or b.parent in parent) and pred(b):
                found.append((proc, b))
    return _pick(rng, found)


# --- blocks left open ----------------------------------------------------------------------------

_CLOSE_MESSAGE = {"if_block": "Block If without End If", "for": "For without Next", "for_each": "For without Next",
                  "do": "Do without Loop", "while": "While without Wend",
                  "select": "Select Case without End Select", "with": "Expected End With"}
_CLOSER_SEEN = {"for": "Next without For", "for_each": "Next without For", "do": "Loop without Do",
                "while": "Wend without While", "select": "End Select without Select Case",
                "with": "End With without With", "if_block": "End If without block If"}


def _unclosed(block_kind):
    def mutate(mod, path, rng):
        hit = _block(mod, rng, (block_kind,), parent=("proc",))
        if not hit:
            return None
        proc, b = hit
        return _delete(mod, proc, b.close_line, (_CLOSE_MESSAGE[block_kind],), point=b.open_line)
    return mutate


for _k, _name in (("if_block", "if-without-end-if"), ("for", "for-without-next"), ("do", "do-without-loop"),
                  ("while", "while-without-wend"), ("select", "select-without-end-select"),
                  ("with", "with-without-end-with")):
    kind(_name, _CLOSE_MESSAGE[_k])(_unclosed(_k))


@kind("end-if-dropped-inside-loop", "Next without For", "Loop without Do", "Wend without While")
def _end_if_in_loop(mod, path, rng):
    hit = _block(mod, rng, ("if_block",), parent=("for", "for_each", "do", "while"))
    if not hit:
        return None
    proc, b = hit
    msg = _CLOSER_SEEN[b.parent]
    f = _delete(mod, proc, b.close_line, (msg,))
    return f


# --- closers and middles with nothing open ---------------------------------------------------------

def _stray(text):
    def mutate(mod, path, rng):
        return _insert_in_proc(mod, rng, [text], None, ok=lambda st: st == ())
    return mutate


for _text, _name, _msg in (("End If", "stray-end-if", "End If without block If"),
                           ("Next", "stray-next", "Next without For"),
                           ("Loop", "stray-loop", "Loop without Do"),
                           ("Wend", "stray-wend", "Wend without While"),
                           ("End Select", "stray-end-select", "End Select without Select Case"),
                           ("End With", "stray-end-with", "End With without With"),
                           ("Else", "stray-else", "Else without If"),
                           ("Case 1", "stray-case", "Case without Select Case")):
    def _make(text=_text, msg=_msg):
        def mutate(mod, path, rng):
            f = _stray(text)(mod, path, rng)
            if f:
                f.expected = (msg,)
            return f
        return mutate
    kind(_name, _msg)(_make())


@kind("second-else", "Else without If")
def _second_else(mod, path, rng):
    hit = _block(mod, rng, ("if_block",), pred=lambda b: any(k == "else" for k, _ in b.else_lines))
    if not hit:
        return None
    proc, b = hit
    return _insert(mod, proc, b.close_line, ["Else"], ("Else without If",))


@kind("elseif-after-else", "Else without If")
def _elseif_after_else(mod, path, rng):
    hit = _block(mod, rng, ("if_block",), pred=lambda b: any(k == "else" for k, _ in b.else_lines))
    if not hit:
        return None
    proc, b = hit
    return _insert(mod, proc, b.close_line, ["ElseIf zzq Then"], ("Else without If",))


@kind("next-wrong-variable", "Invalid Next control variable reference")
def _next_wrong(mod, path, rng):
    hit = _block(mod, rng, ("for",), pred=lambda b: bool(b.var))
    if not hit:
        return None
    proc, b = hit
    line = mod.lines[b.close_line]
    m = re.match(r"^(\s*(?:\d+\s+)?)Next\b.*$", line.rstrip("\r\n"), re.I)
    if not m or not _is_single(mod, b.close_line):
        return None
    return _replace(mod, proc, b.close_line, m.group(1) + "Next zzqOther", ("Invalid Next control variable reference",))


@kind("for-variable-in-use", "For control variable already in use")
def _for_reuse(mod, path, rng):
    hit = _block(mod, rng, ("for",), pred=lambda b: bool(b.var))
    if not hit:
        return None
    proc, b = hit
    return _insert(mod, proc, b.open_last + 1, ["For %s = 1 To 2" % b.var, "Next"],
                   ("For control variable already in use",))


# --- headers of If, ElseIf, For -------------------------------------------------------------------

def _edit_header(mod, rng, kinds, edit, expected):
    candidates = [(proc, b.open_line) for proc in _procs(mod) for b in proc.blocks
                  if b.kind in kinds and _is_single(mod, b.open_line)]
    rng.shuffle(candidates)
    for proc, ln in candidates[:10]:
        text = mod.lines[ln].rstrip("\r\n")
        new = edit(text)
        if new and new != text:
            return _replace(mod, proc, ln, new, expected)
    return None


def _drop_then(text):
    m = re.match(r"^(.*\S)\s+Then\s*$", text, re.I)
    return m.group(1) if m else None


@kind("if-without-then", "Expected: Then or GoTo", "Syntax error")
def _if_no_then(mod, path, rng):
    return _edit_header(mod, rng, ("if_block",), _drop_then, ("Expected: Then or GoTo", "Syntax error"))


@kind("elseif-without-then", "Expected: Then or GoTo", "Syntax error")
def _elseif_no_then(mod, path, rng):
    cands = []
    for proc in _procs(mod):
        for b in proc.blocks:
            for k, ln in b.else_lines:
                if k == "elseif" and _is_single(mod, ln):
                    cands.append((proc, ln))
    hit = _pick(rng, cands)
    if not hit:
        return None
    new = _drop_then(mod.lines[hit[1]].rstrip("\r\n"))
    return new and _replace(mod, hit[0], hit[1], new, ("Expected: Then or GoTo", "Syntax error"))


def _for_edit(pattern, repl):
    def edit(text):
        new, n = re.subn(pattern, repl, text, count=1, flags=re.I)
        return new if n else None
    return edit


@kind("for-without-to", "Expected: To", *SYNTAX)
def _for_no_to(mod, path, rng):
    return _edit_header(mod, rng, ("for",), _for_edit(r"\s+To\s+", " "), ("Expected: To",) + SYNTAX)


@kind("for-without-equals", "Expected: =", *SYNTAX)
def _for_no_eq(mod, path, rng):
    return _edit_header(mod, rng, ("for",), _for_edit(r"^(\s*(?:\d+\s+)?For\s+[A-Za-z]\w*)\s*=\s*", r"\1 "),
                        ("Expected: =",) + SYNTAX)


@kind("for-each-without-in", "Expected: In", *SYNTAX)
def _for_each_no_in(mod, path, rng):
    return _edit_header(mod, rng, ("for_each",), _for_edit(r"\s+In\s+", " "), ("Expected: In",) + SYNTAX)


@kind("misspelt-end", *SYNTAX)
def _misspelt_end(mod, path, rng):
    hit = _block(mod, rng, ("if_block", "select", "with"))
    if not hit:
        return None
    proc, b = hit
    text = mod.lines[b.close_line].rstrip("\r\n")
    new, n = re.subn(r"\b(End\s+)(If|Select|With)\b", lambda m: m.group(1) + {"if": "Iff", "select": "Selct",
                     "with": "Wth"}[m.group(2).lower()], text, count=1, flags=re.I)
    return n and _replace(mod, proc, b.close_line, new, SYNTAX)


# --- Exit in the wrong place ----------------------------------------------------------------------

@kind("exit-for-outside-for", "Exit For not within For...Next")
def _exit_for(mod, path, rng):
    return _insert_in_proc(mod, rng, ["Exit For"], ("Exit For not within For...Next",),
                           ok=lambda st: "for" not in st and "for_each" not in st)


@kind("exit-do-outside-do", "Exit Do not within Do...Loop")
def _exit_do(mod, path, rng):
    return _insert_in_proc(mod, rng, ["Exit Do"], ("Exit Do not within Do...Loop",), ok=lambda st: "do" not in st)


@kind("exit-sub-in-function", "Exit Sub not allowed in Function or Property")
def _exit_sub(mod, path, rng):
    return _insert_in_proc(mod, rng, ["Exit Sub"], ("Exit Sub not allowed in Function or Property",),
                           pred=lambda p: p.kind == "function")


@kind("exit-function-in-sub", "Exit Function not allowed in Sub or Property")
def _exit_function(mod, path, rng):
    return _insert_in_proc(mod, rng, ["Exit Function"], ("Exit Function not allowed in Sub or Property",),
                           pred=lambda p: p.kind == "sub")


@kind("exit-property-in-sub", "Exit Property not allowed in Function or Sub")
def _exit_property(mod, path, rng):
    return _insert_in_proc(mod, rng, ["Exit Property"], ("Exit Property not allowed in Function or Sub",),
                           pred=lambda p: p.kind in ("sub", "function"))


# --- statements that do not parse -----------------------------------------------------------------

for _name, _lines, _exp in (
        ("missing-expression", ["zzq = "], ("Expected: expression",) + SYNTAX),
        ("unclosed-parenthesis", ["zzq = (1 + 2"], ("Expected: )",) + SYNTAX),
        ("vbnet-return-value", ["Return 0"], ("Expected: end of statement",) + SYNTAX),
        ("vbnet-dim-initialiser", ["Dim zzq As Long = 1"], ("Expected: end of statement",) + SYNTAX),
        ("vbnet-compound-assignment", ["zzq += 1"], SYNTAX),
        ("vbnet-try", ["Try", "    zzq = 1", "Catch zzqEx As Exception", "End Try"], SYNTAX),
        ("exit-while", ["Exit While"], ("Expected: Do or For or Sub or Function or Property",) + SYNTAX),
        ("dim-without-name", ["Dim As Long"], ("Expected: identifier",) + SYNTAX),
        ("label-not-defined", ["GoTo zzqNowhere"], ("Label not defined",)),
        ("invalid-inside-procedure", ['Declare Function zzqApi Lib "kernel32" () As Long'],
         ("Invalid inside procedure",)),
        ("public-inside-procedure", ["Public zzq As Long"], ("Invalid attribute in Sub, Function, or Property",)),
        ("too-many-continuations", ["zzq = 1 + _"] + ["    1 + _"] * 24 + ["    1"], ("Too many line continuations",)),
        ("line-too-long", ['zzq = "' + "x" * 1100 + '"'], ("Line too long",)),
        ("identifier-too-long", ["Dim zzq" + "y" * 260 + " As Long"], ("Identifier too long",))):
    def _make(lines=_lines, exp=_exp):
        def mutate(mod, path, rng):
            return _insert_in_proc(mod, rng, lines, exp)
        return mutate
    kind(_name, *_exp)(_make())


@kind("dot-outside-with", "Invalid or unqualified reference")
def _dot(mod, path, rng):
    return _insert_in_proc(mod, rng, [".zzq = 1"], ("Invalid or unqualified reference",),
                           ok=lambda st: "with" not in st)


@kind("me-in-standard-module", "Invalid use of Me keyword")
def _me(mod, path, rng):
    if not path.lower().endswith(".bas"):
        return None
    return _insert_in_proc(mod, rng, ["Debug.Print Me Is Nothing"], ("Invalid use of Me keyword",))


# --- declarations inside a procedure --------------------------------------------------------------

@kind("duplicate-dim", "Duplicate declaration in current scope")
def _dup_dim(mod, path, rng):
    cands = []
    for proc in _procs(mod):
        for s in proc.statements:
            if s.kind == "dim" and s.sole and s.first == s.last and re.match(r"dim\s+[A-Za-z]\w*", s.text, re.I) \
                    and s.stack == () and _is_single(mod, s.first) \
                    and not re.match(r"^\s*\d", mod.lines[s.first]) and not re.match(r"^\s*\w+:", mod.lines[s.first]):
                cands.append((proc, s))
    hit = _pick(rng, cands)
    if not hit:
        return None
    proc, s = hit
    return _insert(mod, proc, s.first + 1, [mod.lines[s.first].strip()], ("Duplicate declaration in current scope",))


@kind("dim-of-parameter", "Duplicate declaration in current scope")
def _dim_param(mod, path, rng):
    procs = _procs(mod, lambda p: p.params and all(p.params))
    proc = _pick(rng, procs)
    if not proc:
        return None
    name = rng.choice(proc.params)
    return _insert(mod, proc, proc.header_last + 1, ["Dim %s As Long" % name], ("Duplicate declaration in current scope",))


# --- calls to a procedure of the module with the wrong number of arguments ------------------------

def _callable(mod, target):
    names = {}
    for p in mod.procedures:
        names.setdefault(p.name.lower(), []).append(p)
    used = " ".join(s.text.lower() for s in target.statements if s.kind == "dim")
    own = {n.lower() for n in (target.params or []) if n}
    out = []
    for p in mod.procedures:
        if p.kind in ("sub", "function") and not p.in_hash_if and len(names[p.name.lower()]) == 1 \
                and p.params is not None \
                and all(p.params) and p.name.lower() not in own and not re.search(r"\b%s\b" % re.escape(p.name.lower()), used):
            out.append(p)
    return out


def _wrong_count(delta, expected):
    def mutate(mod, path, rng):
        procs = _procs(mod)
        rng.shuffle(procs)
        for target in procs[:5]:
            callees = [c for c in _callable(mod, target) if len(c.params) + delta >= 0 and
                       (delta > 0 or len(c.params) > 0)]
            callee = _pick(rng, callees)
            at = _gap(rng, target)
            if callee and at is not None:
                args = ", ".join(["0"] * (len(callee.params) + delta))
                return _insert(mod, target, at, [("%s %s" % (callee.name, args)).rstrip()], expected)
        return None
    return mutate


kind("too-many-arguments", "Wrong number of arguments or invalid property assignment")(
    _wrong_count(1, ("Wrong number of arguments or invalid property assignment",)))
kind("argument-missing", "Argument not optional")(_wrong_count(-1, ("Argument not optional",)))


# --- module level ---------------------------------------------------------------------------------

@kind("ambiguous-procedure-name", "Ambiguous name detected")
def _ambiguous(mod, path, rng):
    plain = [p for p in mod.procedures if p.kind in ("sub", "function") and not p.in_hash_if]
    if len(plain) < 2:
        return None
    a, b = sorted(rng.sample(plain, 2), key=lambda p: p.header)
    if a.name.lower() == b.name.lower() or b.header != b.header_last:
        return None
    text = mod.lines[b.header].rstrip("\r\n")
    new = re.sub(r"\b%s\b" % re.escape(b.name), a.name, text, count=1)
    f = _replace(mod, b, b.header, new, ("Ambiguous name detected",))
    f.first = b.header + 1
    return f


@kind("statement-after-end-sub", "Only comments may appear after End Sub, End Function, or End Property")
def _after_end(mod, path, rng):
    if len(mod.procedures) < 2:
        return None
    p = rng.choice(mod.procedures[:-1])
    if p.in_hash_if:
        return None
    f = _insert(mod, None, p.end + 1, ["Dim zzq As Long"], ("Only comments may appear after End Sub, End Function, or End Property",))
    return f


@kind("statement-in-declarations", "Invalid outside procedure")
def _in_decl(mod, path, rng):
    if not mod.procedures or mod.procedures[0].in_hash_if:
        return None
    return _insert(mod, None, mod.decl_end, ["zzq = 1"], ("Invalid outside procedure",))


@kind("header-not-first-on-line", "Must be first statement on the line")
def _not_first(mod, path, rng):
    if not mod.procedures or mod.procedures[0].in_hash_if:
        return None
    p = mod.procedures[0]
    eol = _eol(mod.lines)
    lines = list(mod.lines)
    lines[p.header] = "Dim zzq As Long: " + lines[p.header]
    return Fault(lines, p.header + 1, p.header + 1, p.header + 1, ("Must be first statement on the line",))


@kind("statement-inside-type", "Statement invalid inside Type block")
def _in_type(mod, path, rng):
    t = _pick(rng, mod.types)
    if not t:
        return None
    return _insert(mod, None, t[0] + 1, ["zzq = 1"], ("Statement invalid inside Type block",))


@kind("member-inside-enum", "Invalid inside Enum")
def _in_enum(mod, path, rng):
    e = _pick(rng, mod.enums)
    if not e:
        return None
    return _insert(mod, None, e[0] + 1, ["zzq zzr"], ("Invalid inside Enum",))


@kind("unterminated-hash-if", "You must terminate the If block with an End If", "#If")
def _hash_if(mod, path, rng):
    p = _pick(rng, [p for p in mod.procedures if not p.in_hash_if])
    if not p:
        return None
    f = _insert(mod, None, p.header, ["#If zzqNever Then"], ("You must terminate the If block with an End If", "#If"))
    f.last = len(f.lines)
    return f


@kind("stray-hash-else", "#Else", "#If")
def _hash_else(mod, path, rng):
    return _insert_in_proc(mod, rng, ["#Else"], ("#Else", "#If"))


@kind("stray-hash-end-if", "#End If", "#If")
def _hash_end_if(mod, path, rng):
    return _insert_in_proc(mod, rng, ["#End If"], ("#End If", "#If"))


def _decl_insert(text, expected):
    def mutate(mod, path, rng):
        if mod.code_start == 0 and not path.lower().endswith(".bas"):
            return None
        at = mod.code_start
        return _insert(mod, None, at, [text], expected)
    return mutate


kind("vbnet-option-strict", "Expected: Base or Compare or Explicit or Private", *SYNTAX)(
    _decl_insert("Option Strict Off", ("Expected: Base or Compare or Explicit or Private",) + SYNTAX))
kind("vbnet-region", "Expected: If or Else or ElseIf or End or EndIf or Const", *SYNTAX)(
    _decl_insert('#Region "zzq"', ("Expected: If or Else or ElseIf or End or EndIf or Const",) + SYNTAX))
kind("option-base-2", "Expected: 0 or 1", *SYNTAX)(_decl_insert("Option Base 2", ("Expected: 0 or 1",) + SYNTAX))
kind("option-compare-database", "Expected: Text or Binary", *SYNTAX)(
    _decl_insert("Option Compare Database", ("Expected: Text or Binary",) + SYNTAX))
kind("stray-end-type", "Statement invalid outside Type block")(
    _decl_insert("End Type", ("Statement invalid outside Type block",)))


@kind("duplicate-option", "Duplicate Option statement")
def _dup_option(mod, path, rng):
    for s in mod.statements:
        if s.first >= mod.decl_end:
            break
        if s.kind == "option" and re.match(r"option\s+explicit\s*$", s.text, re.I):
            return _insert(mod, None, s.first + 1, ["Option Explicit"], ("Duplicate Option statement",))
    return None


@kind("vbnet-sub-new", "Expected: identifier", *SYNTAX)
def _sub_new(mod, path, rng):
    p = _pick(rng, [p for p in mod.procedures if not p.in_hash_if])
    if not p:
        return None
    f = _insert(mod, None, p.end + 1, ["", "Public Sub New()", "End Sub"], ("Expected: identifier",) + SYNTAX)
    return f


@kind("parameter-two-words", "Expected: list separator or )", *SYNTAX)
def _param_words(mod, path, rng):
    procs = [p for p in _procs(mod) if p.params and all(p.params) and p.header == p.header_last]
    p = _pick(rng, procs)
    if not p:
        return None
    text = mod.lines[p.header].rstrip("\r\n")
    name = p.params[0]
    new = re.sub(r"\(\s*((?:ByVal\s+|ByRef\s+)?)%s\b" % re.escape(name), r"(\g<1>%s zzq" % name, text, count=1, flags=re.I)
    if new == text:
        return None
    f = _replace(mod, p, p.header, new, ("Expected: list separator or )",) + SYNTAX)
    return f


# --- declarations and uses VB6 refuses from the module's text alone -------------------------------

def _ext(path, *exts):
    return path.lower().endswith(exts)


def _object_module(path):
    return _ext(path, ".cls", ".frm", ".ctl", ".dsr", ".pag", ".dob")


def _new_procedure(lines, expected):
    def mutate(mod, path, rng):
        p = _pick(rng, [p for p in mod.procedures if not p.in_hash_if])
        return p and _insert(mod, None, p.end + 1, [""] + lines, expected, line_offset=1)
    return mutate


def _declarations(lines, expected, when=lambda mod, path: True, first=False):
    """Inserts the lines at the end of the declarations section, or at its start (before any
    declaration) when `first`."""
    def mutate(mod, path, rng):
        if not when(mod, path) or not mod.procedures or mod.procedures[0].in_hash_if:
            return None
        if first and mod.code_start == 0 and not _ext(path, ".bas"):
            return None
        return _insert(mod, None, mod.code_start if first else mod.decl_end, lines, expected)
    return mutate


def _no_deftype(mod, path):
    return not any(re.match(r"def(int|lng|sng|dbl|cur|str|bool|byte|date|obj|var|dec)\b", s.text, re.I)
                   for s in mod.statements)


_IN_PROCEDURE = (
    ("range-has-no-values", ["Dim zzq(5 To 1) As Long"], ("Range has no values",)),
    ("fixed-string-length-zero", ["Dim zzq As String * 0"], ("Invalid length for fixed-length string",)),
    ("constant-overflow", ["Const zzq As Integer = 40000"], ("Overflow",)),
    ("constant-division-by-zero", ["Const zzq = 1 / 0"], ("Division by zero",)),
    ("new-of-intrinsic-type", ["Dim zzq As New Long"], ("Invalid use of New keyword",)),
    ("redim-of-fixed-array", ["Dim zzq(5) As Long", "ReDim zzq(10)"], ("Array already dimensioned",)),
    ("suffix-mismatch", ["Dim zzq As Long", 'zzq$ = "a"'], ("Type-declaration character does not match declared data type",)),
    ("assignment-to-constant", ["Const zzq = 1", "zzq = 2"], ("Assignment to constant not permitted",)),
    ("open-access-mode", ['Open "zzq.txt" For Input Access Write As #1'], ("Invalid Access mode",)),
    ("subscript-on-scalar", ["Dim zzq As Long", "zzq(1) = 0"], ("Expected array",)),
    ("wrong-number-of-dimensions", ["Dim zzq(3) As Long", "zzq(1, 2) = 0"], ("Wrong number of dimensions",)),
    ("qualifier-on-string", ["Dim zzq As String", "Debug.Print zzq.Len"], ("Invalid qualifier",)),
    ("with-on-scalar", ["Dim zzq As Long", "With zzq", "End With"], ("With object must be user-defined type, Object, or Variant",)),
    ("for-each-string-variable", ["Dim zzq As String", "Dim zzqC As New Collection", "For Each zzq In zzqC", "Next"],
     ("For Each control variable must be Variant or Object",)),
    ("set-on-scalar", ["Dim zzq As Long", "Set zzq = Nothing"], ("Object required",)),
    ("nothing-without-set", ["Dim zzq As Object", "zzq = Nothing"], ("Invalid use of object",)),
    ("scalar-called", ["Dim zzq As Long", "zzq 1"], ("Expected procedure, not variable",)),
    ("goto-label-missing-resume", ["On Error Resume zzqNowhere"], ("Label not defined",) + SYNTAX),
    ("statement-before-first-case", ["Dim zzq As Long", "Select Case zzq", "zzq = 1", "Case 1", "End Select"],
     ("Statements or labels invalid between Select Case and first Case",)),
    ("case-after-case-else", ["Dim zzq As Long", "Select Case zzq", "Case Else", "zzq = 1", "Case 2", "End Select"],
     ("Case without Select Case",)),
    ("loop-condition-twice", ["Dim zzq As Long", "Do While zzq < 1", "zzq = zzq + 1", "Loop Until zzq > 5"],
     ("Loop without Do",)),
)
for _name, _lines, _exp in _IN_PROCEDURE:
    def _make(lines=_lines, exp=_exp):
        def mutate(mod, path, rng):
            return _insert_in_proc(mod, rng, lines, exp, ok=lambda st: "with" not in st)
        return mutate
    kind(_name, *_exp)(_make())


@kind("print-in-standard-module", "Current module does not support Print method")
def _print(mod, path, rng):
    if not _ext(path, ".bas"):
        return None
    return _insert_in_proc(mod, rng, ['Print "zzq"'], ("Current module does not support Print method",),
                           ok=lambda st: "with" not in st)


@kind("addressof-outside-argument", "Invalid use of AddressOf operator")
def _addressof(mod, path, rng):
    if not _ext(path, ".bas"):
        return None
    subs = [p for p in mod.procedures if p.kind in ("sub", "function")]
    p = _pick(rng, subs)
    return p and _insert_in_proc(mod, rng, ["Dim zzq As Long", "zzq = AddressOf %s" % p.name],
                                 ("Invalid use of AddressOf operator",))


@kind("sub-used-as-value", "Expected Function or variable")
def _sub_value(mod, path, rng):
    subs = [p for p in mod.procedures if p.kind == "sub" and not p.params and not p.in_hash_if and
            sum(q.name.lower() == p.name.lower() for q in mod.procedures) == 1]
    p = _pick(rng, subs)
    return p and _insert_in_proc(mod, rng, ["Dim zzq As Variant", "zzq = %s" % p.name], ("Expected Function or variable",),
                                 pred=lambda q: p.name.lower() not in " ".join(s.text.lower() for s in q.statements if s.kind == "dim"))


for _name, _lines, _exp in (
        ("byval-array-parameter", ["Private Sub zzqS(ByVal a() As Long)", "End Sub"], ("Array argument must be ByRef",)),
        ("paramarray-not-variant", ["Private Sub zzqS(ParamArray a() As Long)", "End Sub"],
         ("ParamArray must be declared as an array of Variant",)),
        ("property-let-without-argument", ["Private Property Let zzqP()", "End Property"],
         ("Argument required for Property Let or Property Set",)),
        ("duplicate-parameter", ["Private Sub zzqS(ByVal a As Long, b, ByRef a As String)", "End Sub"],
         ("Duplicate declaration in current scope",))):
    kind(_name, *_exp)(_new_procedure(_lines, _exp))

for _name, _lines, _exp, _when in (
        ("type-without-members", ["Private Type zzqT", "End Type"], ("User-defined type without members not allowed",),
         lambda mod, path: True),
        ("event-name-with-underscore", ["Event zzq_Done()"], ("Invalid event name",),
         lambda mod, path: _ext(path, ".cls", ".ctl")),
        ("withevents-in-standard-module", ["Private WithEvents zzq As Timer"], ("Only valid in object module",),
         lambda mod, path: _ext(path, ".bas")),
        ("option-private-in-object-module", ["Option Private Module"],
         ("Option Private Module not permitted in object module",), lambda mod, path: _object_module(path)),
        ("public-const-in-object-module", ["Public Const zzq As Long = 1"],
         ("Constants, fixed-length strings, arrays, user-defined types, and Declare statements not allowed as "
          "Public members of an object module",), lambda mod, path: _object_module(path)),
        ("deftype-after-declaration", ["Private zzq As Long", "DefLng Z"],
         ("Deftype statements must precede declarations",), _no_deftype),
        ("duplicate-hash-const", ["#Const zzq = 1", "#Const zzq = 2"], ("Duplicate definition",), lambda mod, path: True),
        ("duplicate-module-variable", ["Private zzq As Long", "Private zzq As String"],
         ("Duplicate declaration in current scope",), lambda mod, path: True)):
    kind(_name, *_exp)(_declarations(_lines, _exp, _when))
kind("duplicate-deftype", "Duplicate Deftype statement")(
    _declarations(["DefInt Y-Z", "DefStr Z"], ("Duplicate Deftype statement",), _no_deftype, first=True))
