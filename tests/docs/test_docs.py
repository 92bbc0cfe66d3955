"""Every block of the README and the manual pages that a user would paste
runs as written: in order, each in a fresh shell (or Python) in one folder
that holds the samples and a week of April 2016 made from them. Blocks that
build, package, benchmark, run on Windows or show a synopsis carry a marker
instead, which names one of those reasons."""

import os
import re
import subprocess
import sys
from pathlib import Path

import pytest

ROOT = Path(__file__).resolve().parents[2]
CLI = Path(os.environ.get("FENMARQ_CLI", "fenmarq-cli"))
REASONS = ("builds", "packaging", "benchmarks", "windows", "synopsis")
MARKER = re.compile(r"(?:<!--|\.\\\") doc-test: skip \((\w+)\)")
# What only a synopsis holds: an option in brackets, or FILE... and the like.
PLACEHOLDER = re.compile(r"\[--?[a-z]|\b[A-Z]+\.\.\.")


def markdown_blocks(text):
    """(line number, skip reason or None, code) of each indented block."""
    lines = text.split("\n")
    blocks, i = [], 0
    while i < len(lines):
        previous = lines[i - 1] if i else ""
        if lines[i].startswith("    ") and (not previous.strip() or MARKER.match(previous)):
            indent = len(lines[i]) - len(lines[i].lstrip())
            start, code = i, []
            while i < len(lines) and (lines[i][:indent].isspace() or not lines[i].strip()):
                code.append(lines[i][indent:])
                i += 1
            marker = MARKER.match(previous)
            blocks.append((start + 1, marker and marker.group(1), "\n".join(code).strip() + "\n"))
        i += 1
    return blocks


def manual_blocks(text):
    """The same for a manual page's .nf/.RS examples, roff escapes undone."""
    blocks = []
    for match in re.finditer(r"((?:^[^\n]*\n)?)\.nf\n\.RS\n(.*?)\.RE\n\.fi", text, re.M | re.S):
        marker = MARKER.match(match.group(1))
        code = match.group(2).replace("\\-", "-")
        blocks.append((text[:match.start(2)].count("\n"), marker and marker.group(1), code))
    return blocks


def documents():
    """(document, line, reason, code) of every block, in reading order."""
    found = [("README.md", *b) for b in markdown_blocks((ROOT / "README.md").read_text())]
    for page in sorted((ROOT / "docs").glob("*.1.in")):
        found += [(page.name, *b) for b in manual_blocks(page.read_text())]
    return found


def problem(code, folder):
    """Why a block does not run as written, or None: it runs as a user would
    run it, Python where it imports, else bash, and must succeed."""
    if PLACEHOLDER.search(code):
        return "a synopsis, not a command"
    env = dict(os.environ, PATH=f"{CLI.parent}:/usr/bin:{os.environ['PATH']}")
    python = code.startswith(("import ", "from "))
    script = folder / ("block.py" if python else "block.sh")
    script.write_text(code if python else "set -eo pipefail\n" + code)
    command = ["/usr/bin/python3" if python else "bash", script.name]
    done = subprocess.run(command, cwd=folder, env=env, capture_output=True, text=True,
                          timeout=120)
    if done.returncode != 0:
        return f"exit status {done.returncode}\n{done.stdout[-2000:]}{done.stderr[-2000:]}"
    return None


@pytest.fixture(scope="module")
def folder(tmp_path_factory):
    folder = tmp_path_factory.mktemp("docs")
    days = [["samples", "."]] + [["samples", "--date", f"201604{d}", "."] for d in range(13, 19)]
    days += [["samples", "--date", "20200401", "archive/2020"]]
    for args in days:
        subprocess.run([CLI, *args], cwd=folder, check=True, stdout=subprocess.DEVNULL)
    return folder


def test_every_block_runs_or_says_why_not(folder):
    blocks = documents()
    assert len(blocks) > 10
    for document, line, reason, code in blocks:
        where = f"{document}:{line}"
        if reason is not None:
            assert reason in REASONS, where
            continue
        assert (why := problem(code, folder)) is None, f"{where}\n{code}\n{why}"


def test_a_block_that_cannot_run_as_written_fails_unless_marked(folder):
    synopsis = "The command line:\n\n    fenmarq-cli convert [--make-dirs] FILE...\n\nText.\n"
    [(line, reason, code)] = markdown_blocks(synopsis)
    assert (line, reason) == (3, None) and problem(code, folder) is not None
    [(_, reason, _)] = markdown_blocks(synopsis.replace(
        "\n\n    ", "\n\n<!-- doc-test: skip (synopsis) -->\n    "))
    assert reason == "synopsis"
