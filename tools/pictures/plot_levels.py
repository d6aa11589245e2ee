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
    width, height = 760, 460
    left, right, top, bottom = 70, 190, 30, 60
    x_of = lambda p: left + p / 100 * (width - left - right)
    y_of = lambda db: top + (12 - db) / 80 * (height - top - bottom)  # +12 .. -68 dB
    out = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
           'font-family="Helvetica, Arial, sans-serif" font-size="12">',
           f'<rect width="{width}" height="{height}" fill="white"/>']
    for p in range(0, 101, 10):
        out.append(f'<line x1="{x_of(p):.1f}" y1="{y_of(12)}" x2="{x_of(p):.1f}" '
                   f'y2="{y_of(-68):.1f}" stroke="#e4e4e4"/>')
        out.append(f'<text x="{x_of(p):.1f}" y="{height - bottom + 18}" '
                   f'text-anchor="middle">{p}</text>')
    for db in range(10, -70, -10):
        out.append(f'<line x1="{left}" y1="{y_of(db):.1f}" x2="{x_of(100):.1f}" '
                   f'y2="{y_of(db):.1f}" stroke="#e4e4e4"/>')
        out.append(f'<text x="{left - 8}" y="{y_of(db) + 4:.1f}" text-anchor="end">{db}</text>')
    out.append(f'<text x="{x_of(50):.1f}" y="{height - 18}" text-anchor="middle">'
               'percent set through the exports</text>')
    out.append(f'<text transform="translate(18 {y_of(-28):.1f}) rotate(-90)" '
               'text-anchor="middle">level written (dB)</text>')
    colours = {"master": "#1f5fa8", "line": "#c0602a"}
    labels = {"master": ("master", "endpoint volume", "-65.25..0 dB"),
              "line": ("line", "part volume level", "-34.5..12 dB")}
    truncated_total = 0
    for name, points in series.items():
        # 0 % is the range minimum; 1 % and up follow the logarithmic scale.
        path = " ".join(f"{x_of(p):.1f},{y_of(db):.1f}" for p, db, _ in points[1:])
        out.append(f'<polyline points="{path}" fill="none" stroke="{colours[name]}" '
                   'stroke-width="2"/>')
        p0, db0, _ = points[0]
        out.append(f'<circle cx="{x_of(p0):.1f}" cy="{y_of(db0):.1f}" r="4" '
                   f'fill="{colours[name]}"/>')
        for p, db, read in points:
            if read < p:
                truncated_total += 1
                out.append(f'<circle cx="{x_of(p):.1f}" cy="{y_of(db):.1f}" r="2.5" '
                           'fill="none" stroke="#d11" stroke-width="1.2"/>')
    legend_x = width - right + 16
    for i, name in enumerate(series):
        y = top + 20 + 52 * i
        out.append(f'<line x1="{legend_x}" y1="{y}" x2="{legend_x + 22}" y2="{y}" '
                   f'stroke="{colours[name]}" stroke-width="2"/>')
        for row, text in enumerate(labels[name]):
            shade = "" if row == 0 else ' fill="#555"'
            out.append(f'<text x="{legend_x + 28}" y="{y + 4 + 14 * row}"{shade}>{text}</text>')
    y = top + 20 + 52 * len(series)
    out.append(f'<circle cx="{legend_x + 11}" cy="{y}" r="2.5" fill="none" stroke="#d11"/>')
    out.append(f'<text x="{legend_x + 28}" y="{y + 4}">reads back one lower</text>')
    out.append(f'<text x="{legend_x + 28}" y="{y + 18}" fill="#555">'
               f'({truncated_total} of 202 settings)</text>')
    out.append(f'<text x="{legend_x + 28}" y="{y + 44}">filled dot: 0 % is</text>')
    out.append(f'<text x="{legend_x + 28}" y="{y + 58}">the range minimum</text>')
    out.append("</svg>")
    return "\n".join(out) + "\n"


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
