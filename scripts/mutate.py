#!/usr/bin/env python3
"""Puts the deliberate faults of scripts/mutations.txt into the source one at a time, rebuilds,
runs the whole test suite and reports, per folder, which faults the suite caught (killed) and
which it missed (survived).

  scripts/mutate.py [--build DIR] [--area AREA ...] [--only N ...] [--list] [--report FILE]

Run it from a clean working tree with a configured build (scripts/build.sh build). Every file is
given back its own text after each fault, also when interrupted; the build is brought back to the
unchanged source at the end. The suite runs under scripts/with-postgres.sh and stops at its first
failure, so a caught fault costs a rebuild and a few seconds.
"""

import argparse
import os
import re
import signal
import subprocess
import sys
import time
from dataclasses import dataclass
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent


@dataclass
class Mutation:
    number: int
    path: str
    what: str
    before: str
    after: str

    @property
    def area(self) -> str:
        return self.path.split("/")[0]


def read_mutations(listing: Path) -> list[Mutation]:
    mutations: list[Mutation] = []
    entry = None  # [path, what, lines before, lines after]

    def close():
        if entry:
            if not entry[2] or not entry[3]:
                sys.exit(f"{listing}: '{entry[1]}' needs '- TEXT' and '+ TEXT' lines")
            mutations.append(Mutation(len(mutations) + 1, entry[0], entry[1], "\n".join(entry[2]),
                                      "\n".join(entry[3])))

    for number, line in enumerate(listing.read_text(encoding="utf-8").splitlines(), 1):
        if not line.strip() or line.startswith("#"):
            continue
        if line.startswith("@ "):
            close()
            path, _, what = line[2:].partition(" | ")
            entry = [path.strip(), what.strip(), [], []]
        elif entry and line[:2] in ("- ", "+ ") and not (line[0] == "-" and entry[3]):
            entry[2 if line[0] == "-" else 3].append(line[2:])
        else:
            sys.exit(f"{listing}:{number}: expected '@ FILE | what', then '- TEXT' and '+ TEXT' lines")
    close()
    return mutations


def tracked_files() -> list[str]:
    out = subprocess.run(["git", "ls-files"], cwd=ROOT, capture_output=True, text=True, check=True)
    return out.stdout.split()


def locate(path: str, files: list[str]) -> Path | None:
    """The file itself, or the one tracked file of that name when it moved to another folder."""
    if (ROOT / path).is_file():
        return ROOT / path
    name = Path(path).name
    matches = [f for f in files if Path(f).name == name]
    return ROOT / matches[0] if len(matches) == 1 else None


def run(command: list[str], log: Path, env: dict | None = None, timeout: int = 1800) -> int:
    with log.open("w") as out:
        try:
            return subprocess.run(command, cwd=ROOT, stdout=out, stderr=subprocess.STDOUT,
                                  env=env, timeout=timeout).returncode
        except subprocess.TimeoutExpired:
            out.write("\nmutate.py: timed out\n")
            return 124


def build(build_dir: str, log: Path) -> bool:
    return run(["cmake", "--build", build_dir], log) == 0


def suite(build_dir: str, log: Path) -> int:
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    return run([str(ROOT / "scripts/with-postgres.sh"), "ctest", "--test-dir", build_dir,
                "--stop-on-failure", "--parallel", "2", "--timeout", "300"], log, env)


def first_failure(log: Path) -> str:
    failed = re.findall(r"^\s*\d+ - (\S+)[^\n]* \((?:Failed|Timeout|SEGFAULT|Subprocess aborted)",
                        log.read_text(errors="replace"), re.M)
    return failed[0] if failed else "?"


def problem(m: Mutation, files: list[str]) -> str:
    """Why the fault cannot be put in: its file or its text is not found exactly once."""
    target = locate(m.path, files)
    if target is None:
        return f"{m.path} not found"
    found = target.read_text(encoding="utf-8").count(m.before)
    return "" if found == 1 else f"text found {found} times in {target.relative_to(ROOT)}"


