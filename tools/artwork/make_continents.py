#!/usr/bin/env python3
"""Draws the six continent pictures of the lesson catalogue as SVG files.

Run once from the project folder; the pictures are committed:
    python3 tools/artwork/make_continents.py ../shared/geosrc widgets/resources/continents
"""
import json
import math
import os
import sys

# name, source continents, longitude and latitude window
GROUPS = [
    ("nordamerika", {"North America"}, (-170, -50, 7, 84)),
    ("suedamerika", {"South America"}, (-84, -33, -56, 13)),
    ("europa", {"Europe"}, (-25, 45, 34, 72)),
    ("asien", {"Asia", "Europe"}, (26, 150, -11, 78)),
    ("afrika", {"Africa"}, (-19, 52, -36, 38)),
    ("sonstiges", {"Oceania"}, (110, 180, -48, 2)),
]
WIDTH, HEIGHT, MARGIN = 90, 70, 3


def rings(geometry):
    if geometry["type"] == "Polygon":
        yield from geometry["coordinates"][:1]
    elif geometry["type"] == "MultiPolygon":
        for polygon in geometry["coordinates"]:
            yield polygon[0]


def main(source, target):
    with open(os.path.join(source, "naturalearth", "ne_110m_admin_0_countries.json"), encoding="utf-8") as f:
        features = json.load(f)["features"]
    os.makedirs(target, exist_ok=True)
    for name, continents, (lon0, lon1, lat0, lat1) in GROUPS:
        shrink = math.cos(math.radians((lat0 + lat1) / 2))
        span_x, span_y = (lon1 - lon0) * shrink, lat1 - lat0
        scale = min((WIDTH - 2 * MARGIN) / span_x, (HEIGHT - 2 * MARGIN) / span_y)
        off_x = (WIDTH - span_x * scale) / 2
        off_y = (HEIGHT - span_y * scale) / 2
        paths = []
        for feature in features:
            props = feature["properties"]
            highlight = props.get("CONTINENT") in continents
            if not highlight and name != "sonstiges":
                continue
            if name == "sonstiges" and props.get("CONTINENT") != "Oceania":
                continue
            for ring in rings(feature["geometry"]):
                points = []
                for lon, lat in ring:
                    x = off_x + (lon - lon0) * shrink * scale
                    y = off_y + (lat1 - lat) * scale
                    points.append(f"{x:.1f},{y:.1f}")
                paths.append("M" + " L".join(points) + "Z")
        svg = (
            f'<svg xmlns="http://www.w3.org/2000/svg" width="{WIDTH}" height="{HEIGHT}" viewBox="0 0 {WIDTH} {HEIGHT}">'
            f'<defs><clipPath id="c"><rect width="{WIDTH}" height="{HEIGHT}"/></clipPath></defs>'
            f'<g clip-path="url(#c)"><path d="{" ".join(paths)}" fill="#5fae55" stroke="#2f6b2a" '
            f'stroke-width="0.6" stroke-linejoin="round" fill-rule="nonzero"/></g></svg>\n'
        )
        with open(os.path.join(target, name + ".svg"), "w", encoding="utf-8") as f:
            f.write(svg)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
