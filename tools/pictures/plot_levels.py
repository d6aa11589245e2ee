#!/usr/bin/env python3
"""Plots the decibel level the library writes for each whole percentage, from
vsmix's own output, as an SVG picture.

Runs one vsmix session on the embedded reference machine: for each percentage
it sets the master volume (the speakers' endpoint volume, -65.25..0 dB) and the
line input (a part's volume level, -34.5..12 dB), reads back the percentages
through the exports, and reads the levels the platform holds through
`vsmix topology --json`. Percentages that read back lower than they were set
(the read-back truncates) are marked.

Usage: plot_levels.py VSMIX OUTPUT.svg  (only the Python standard library)
"""
import json
import subprocess
import sys

from svg_chart import Chart


def run_session(vsmix):
    commands = ["open --play 5f3e1d2a"]
    for percent in range(101):
        commands.append(f"set --json master={percent} line={percent}")
        commands.append("topology --json")
    result = subprocess.run([vsmix, "-s"], input="\n".join(commands) + "\n",
                            capture_output=True, text=True, check=True)
    decoder = json.JSONDecoder()
    documents, text, position = [], result.stdout, 0
    while (start := text.find("\n{", position)) != -1:
        document, position = decoder.raw_decode(text, start + 1)
        documents.append(document)
    return documents


def collect(documents):
    series = {"master": [], "line": []}
    for percent in range(101):
        settings, topology = documents[2 * percent], documents[2 * percent + 1]
        read_back = {c["name"]: c.get("value") for c in settings["controls"]}
        speakers = topology["endpoints"][0]
        levels = {"master": speakers["endpointVolume"]["levelDb"]}
        for part in speakers["parts"]:
            if part["name"] == "Line Volume":
                levels["line"] = part["controls"][0]["levelDb"]
        for name in series:
            series[name].append((percent, levels[name], read_back[name]))
    return series


def svg(series):
    chart = Chart((0, 100), (-68, 12), "percent set through the exports", "level written (dB)")
    chart.grid(range(0, 101, 10), range(10, -70, -10))
    colours = {"master": "#1f5fa8", "line": "#c0602a"}
    labels = {"master": ("master", "endpoint volume", "-65.25..0 dB"),
              "line": ("line", "part volume level", "-34.5..12 dB")}
    truncated = 0
    for name, points in series.items():
        # 0 % is the range minimum; 1 % and up follow the logarithmic scale.
        chart.line([(p, db) for p, db, _ in points[1:]], colours[name], labels[name])
        chart.mark(points[0][:2], colours[name], radius=4, filled=True)
        for p, db, read in points:
            if read < p:
                truncated += 1
                chart.mark((p, db), "#d11")
    chart.legend_entry("#d11", ("reads back one lower", f"({truncated} of 202 settings)"))
    chart.note(("filled dot: 0 % is", "the range minimum"))
    return chart.svg()


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    series = collect(run_session(sys.argv[1]))
    with open(sys.argv[2], "w", encoding="utf-8") as picture:
        picture.write(svg(series))
    for name, points in series.items():
        truncated = [p for p, _, read in points if read < p]
        print(f"{name}: {len(truncated)} of 101 percentages read back one lower: {truncated}")


if __name__ == "__main__":
    main()
