#!/usr/bin/env python3
"""Instructions per call of each control export and of its baseline, under callgrind.

Runs the velmora_instruction_counts program once under

    valgrind --tool=callgrind --callgrind-out-file=<tmpdir>/cg.out \\
        build/default/benchmarks/velmora_instruction_counts --calls N [NAME...]

The program makes N calls of each export and then N of its baseline (the same
platform calls made directly), each run after a warm-up and bracketed by
callgrind client requests, so that every run leaves one dump described
"<case>/library" or "<case>/baseline". This script reads each dump's total of
executed instructions and prints, for every case in the program's order, the
instructions per call of the library and of the baseline and their ratio.

Usage, from the source tree after `cmake --build --preset default`:

    python3 benchmarks/instruction_counts.py
    python3 benchmarks/instruction_counts.py --calls 5000 --json counts.json MicBoost Bass

NAME selects the cases whose names contain it. --program names another build
of the program. Only the standard library is used; valgrind must be installed.
"""

import argparse
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

DEFAULT_PROGRAM = os.path.join(
    os.path.dirname(os.path.abspath(__file__)),
    os.pardir,
    "build",
    "default",
    "benchmarks",
    "velmora_instruction_counts",
)

TRIGGER = re.compile(r"^desc:\s*Trigger:\s*Client Request:\s*(?P<label>\S+)\s*$")
SUMMARY = re.compile(r"^summary:\s*(?P<count>\d+)")
TOTALS = re.compile(r"^totals:\s*(?P<count>\d+)")
VALGRIND_LINE = re.compile(r"^==\d+==")


def read_dump(path):
    """The (label, instructions) of one dump, or None for a dump no run asked for."""
    label = None
    summary = None
    totals = None
    with open(path, encoding="utf-8", errors="replace") as dump:
        for line in dump:
            match = TRIGGER.match(line)
            if match:
                label = match.group("label")
                continue
            match = SUMMARY.match(line)
            if match:
                summary = int(match.group("count"))
                continue
            match = TOTALS.match(line)
            if match:
                totals = int(match.group("count"))
    if label is None or "/" not in label:
        return None
    # The summary is the collected total, as callgrind_annotate reports it.
    count = summary if summary is not None else totals
    if count is None:
        raise ValueError(f"{path}: no instruction total in the dump of {label}")
    return label, count


def dump_number(name, stem):
    """The number of a dump file named <stem>.<number>, or None."""
    suffix = name[len(stem) + 1 :]
    return int(suffix) if name.startswith(stem + ".") and suffix.isdigit() else None


def run_callgrind(command, workdir):
    """Runs `command` (a program and its arguments) under callgrind; returns the
    dump files in the order written."""
    valgrind = shutil.which("valgrind")
    if valgrind is None:
        sys.exit("instruction_counts: valgrind is not installed")
    out_file = os.path.join(workdir, "cg.out")
    command = [
        valgrind,
        "--tool=callgrind",
        f"--callgrind-out-file={out_file}",
        *command,
    ]
    completed = subprocess.run(command, capture_output=True, text=True, check=False)
    if completed.returncode != 0:
        # The program's own messages, without valgrind's.
        for line in completed.stderr.splitlines():
            if not VALGRIND_LINE.match(line):
                print(line, file=sys.stderr)
        sys.exit(f"instruction_counts: the program failed (exit code {completed.returncode})")
    numbered = []
    for name in os.listdir(workdir):
        number = dump_number(name, "cg.out")
        if number is not None:
            numbered.append((number, os.path.join(workdir, name)))
    return [path for _, path in sorted(numbered)]


def collect(dumps, calls):
    """Rows of case, library and baseline instructions per call, in the order of the runs."""
    per_case = {}
    order = []
    for path in dumps:
        entry = read_dump(path)
        if entry is None:
            continue
        label, count = entry
        case, side = label.rsplit("/", 1)
        if case not in per_case:
            per_case[case] = {}
            order.append(case)
        per_case[case][side] = count / calls
    rows = []
    for case in order:
        sides = per_case[case]
        if "library" not in sides or "baseline" not in sides:
            sys.exit(f"instruction_counts: {case} lacks a library or a baseline run")
        library = sides["library"]
        baseline = sides["baseline"]
        rows.append(
            {
                "case": case,
                "library": library,
                "baseline": baseline,
                "ratio": library / baseline if baseline > 0 else float("inf"),
            }
        )
    return rows


def print_table(rows, calls):
    width = max([len("case")] + [len(row["case"]) for row in rows])
    print(f"Instructions per call (callgrind, {calls} calls per run)")
    print(f"{'case':<{width}}  {'library':>10}  {'baseline':>10}  {'ratio':>6}")
    for row in rows:
        print(
            f"{row['case']:<{width}}  {row['library']:>10.1f}  {row['baseline']:>10.1f}"
            f"  {row['ratio']:>6.3f}"
        )


def main():
    parser = argparse.ArgumentParser(
        description=__doc__.splitlines()[0],
        formatter_class=argparse.RawDescriptionHelpFormatter,
    )
    parser.add_argument(
        "names", nargs="*", metavar="NAME", help="only cases whose names contain NAME"
    )
    parser.add_argument("--calls", type=int, default=1000, help="calls per run (default 1000)")
    parser.add_argument(
        "--program", default=DEFAULT_PROGRAM, help="the velmora_instruction_counts program"
    )
    parser.add_argument("--json", metavar="FILE", help="also write the rows to FILE as JSON")
    args = parser.parse_args()
    if args.calls <= 0:
        parser.error("--calls must be positive")
    program = os.path.abspath(args.program)
    if not os.access(program, os.X_OK):
        sys.exit(f"instruction_counts: {program} is not built")

    with tempfile.TemporaryDirectory(prefix="velmora-callgrind-") as workdir:
        command = [program, "--calls", str(args.calls), *args.names]
        rows = collect(run_callgrind(command, workdir), args.calls)
    if not rows:
        sys.exit("instruction_counts: no run was measured")
    print_table(rows, args.calls)
    if args.json:
        with open(args.json, "w", encoding="utf-8") as out:
            json.dump({"calls": args.calls, "cases": rows}, out, indent=2)
            out.write("\n")


if __name__ == "__main__":
    main()
