"""Draws the menu icon of irview, an impulse response's level falling over
time with the straight line of its decay fit, on a light rounded tile; as
SVG (the scalable icon) and as ImageMagick's vector format MVG, from which
the 48x48 PNG is rendered, both from the same shapes.

    make_irview_icon.py OUT.svg OUT.mvg
"""
import math
import random
import sys

SIZE = 48
LEFT, RIGHT, TOP, BOTTOM = 8.0, 41.0, 9.0, 39.0
TILE, FRAME, GRID, LEVEL, FIT = "#f2f5f7", "#2b4c63", "#c3d0d9", "#3d8fc4", "#e0701a"


def level_points():
    """A level in dB that falls by 60 dB over the width, with the ragged
    dips of a real response; fixed seed, so the drawing is the same on every
    run."""
    rng = random.Random(7)
    steps = 60
    points = []
    for i in range(steps + 1):
        t = i / steps
        x = LEFT + (RIGHT - LEFT) * t
        dip = abs(rng.gauss(0.0, 1.0)) * 4.0  # downwards, in pixels
        points.append((x, min(line_y(x) - 4.0 + dip, BOTTOM)))
    return points


def fit_line():
    return (LEFT, TOP + 4.0), (RIGHT - 2.0, BOTTOM - 2.0)


def line_y(x):
    (x1, y1), (x2, y2) = fit_line()
    return y1 + (y2 - y1) * (x - x1) / (x2 - x1)


def svg(points):
    text = " ".join(f"{x:.2f},{y:.2f}" for x, y in points)
    (x1, y1), (x2, y2) = fit_line()
    grid = "\n".join(
        f'  <line x1="{LEFT}" y1="{y:.1f}" x2="{RIGHT}" y2="{y:.1f}" stroke="{GRID}" stroke-width="0.8"/>'
        for y in (TOP + 10.0, TOP + 20.0))
    return f'''<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="{SIZE}" height="{SIZE}" viewBox="0 0 {SIZE} {SIZE}">
  <rect x="2" y="2" width="44" height="44" rx="8" ry="8" fill="{TILE}" stroke="{FRAME}" stroke-width="2"/>
{grid}
  <polyline points="{LEFT},{TOP} {LEFT},{BOTTOM} {RIGHT},{BOTTOM}" fill="none" stroke="{FRAME}" stroke-width="1.5"/>
  <polyline points="{text}" fill="none" stroke="{LEVEL}" stroke-width="1.4" stroke-linejoin="round"/>
  <line x1="{x1}" y1="{y1}" x2="{x2}" y2="{y2}" stroke="{FIT}" stroke-width="2.4" stroke-linecap="round"/>
</svg>
'''


def mvg(points):
    text = " ".join(f"{x:.2f},{y:.2f}" for x, y in points)
    (x1, y1), (x2, y2) = fit_line()
    grid = "\n".join(f"  line {LEFT},{y:.1f} {RIGHT},{y:.1f}" for y in (TOP + 10.0, TOP + 20.0))
    return f'''viewbox 0 0 {SIZE} {SIZE}
push graphic-context
  fill "{TILE}" stroke "{FRAME}" stroke-width 2
  roundrectangle 2,2 46,46 8,8
  fill none stroke "{GRID}" stroke-width 0.8
{grid}
  stroke "{FRAME}" stroke-width 1.5
  polyline {LEFT},{TOP} {LEFT},{BOTTOM} {RIGHT},{BOTTOM}
  stroke "{LEVEL}" stroke-width 1.4 stroke-linejoin round
  polyline {text}
  stroke "{FIT}" stroke-width 2.4 stroke-linecap round
  line {x1},{y1} {x2},{y2}
pop graphic-context
'''


def main():
    points = level_points()
    with open(sys.argv[1], "w", encoding="utf-8") as out:
        out.write(svg(points))
    with open(sys.argv[2], "w", encoding="utf-8") as out:
        out.write(mvg(points))


if __name__ == "__main__":
    main()
