"""A small line chart written as SVG, with the Python standard library only:
axes with a grid, lines, marks and a legend to the right."""

import math


class Chart:
    def __init__(self, x_range, y_range, x_label, y_label, log_x=False,
                 width=780, height=460, legend_width=220):
        self.x_range, self.y_range = x_range, y_range
        self.log_x = log_x
        self.width, self.height = width, height
        self.left, self.right, self.top, self.bottom = 70, legend_width, 30, 60
        self.items = [f'<rect width="{width}" height="{height}" fill="white"/>']
        self.legend = []
        self.x_label, self.y_label = x_label, y_label

    def x(self, value):
        low, high = self.x_range
        if self.log_x:
            value, low, high = math.log10(value), math.log10(low), math.log10(high)
        return self.left + (value - low) / (high - low) * (self.width - self.left - self.right)

    def y(self, value):
        low, high = self.y_range
        return self.top + (high - value) / (high - low) * (self.height - self.top - self.bottom)

    def grid(self, x_ticks, y_ticks, x_text=str, y_text=str):
        x0, x1 = self.x(self.x_range[0]), self.x(self.x_range[1])
        y0, y1 = self.y(self.y_range[0]), self.y(self.y_range[1])
        for tick in x_ticks:
            self.items.append(f'<line x1="{self.x(tick):.1f}" y1="{y1:.1f}" x2="{self.x(tick):.1f}" '
                              f'y2="{y0:.1f}" stroke="#e4e4e4"/>')
            self.items.append(f'<text x="{self.x(tick):.1f}" y="{y0 + 18:.1f}" '
                              f'text-anchor="middle">{x_text(tick)}</text>')
        for tick in y_ticks:
            self.items.append(f'<line x1="{x0:.1f}" y1="{self.y(tick):.1f}" x2="{x1:.1f}" '
                              f'y2="{self.y(tick):.1f}" stroke="#e4e4e4"/>')
            self.items.append(f'<text x="{x0 - 8:.1f}" y="{self.y(tick) + 4:.1f}" '
                              f'text-anchor="end">{y_text(tick)}</text>')

    def line(self, points, colour, label_lines=(), dashed=False):
        path = " ".join(f"{self.x(px):.1f},{self.y(py):.1f}" for px, py in points)
        dash = ' stroke-dasharray="6 4"' if dashed else ""
        self.items.append(f'<polyline points="{path}" fill="none" stroke="{colour}" '
                          f'stroke-width="2"{dash}/>')
        if label_lines:
            self.legend.append(("line", colour, dash, label_lines))

    def mark(self, point, colour, radius=2.5, filled=False):
        fill = colour if filled else "none"
        self.items.append(f'<circle cx="{self.x(point[0]):.1f}" cy="{self.y(point[1]):.1f}" '
                          f'r="{radius}" fill="{fill}" stroke="{colour}" stroke-width="1.2"/>')

    def legend_entry(self, colour, label_lines, filled=False):
        self.legend.append(("mark", colour, filled, label_lines))

    def note(self, label_lines):
        self.legend.append(("note", None, None, label_lines))

    def svg(self):
        out = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{self.width}" '
               f'height="{self.height}" font-family="Helvetica, Arial, sans-serif" font-size="12">']
        out += self.items
        middle = (self.x(self.x_range[0]) + self.x(self.x_range[1])) / 2
        out.append(f'<text x="{middle:.1f}" y="{self.height - 18}" text-anchor="middle">'
                   f'{self.x_label}</text>')
        centre = (self.y(self.y_range[0]) + self.y(self.y_range[1])) / 2
        out.append(f'<text transform="translate(18 {centre:.1f}) rotate(-90)" '
                   f'text-anchor="middle">{self.y_label}</text>')
        legend_x = self.width - self.right + 16
        y = self.top + 20
        for kind, colour, style, lines in self.legend:
            if kind == "line":
                out.append(f'<line x1="{legend_x}" y1="{y}" x2="{legend_x + 22}" y2="{y}" '
                           f'stroke="{colour}" stroke-width="2"{style}/>')
            elif kind == "mark":
                fill = colour if style else "none"
                out.append(f'<circle cx="{legend_x + 11}" cy="{y}" r="2.5" fill="{fill}" '
                           f'stroke="{colour}"/>')
            for row, text in enumerate(lines):
                shade = "" if row == 0 else ' fill="#555"'
                out.append(f'<text x="{legend_x + 28}" y="{y + 4 + 14 * row}"{shade}>{text}</text>')
            y += 14 * len(lines) + 16
        out.append("</svg>")
        return "\n".join(out) + "\n"
