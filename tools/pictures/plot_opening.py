#!/usr/bin/env python3
"""Plots the cost of opening a card against the size of its adapter graph, as
an SVG picture, from the project's own measurements.

Runs velmora_opening_instructions under callgrind (valgrind): for each
generated graph family of 10 to 10,000 parts, the instructions of one opening
divided by the parts in the graph. Instruction counts are the same on every
run, whatever else the machine does; a flat line is a cost that grows linearly
with the card. The times of the same openings come from
velmora_opening_benchmarks (see docs/performance.md).

Usage: plot_opening.py [--program PROGRAM] OUTPUT.svg
(the Python standard library, valgrind; run from anywhere)
"""
import argparse
import os
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, os.pardir, os.pardir, "benchmarks"))

from instruction_counts import read_dump, run_callgrind  # noqa: E402
from svg_chart import Chart  # noqa: E402

DEFAULT_PROGRAM = os.path.join(HERE, os.pardir, os.pardir, "build", "default", "benchmarks",
                               "velmora_opening_instructions")
FAMILIES = {
    "wide_inputs": ("#1f5fa8", ("wide inputs (realistic)", "a sum of many 3-part inputs")),
    "many_connectors": ("#2a9d55", ("many connectors (realistic)", "capture, 2 parts each")),
    "long_chain": ("#c0602a", ("long chain (adversarial)", "walked to 256 parts only")),
}


def measure(program):
    series = {family: [] for family in FAMILIES}
    with tempfile.TemporaryDirectory(prefix="velmora-opening-") as workdir:
        for dump in run_callgrind([program], workdir):
            entry = read_dump(dump)
            if entry is None:
                continue
            label, instructions = entry
            family, parts, openings = label.split("/")
            per_opening = instructions / int(openings)
            series[family].append((int(parts), per_opening / int(parts)))
    return series


def svg(series):
    top = max(value for points in series.values() for _, value in points)
    step = 1000
    ceiling = step * (int(top // step) + 1)
    chart = Chart((8, 12500), (0, ceiling), "parts in the adapter graph (logarithmic)",
                  "instructions of one opening per part", log_x=True, legend_width=240)
    chart.grid([10, 100, 1000, 10000], range(0, ceiling + 1, step),
               x_text=lambda tick: f"{tick:,}", y_text=lambda tick: f"{tick:,}")
    for family, (colour, label) in FAMILIES.items():
        points = sorted(series[family])
        chart.line(points, colour, label, dashed=family == "long_chain")
        for point in points:
            chart.mark(point, colour, filled=True)
    chart.note(("callgrind; the simulated", "service's cost included"))
    return chart.svg()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("output")
    parser.add_argument("--program", default=DEFAULT_PROGRAM)
    arguments = parser.parse_args()
    series = measure(os.path.abspath(arguments.program))
    with open(arguments.output, "w", encoding="utf-8") as picture:
        picture.write(svg(series))
    for family, points in series.items():
        print(f"{family}: " + ", ".join(f"{parts} parts {value:,.0f} instructions/part"
                                         for parts, value in sorted(points)))


if __name__ == "__main__":
    main()
