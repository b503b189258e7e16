#!/usr/bin/python3
"""Writes the filter editor's 32x32, 16-colour window icon as an XPM image
(frontend/filter_editor/equal_icon.xpm), which the editor compiles in: a
yellow graph with a black frame and grid, three grey sliders, and the red
response curve between them."""
import pathlib

SIZE = 32
colours = {'.': '#D4D0C8', 'y': '#FFFF00', 'k': '#000000', 'r': '#D70000',
           'g': '#808080', 'w': '#FFFFFF'}
pixels = [['.'] * SIZE for _ in range(SIZE)]

for y in range(2, 30):
    for x in range(2, 30):
        pixels[y][x] = 'y'
for i in range(2, 30):
    pixels[2][i] = pixels[29][i] = pixels[i][2] = pixels[i][29] = 'k'
for y in (9, 16, 23):
    for x in range(3, 29):
        pixels[y][x] = 'k'

# The curve: one point per slider column, joined by straight lines.
points = [(4, 20), (10, 12), (16, 17), (22, 8), (27, 13)]
for (x0, y0), (x1, y1) in zip(points, points[1:]):
    for x in range(x0, x1 + 1):
        y = round(y0 + (y1 - y0) * (x - x0) / (x1 - x0))
        for dy in (-1, 0, 1):
            pixels[y + dy][x] = 'r'

for x in (9, 15, 21):
    for y in range(4, 28):
        pixels[y][x] = pixels[y][x + 1] = 'g'
    pixels[4][x] = pixels[27][x] = 'w'

lines = ['/* XPM */', '// Made by scripts/make_equal_icon.py; edit the script, not this file.',
         'static const char* const equal_icon_xpm[] = {',
         f'"{SIZE} {SIZE} {len(colours)} 1",']
lines += [f'"{key} c {value}",' for key, value in colours.items()]
lines += [f'"{"".join(row)}",' for row in pixels]
lines[-1] = lines[-1].rstrip(',')
lines.append('};')
target = pathlib.Path(__file__).resolve().parent.parent / 'frontend/filter_editor/equal_icon.xpm'
target.write_text('\n'.join(lines) + '\n')
