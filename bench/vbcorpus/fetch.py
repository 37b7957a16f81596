#!/usr/bin/env python3
"""Lays out the VB6 code bases of codebases.txt under CORPUS/NAME (default /work/corpus), each at its
listed commit, keeping only VB6 source and project files (.frx, .ctx and other binaries never).

Needs a bare git directory per code base, MIRROR/owner+name/repo (default MIRROR=/work/.mirror), or
network access to GitHub to clone one there. A measuring tool: it never runs in CI."""
import os
import shutil
import subprocess
import sys

from corpus import CODEBASES, VB_EXTENSIONS, read_codebases

CORPUS = os.environ.get("CORPUS", "/work/corpus")
MIRROR = os.environ.get("MIRROR", "/work/.mirror")


def git_dir(repo):
    path = os.path.join(MIRROR, repo.replace("/", "+"), "repo")
    if not os.path.isdir(path):
        subprocess.run(["git", "clone", "--quiet", "--bare", f"https://github.com/{repo}", path], check=True)
    return path


def vb_blobs(gitdir, commit):
    out = subprocess.run(["git", "--git-dir", gitdir, "ls-tree", "-r", "-z", commit],
                         check=True, capture_output=True).stdout
    for entry in out.split(b"\0"):
        if not entry:
            continue
        meta, path = entry.split(b"\t", 1)
        path = path.decode("utf-8", "surrogateescape")
        if meta.split()[1] == b"blob" and os.path.splitext(path)[1].lower() in VB_EXTENSIONS:
            yield meta.split()[2].decode(), path


def lay_out(cb):
    gitdir = git_dir(cb.repo)
    target = os.path.join(CORPUS, cb.name)
    shutil.rmtree(target, ignore_errors=True)
    blobs = list(vb_blobs(gitdir, cb.commit))
    batch = subprocess.Popen(["git", "--git-dir", gitdir, "cat-file", "--batch"],
                             stdin=subprocess.PIPE, stdout=subprocess.PIPE)
    written = missing = 0
    for sha, path in blobs:
        batch.stdin.write(sha.encode() + b"\n")
        batch.stdin.flush()
        header = batch.stdout.readline().split()
        if header[1] == b"missing":
            missing += 1  # a snapshot may lack its largest files
            continue
        data = batch.stdout.read(int(header[2]))
        batch.stdout.read(1)
        dest = os.path.join(target, path)
        os.makedirs(os.path.dirname(dest), exist_ok=True)
        with open(dest, "wb") as f:
            f.write(data)
        written += 1
    batch.stdin.close()
    batch.wait()
    print(f"{cb.name}: {written} files at {cb.commit}" + (f", {missing} missing" if missing else ""))


def main():
    wanted = set(sys.argv[1:])
    for cb in read_codebases(CODEBASES):
        if not wanted or cb.name in wanted:
            lay_out(cb)


if __name__ == "__main__":
    main()
