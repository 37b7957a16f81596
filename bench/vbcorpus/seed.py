#!/usr/bin/env python3
"""Seeds faults VB6 refuses into the VB6 code bases laid out by fetch.py, runs vbcheck on the changed
files and tells, per kind of fault: found (the right message within the changed procedure), found
elsewhere (findings, none of them the right one there), missed (no finding), and how many findings
one fault gave.

    seed.py --vbcheck build/vbcheck [--seed N] [--per-kind 10] [--out DIR] [NAME...]

Only files without any finding of their own are seeded, one fault per file copy. A fresh seed is
drawn on every run unless --seed is given; it is printed so that a run can be repeated."""
import argparse
import collections
import json
import os
import random
import shutil
import sys

from corpus import read_codebases, source_files
from faults import KINDS
from runner import VBCheck
from vbscan import read_module

CORPUS = os.environ.get("CORPUS", "/work/corpus")


def refused_paths(path):
    out = set()
    if os.path.exists(path):
        with open(path, encoding="utf-8") as f:
            for line in f:
                if line.strip() and not line.startswith("#"):
                    name, rel = line.split("\t")[:2]
                    out.add(os.path.join(CORPUS, name, rel))
    return out


def seed_codebase(cb, check, seed, per_kind, out, refused, kinds):
    files, _ = source_files(os.path.join(CORPUS, cb.name))
    files = [(p, d) for p, d in files if p not in refused]
    data = dict(files)
    baseline, _ = check.run([p for p, _ in files], cb.codepage)
    clean = sorted(p for p in data if not baseline.get(p))
    modules = {}
    faults = []
    for name in kinds:
        mutate, _ = KINDS[name]
        rng = random.Random("%d/%s/%s" % (seed, cb.name, name))
        order = list(clean)
        rng.shuffle(order)
        made = 0
        for path in order[:400]:
            if made >= per_kind:
                break
            if path not in modules:
                modules[path] = read_module(data[path])
            fault = mutate(modules[path], path, rng)
            if not fault:
                continue
            target = os.path.join(out, cb.name, name, str(made), os.path.basename(path))
            os.makedirs(os.path.dirname(target), exist_ok=True)
            with open(target, "wb") as f:
                f.write("".join(fault.lines).encode("latin-1"))
            faults.append({"codebase": cb.name, "kind": name, "source": os.path.relpath(path, CORPUS),
                           "file": target, "line": fault.line, "first": fault.first, "last": fault.last,
                           "expected": list(fault.expected)})
            made += 1
    found, _ = check.run([f["file"] for f in faults], cb.codepage)
    for f in faults:
        f["findings"] = found.get(f["file"], [])
        f["verdict"] = verdict(f)
    return faults, len(clean), len(files)


def verdict(f):
    if not f["findings"]:
        return "missed"
    for line, message in f["findings"]:
        if f["first"] <= line <= f["last"] and any(e.lower() in message.lower() for e in f["expected"]):
            return "found"
    return "elsewhere"


def percent(a, b):
    return "%.0f %%" % (100.0 * a / b) if b else "-"


def report(faults):
    by_kind = collections.defaultdict(list)
    for f in faults:
        by_kind[f["kind"]].append(f)
    print("\n| kind of fault | seeded | found | elsewhere | missed | found % | 1 finding | <=2 findings |")
    print("|---|---|---|---|---|---|---|---|")
    for name in KINDS:
        fs = by_kind.get(name, [])
        c = collections.Counter(f["verdict"] for f in fs)
        one = sum(1 for f in fs if len(f["findings"]) == 1)
        two = sum(1 for f in fs if 1 <= len(f["findings"]) <= 2)
        print("| %s | %d | %d | %d | %d | %s | %s | %s |" % (name, len(fs), c["found"], c["elsewhere"], c["missed"],
                                                          percent(c["found"], len(fs)), percent(one, len(fs)),
                                                          percent(two, len(fs))))
    c = collections.Counter(f["verdict"] for f in faults)
    hist = collections.Counter(min(len(f["findings"]), 4) for f in faults)
    print("\nall: %d seeded, %d found (%s), %d elsewhere, %d missed" % (
        len(faults), c["found"], percent(c["found"], len(faults)), c["elsewhere"], c["missed"]))
    print("findings per fault: " + ", ".join("%s: %d (%s)" % ("4+" if k == 4 else k, hist[k],
                                                              percent(hist[k], len(faults))) for k in sorted(hist)))
    kinds_ok = sum(1 for name in KINDS if by_kind.get(name) and
                   sum(f["verdict"] == "found" for f in by_kind[name]) >= 0.95 * len(by_kind[name]))
    print("kinds found >= 95 %%: %d of %d seeded kinds" % (kinds_ok, sum(1 for n in KINDS if by_kind.get(n))))


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--vbcheck", required=True)
    ap.add_argument("--seed", type=int)
    ap.add_argument("--per-kind", type=int, default=10, help="faults per kind and code base")
    ap.add_argument("--out")
    ap.add_argument("--kinds", help="comma-separated kinds (default: all)")
    ap.add_argument("--refused", default=os.path.join(os.path.dirname(__file__), "..", "..", "tests",
                                                      "vbcheck-corpus-refused.txt"))
    ap.add_argument("names", nargs="*")
    a = ap.parse_args()
    seed = a.seed if a.seed is not None else random.SystemRandom().randrange(1, 10 ** 9)
    out = a.out or "/tmp/vbseed-%d" % seed
    shutil.rmtree(out, ignore_errors=True)
    check = VBCheck(a.vbcheck)
    print("seed %d, vbcheck %s (--codepage: %s, .vbp: %s), files under %s" % (
        seed, check.binary, check.codepage, check.project, out))
    kinds = a.kinds.split(",") if a.kinds else list(KINDS)
    refused = refused_paths(a.refused)
    all_faults = []
    for cb in read_codebases():
        if a.names and cb.name not in a.names:
            continue
        faults, clean, total = seed_codebase(cb, check, seed, a.per_kind, out, refused, kinds)
        c = collections.Counter(f["verdict"] for f in faults)
        print("%s: %d of %d files without findings; %d faults: %d found, %d elsewhere, %d missed" % (
            cb.name, clean, total, len(faults), c["found"], c["elsewhere"], c["missed"]))
        sys.stdout.flush()
        all_faults += faults
    with open(os.path.join(out, "faults.json"), "w") as f:
        json.dump({"seed": seed, "vbcheck": check.binary, "faults": all_faults}, f, indent=1)
    report(all_faults)


if __name__ == "__main__":
    main()
