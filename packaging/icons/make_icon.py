"""Draws the menu icon of sonabrix, a decaying impulse response on a rounded
dark tile, twice from the same shapes: as SVG (the scalable icon) and as
ImageMagick's own vector format MVG, from which the 48x48 PNG is rendered
(ImageMagick reads SVG only through a further delegate program).

    make_icon.py OUT.svg OUT.mvg
"""
import math
import sys

SIZE = 48
LEFT, RIGHT, MIDDLE = 6.0, 42.0, 25.0
TILE, AXIS, WAVE, BAR = "#1f3447", "#5d7f99", "#ffcc33", "#4fb3d9"


def impulse_points():
    steps = 120
    points = []
    for i in range(steps + 1):
        t = i / steps
        x = LEFT + (RIGHT - LEFT) * t
        # A spike at the start, then a ringing tail that dies away.
        y = MIDDLE - 15.0 * math.exp(-5.0 * t) * math.cos(2 * math.pi * 7.0 * t)
        points.append((x, y))
    return points


def svg(points):
    text = " ".join(f"{x:.2f},{y:.2f}" for x, y in points)
    return f'''<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="{SIZE}" height="{SIZE}" viewBox="0 0 {SIZE} {SIZE}">
  <rect x="2" y="2" width="44" height="44" rx="8" ry="8" fill="{TILE}"/>
  <line x1="{LEFT}" y1="{MIDDLE}" x2="{RIGHT}" y2="{MIDDLE}" stroke="{AXIS}" stroke-width="1"/>
  <polyline points="{text}" fill="none" stroke="{WAVE}" stroke-width="2.2"
            stroke-linejoin="round" stroke-linecap="round"/>
  <rect x="6" y="38" width="36" height="3" rx="1.5" ry="1.5" fill="{BAR}"/>
</svg>
'''


def mvg(points):
    text = " ".join(f"{x:.2f},{y:.2f}" for x, y in points)
    return f'''viewbox 0 0 {SIZE} {SIZE}
push graphic-context
  fill "{TILE}" stroke none
  roundrectangle 2,2 46,46 8,8
  fill none stroke "{AXIS}" stroke-width 1
  line {LEFT},{MIDDLE} {RIGHT},{MIDDLE}
  stroke "{WAVE}" stroke-width 2.2 stroke-linejoin round stroke-linecap round
  polyline {text}
  fill "{BAR}" stroke none
  roundrectangle 6,38 42,41 1.5,1.5
pop graphic-context
'''


def main():
    points = impulse_points()
    with open(sys.argv[1], "w", encoding="utf-8") as out:
        out.write(svg(points))
    with open(sys.argv[2], "w", encoding="utf-8") as out:
        out.write(mvg(points))


if __name__ == "__main__":
    main()
