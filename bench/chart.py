"""Draws bench/results.json as a bar chart (launcher beside baseline) with ImageMagick."""
import json
import subprocess
import sys

rows = [r for r in json.load(open(sys.argv[1])) if r.get("baseline") is not None]
width, row_h, left = 1000, 46, 480
height = 40 + row_h * len(rows)
draw = []
for i, r in enumerate(rows):
    top = 30 + i * row_h
    scale = max(r["launcher"], r["baseline"], 1e-9)
    for j, (value, colour) in enumerate(((r["launcher"], "#2456a8"), (r["baseline"], "#9aa1ab"))):
        w = int((width - left - 90) * value / scale)
        y = top + j * 16
        draw += ["-fill", colour, "-draw", f"rectangle {left},{y} {left + max(w, 1)},{y + 13}",
                 "-fill", "black", "-draw", f"text {left + w + 6},{y + 11} '{value:.1f}'"]
    draw += ["-fill", "black", "-draw", f"text 10,{top + 18} '{r['measure']} ({r['unit']})'"]
draw += ["-fill", "#2456a8", "-draw", "text 10,18 'launcher'", "-fill", "#767d88", "-draw", "text 90,18 'baseline'"]
subprocess.run(["convert", "-size", f"{width}x{height}", "xc:white", "-font", "DejaVu-Sans",
                "-pointsize", "12", *draw, sys.argv[2]], check=True)
