#!/usr/bin/env python3
"""Runs vbcheck over every VB6 source file of the code bases laid out by fetch.py (and, where the
binary reads projects, over every .vbp), and sorts its findings: on a line of a file VB6 truly
refuses (tests/vbcheck-corpus-refused.txt, read by hand), elsewhere in such a file, or a false alarm
(every other finding; read each by hand, then add the file to the list only if VB6 refuses it).

    alarms.py --vbcheck build/vbcheck [--projects] [NAME...]

Prints per code base files, lines, findings, false alarms and vbcheck's speed (MB/s of wall time of
the file-by-file run), then every finding outside the refused lines with its line's text."""
import argparse
import glob
import os
import time

from corpus import read_codebases, source_files
from runner import VBCheck
from seed import CORPUS

HERE = os.path.dirname(os.path.abspath(__file__))
REFUSED = os.path.join(HERE, "..", "..", "tests", "vbcheck-corpus-refused.txt")


def read_refused(path=REFUSED):
    lines = {}
    with open(path, encoding="utf-8") as f:
        for row in f:
            if row.strip() and not row.startswith("#"):
                name, rel, line, _ = row.rstrip("\n").split("\t", 3)
                lines.setdefault((name, rel), set()).add(int(line))
    return lines


def line_text(path, line, codepage):
    try:
        with open(path, "rb") as f:
            raw = f.read().split(b"\n")[line - 1].rstrip(b"\r")
        return raw.decode("cp%d" % codepage, "replace").strip()[:160]
    except (OSError, IndexError):
        return "?"


def sort_findings(cb, findings, refused):
    rows = []
    for path, found in sorted(findings.items()):
        rel = os.path.relpath(path, os.path.join(CORPUS, cb.name))
        for line, message in found:
            known = refused.get((cb.name, rel))
            verdict = "refused" if known and line in known else "refused file" if known else "false alarm"
            rows.append((verdict, rel, line, message, line_text(path, line, cb.codepage)))
    return rows


def exists_ignoring_case(path):
    """Whether Windows would find the file: each part of the path matched case-blind."""
    current = os.sep
    for part in os.path.normpath(path).split(os.sep)[1:]:
        if not os.path.isdir(current):
            return False
        match = [n for n in os.listdir(current) if n.lower() == part.lower()]
        if not match:
            return False
        current = os.path.join(current, match[0])
    return True


def project_modules(vbp, codepage):
    """The module files a .vbp lists, as paths."""
    out = []
    with open(vbp, "rb") as f:
        for raw in f.read().decode("cp%d" % codepage, "replace").splitlines():
            key, _, value = raw.partition("=")
            if key.strip().lower() in ("module", "class", "form", "usercontrol", "propertypage", "userdocument"):
                rel = value.split(";", 1)[1] if ";" in value else value
                out.append(os.path.normpath(os.path.join(os.path.dirname(vbp), rel.strip().replace("\\", "/"))))
    return out


def projects(cb, check, refused, excluded):
    """The findings of every .vbp; the files some project checked, with what it found in them; and
    the modules listed but unread: (case only, missing)."""
    rows, checked, unread = [], {}, [0, 0]
    for vbp in sorted(glob.glob(os.path.join(CORPUS, cb.name, "**", "*.vbp"), recursive=True)):
        findings, missing = check.run_project(vbp, cb.codepage)
        for p in missing:
            unread[0 if exists_ignoring_case(p) else 1] += 1
        for p in project_modules(vbp, cb.codepage):
            checked.setdefault(p, set()).update(findings.get(p, []))
        for verdict, rel, line, message, text in sort_findings(cb, findings, refused):
            if os.path.join(CORPUS, cb.name, rel) in excluded:
                verdict = "excluded file"
            rows.append((verdict, rel, line, message, text, os.path.relpath(vbp, os.path.join(CORPUS, cb.name))))
    return rows, checked, unread


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--vbcheck", required=True)
    ap.add_argument("--projects", action="store_true", help="also check every .vbp (when the binary can)")
    ap.add_argument("--repeat", type=int, default=1, help="speed: the best of this many runs")
    ap.add_argument("names", nargs="*")
    a = ap.parse_args()
    check = VBCheck(a.vbcheck)
    refused = read_refused()
    print("vbcheck %s (--codepage: %s, .vbp: %s)" % (check.binary, check.codepage, check.project))
    table, details = [], []
    for cb in read_codebases():
        if a.names and cb.name not in a.names:
            continue
        files, excluded = source_files(os.path.join(CORPUS, cb.name))
        size = sum(len(d) for _, d in files)
        lines = sum(d.count(b"\n") for _, d in files)
        start = time.perf_counter()
        findings, cpu = check.run([p for p, _ in files], cb.codepage)
        wall = time.perf_counter() - start
        for _ in range(a.repeat - 1):
            start = time.perf_counter()
            _, again = check.run([p for p, _ in files], cb.codepage)
            wall, cpu = min(wall, time.perf_counter() - start), min(cpu, again)
        rows = sort_findings(cb, findings, refused)
        prow, checked, unread = [], {}, [0, 0]
        if a.projects and check.project:
            prow, checked, unread = projects(cb, check, refused, {p for p, _ in excluded})
        # A finding of the file alone that its projects, with their CondComp constants, do not give.
        for i, r in enumerate(rows):
            path = os.path.join(CORPUS, cb.name, r[1])
            if r[0] == "false alarm" and path in checked and (r[2], r[3]) not in checked[path]:
                rows[i] = ("needs its .vbp",) + r[1:]
        alarms = [r for r in rows if r[0] == "false alarm"]
        palarms = [r for r in prow if r[0] == "false alarm"]
        table.append((cb.name, len(files), lines, size / 1e6, len(rows), len(alarms), size / 1e6 / wall,
                      size / 1e6 / cpu if cpu else 0, len(prow), len(palarms), unread))
        details += [(cb.name,) + r for r in rows if r[0] != "refused"]
        details += [(cb.name,) + r[:5] + ("project " + r[5],) for r in prow if r[0] not in ("refused",)]
    print("\n| code base | files | lines | MB | findings | false alarms | MB/s (wall) | MB/s (CPU) |"
          " findings per .vbp | false alarms per .vbp | modules unread (case only / missing) |")
    print("|---|---|---|---|---|---|---|---|---|---|---|")
    for name, nf, nl, mb, nfind, nal, speed, cspeed, pf, pal, unread in table:
        project = ("%d | %d | %d / %d" % (pf, pal, unread[0], unread[1])) if a.projects and check.project else "- | - | -"
        print("| %s | %d | %d | %.1f | %d | %d | %.1f | %.1f | %s |" % (name, nf, nl, mb, nfind, nal, speed, cspeed, project))
    t = [sum(x[i] for x in table) for i in (1, 2, 3, 4, 5)]
    print("| all | %d | %d | %.1f | %d | %d | | | | | |" % tuple(t))
    print("\nfindings outside the refused lines (read each by hand):")
    for d in details:
        print("  [%s] %s %s:%d: %s | %s%s" % (d[1], d[0], d[2], d[3], d[4], d[5],
                                             ("  (" + d[6] + ")") if len(d) > 6 else ""))


if __name__ == "__main__":
    main()
