"""The code bases of codebases.txt and the rule that decides which of their files are VB6 source."""
import os
import re
from dataclasses import dataclass

HERE = os.path.dirname(os.path.abspath(__file__))
CODEBASES = os.path.join(HERE, "codebases.txt")
VB_EXTENSIONS = {".bas", ".cls", ".frm", ".ctl", ".dsr", ".pag", ".dob", ".vbp"}
SOURCE_EXTENSIONS = {".bas", ".cls", ".frm", ".ctl", ".dsr", ".pag", ".dob"}


@dataclass
class Codebase:
    name: str
    repo: str
    commit: str
    codepage: int
    kind: str


def read_codebases(path=CODEBASES):
    result = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            name, repo, commit, codepage, kind = line.split(None, 4)
            result.append(Codebase(name, repo, commit, int(codepage), kind.strip()))
    return result


# VB.NET keeps its files in .vb, but a .bas/.cls that is really VB.NET (a converted module) or a
# .frm from VB1-3 in binary form is not VB6 source: VB6 would not load it as a module at all.
_NET_MARKERS = re.compile(rb"^\s*(Imports\s+System|Namespace\s|Option\s+Strict\s|#Region\s|"
                          rb"Public\s+Class\s+\w+\s*$|Partial\s+Class\s|End\s+Namespace|"
                          rb"Module\s+\w+\s*$|End\s+Module\b)", re.I | re.M)
# A module exported from Office (VBA): a document module based on an Office class (Excel's,
# Word's ...: 0002xxxx-0000-0000-C000-000000000046), or a UserForm (MSForms designer) saved as .frm.
# VB_Customizable and VB_TemplateDerived alone do not tell: VB6's own templates carry them.
_VBA_MARKERS = re.compile(rb"^Attribute\s+VB_Base\s*=\s*\"0\{0002[0-9A-F]{4}-0000-0000-C000-000000000046\}|"
                          rb"C62A69F0-16DC-11CE-9E98-00AA00574A4F", re.I | re.M)
# Every VB6 .frm/.ctl/.dsr/.pag/.dob starts with VERSION; .cls with VERSION 1.0 CLASS or Attribute;
# .bas with Attribute VB_Name (VB6 writes it) or plain code.
_VB6_HEADER = re.compile(rb"^\s*(VERSION\s+\d|Attribute\s+VB_Name)", re.I)


def exclusion(path, data):
    """Why the file is not VB6 source, or None when it is."""
    ext = os.path.splitext(path)[1].lower()
    if b"\0" in data:
        return "NUL bytes (binary or damaged)"
    if _NET_MARKERS.search(data):
        return "VB.NET"
    if _VBA_MARKERS.search(data):
        return "VBA"
    if ext in (".frm", ".ctl", ".dsr", ".pag", ".dob", ".cls") and not _VB6_HEADER.match(data):
        return "no VB6 header"
    return None


def source_files(root):
    """(path, bytes) of every VB6 source file under root, sorted, and the excluded ones with why."""
    kept, excluded = [], []
    for dirpath, _, names in os.walk(root):
        for n in names:
            if os.path.splitext(n)[1].lower() not in SOURCE_EXTENSIONS:
                continue
            p = os.path.join(dirpath, n)
            with open(p, "rb") as f:
                data = f.read()
            why = exclusion(p, data)
            (excluded if why else kept).append((p, why if why else data))
    kept.sort()
    excluded.sort()
    return kept, excluded
