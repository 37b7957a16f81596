"""Runs a vbcheck binary over files and reads its findings; finds out which options the binary has."""
import os
import re
import resource
import subprocess
import tempfile
import time

_FINDING = re.compile(r"^(.*?):(\d+): (?:error: )?(.*)$")


class VBCheck:
    def __init__(self, binary):
        self.binary = os.path.abspath(binary)
        self.codepage = self._probe_codepage()
        self.project = self._probe_project()

    def _probe_codepage(self):
        with tempfile.TemporaryDirectory() as d:
            p = os.path.join(d, "M.bas")
            with open(p, "wb") as f:
                f.write(b'Attribute VB_Name = "M"\r\nSub A()\r\nEnd Sub\r\n')
            r = subprocess.run([self.binary, "--codepage", "932", p], capture_output=True)
            return r.returncode == 0

    def _probe_project(self):
        with tempfile.TemporaryDirectory() as d:
            with open(os.path.join(d, "M.bas"), "wb") as f:
                f.write(b'Attribute VB_Name = "M"\r\nSub A()\r\nIf 1 Then\r\nEnd Sub\r\n')
            vbp = os.path.join(d, "P.vbp")
            with open(vbp, "wb") as f:
                f.write(b'Type=Exe\r\nModule=M; M.bas\r\nName="P"\r\n')
            r = subprocess.run([self.binary, vbp], capture_output=True, text=True, errors="replace")
            return "M.bas:3:" in r.stdout

    def command(self, codepage):
        cmd = [self.binary]
        if self.codepage and codepage != 1252:
            cmd += ["--codepage", str(codepage)]
        return cmd

    def run(self, paths, codepage=1252, chunk=400):
        """{path: [(line, message)]} for every path, and the CPU seconds vbcheck used."""
        findings = {p: [] for p in paths}
        cpu = 0.0
        for i in range(0, len(paths), chunk):
            part = paths[i:i + chunk]
            # getrusage, not os.times: the latter counts in clock ticks of 10 ms.
            before = resource.getrusage(resource.RUSAGE_CHILDREN)
            r = subprocess.run(self.command(codepage) + part, capture_output=True, text=True, errors="replace")
            after = resource.getrusage(resource.RUSAGE_CHILDREN)
            cpu += (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
            self._read(r.stdout, findings)
        return findings, cpu

    def run_project(self, vbp, codepage=1252):
        """{path: [(line, message)]} of the project's modules, and the modules it could not read."""
        r = subprocess.run(self.command(codepage) + [vbp], capture_output=True, text=True, errors="replace",
                           cwd=os.path.dirname(vbp))
        findings = {}
        self._read(r.stdout, findings, base=os.path.dirname(vbp))
        unread = [os.path.normpath(line.split("cannot read ", 1)[1])
                  for line in r.stderr.splitlines() if "cannot read " in line]
        return findings, unread

    @staticmethod
    def _read(out, findings, base=None):
        for line in out.splitlines():
            m = _FINDING.match(line)
            if not m:
                continue
            path = m.group(1)
            if base and not os.path.isabs(path):
                path = os.path.join(base, path)
            path = os.path.normpath(path)
            findings.setdefault(path, []).append((int(m.group(2)), m.group(3)))


def timed(fn, *args, **kw):
    start = time.perf_counter()
    result = fn(*args, **kw)
    return result, time.perf_counter() - start