def try_mutation(m: Mutation, files: list[str], build_dir: str, logs: Path) -> tuple[str, str]:
    if why := problem(m, files):
        return "stale", why
    target = locate(m.path, files)
    original = target.read_text(encoding="utf-8")
    log = logs / f"{m.number:03}.log"
    try:
        target.write_text(original.replace(m.before, m.after), encoding="utf-8")
        if not build(build_dir, log):
            # A compiler's refusal is no fault at all; a check the build itself runs (the package's
            # SQL files are made by the program) caught it.
            if re.search(r"\.(cpp|h):\d+:\d+: error", log.read_text(errors="replace")):
                return "no-build", str(log)
            return "killed", "the build's own checks"
        if suite(build_dir, log) == 0:
            return "survived", ""
        return "killed", first_failure(log)
    finally:
        target.write_text(original, encoding="utf-8")


def report(results: list[tuple[Mutation, str, str]]) -> str:
    lines = ["| area | faults | killed | survived | not run |", "|---|---|---|---|---|"]
    areas = sorted({m.area for m, _, _ in results})
    totals = [0, 0, 0, 0]
    for area in areas + ["all"]:
        own = [r for r in results if area == "all" or r[0].area == area]
        counts = [len(own), sum(r[1] == "killed" for r in own), sum(r[1] == "survived" for r in own),
                  sum(r[1] in ("stale", "no-build") for r in own)]
        if area != "all":
            totals = [a + b for a, b in zip(totals, counts)]
        lines.append(f"| {area} | " + " | ".join(map(str, counts)) + " |")
    ran = totals[1] + totals[2]
    lines.append("")
    lines.append(f"Kill rate: {totals[1]}/{ran} = {100.0 * totals[1] / ran:.1f}%" if ran else
                 "Kill rate: nothing ran")
    for m, outcome, detail in results:
        if outcome != "killed":
            lines.append(f"- {outcome}: #{m.number} {m.path}: {m.what}" +
                         (f" ({detail})" if detail else ""))
    return "\n".join(lines) + "\n"


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--build", default="build", help="configured build folder (build)")
    parser.add_argument("--list", default=str(ROOT / "scripts/mutations.txt"))
    parser.add_argument("--area", action="append", help="only faults under this folder")
    parser.add_argument("--only", action="append", type=int, help="only fault number N")
    parser.add_argument("--show", action="store_true", help="list the faults and stop")
    parser.add_argument("--check", action="store_true",
                        help="only check that each fault's text is found once, build nothing")
    parser.add_argument("--report", help="also write the report to this file")
    args = parser.parse_args()

    mutations = [m for m in read_mutations(Path(args.list))
                 if (not args.area or m.area in args.area) and (not args.only or m.number in args.only)]
    if args.show:
        for m in mutations:
            print(f"{m.number:3} {m.path}: {m.what}")
        return 0
    if args.check:
        stale = [(m, problem(m, tracked_files())) for m in mutations]
        for m, why in stale:
            if why:
                print(f"{m.number:3} stale {m.path}: {m.what} ({why})")
        return 1 if any(why for _, why in stale) else 0
    if subprocess.run(["git", "diff", "--quiet"], cwd=ROOT).returncode != 0:
        sys.exit("mutate.py: the working tree has changes; commit or stash them first")
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(130))

    logs = Path(args.build).resolve() / "mutations"
    logs.mkdir(parents=True, exist_ok=True)
    if not build(args.build, logs / "baseline.log") or suite(args.build, logs / "baseline.log"):
        sys.exit(f"mutate.py: the unchanged tree does not pass; see {logs / 'baseline.log'}")

    files = tracked_files()
    results = []
    started = time.monotonic()
    try:
        for m in mutations:
            outcome, detail = try_mutation(m, files, args.build, logs)
            results.append((m, outcome, detail))
            print(f"{m.number:3} {outcome:8} {m.path}: {m.what}" + (f" [{detail}]" if detail else ""),
                  flush=True)
    finally:
        build(args.build, logs / "restore.log")
    text = report(results) + f"\n{len(results)} faults in {time.monotonic() - started:.0f} s\n"
    print("\n" + text)
    if args.report:
        Path(args.report).write_text(text, encoding="utf-8")
    return 0


if __name__ == "__main__":
    sys.exit(main())
