#!/usr/bin/env python3
"""Writes data/map-outlines.txt, the country and US state outlines that the map embeds.

Reads Natural Earth's outlines as Debian's qgis-common ships them (world_map.gpkg, layers
"countries" and "states_provinces"), simplifies each feature with ogr2ogr (gdal-bin) and writes
them in the compact text form that map/OutlineData reads. Not part of the build: run it again only
to change the simplification or the source.

    python3 data/generate-map-outlines.py [world_map.gpkg] > data/map-outlines.txt

Without an argument it fetches qgis-common with apt-get download into a temporary folder and
unpacks it with dpkg-deb; nothing is installed.
"""
import glob
import json
import os
import subprocess
import sys
import tempfile

# Douglas-Peucker tolerance in degrees (ogr2ogr -simplify keeps each feature's topology).
COUNTRY_TOLERANCE = 0.08
STATE_TOLERANCE = 0.04
# Outline points are whole numbers of 1/180 degree, the unit of the pin coordinates.
UNITS_PER_DEGREE = 180
# Rings smaller than this across (in units) vanish at a whole window's size.
SMALLEST_RING = 18

# Natural Earth names the US states by their FIPS code; the awards name them by postal code.
POSTAL_OF_FIPS = {
    "01": "AL", "02": "AK", "04": "AZ", "05": "AR", "06": "CA", "08": "CO", "09": "CT",
    "10": "DE", "11": "DC", "12": "FL", "13": "GA", "15": "HI", "16": "ID", "17": "IL",
    "18": "IN", "19": "IA", "20": "KS", "21": "KY", "22": "LA", "23": "ME", "24": "MD",
    "25": "MA", "26": "MI", "27": "MN", "28": "MS", "29": "MO", "30": "MT", "31": "NE",
    "32": "NV", "33": "NH", "34": "NJ", "35": "NM", "36": "NY", "37": "NC", "38": "ND",
    "39": "OH", "40": "OK", "41": "OR", "42": "PA", "44": "RI", "45": "SC", "46": "SD",
    "47": "TN", "48": "TX", "49": "UT", "50": "VT", "51": "VA", "53": "WA", "54": "WV",
    "55": "WI", "56": "WY",
}


def world_map_path(work):
    subprocess.run(["apt-get", "download", "qgis-common"], cwd=work, check=True,
                   stdout=subprocess.DEVNULL)
    package = glob.glob(os.path.join(work, "qgis-common_*.deb"))[0]
    subprocess.run(["dpkg-deb", "-x", package, os.path.join(work, "x")], check=True)
    return os.path.join(work, "x/usr/share/qgis/resources/data/world_map.gpkg")


def features(gpkg, sql, tolerance, work):
    """The features that `sql` selects, simplified, as GeoJSON with outer rings counter-clockwise
    and holes clockwise (RFC 7946), so that a non-zero fill keeps lakes and enclaves right."""
    out = os.path.join(work, "layer.geojson")
    if os.path.exists(out):
        os.remove(out)
    subprocess.run(["ogr2ogr", "-f", "GeoJSON", "-lco", "RFC7946=YES", "-simplify",
                    str(tolerance), "-dialect", "SQLite", "-sql", sql, out, gpkg], check=True)
    with open(out, encoding="utf-8") as f:
        return json.load(f)["features"]


def rings(geometry):
    if geometry is None:
        return []
    polygons = geometry["coordinates"]
    if geometry["type"] == "Polygon":
        polygons = [polygons]
    return [ring for polygon in polygons for ring in polygon]


def encoded_ring(ring):
    """First point absolute, then differences, in units; None when too small to see."""
    points = []
    for lon, lat in ring[:-1]:  # GeoJSON repeats the first point at the end
        point = (round(lon * UNITS_PER_DEGREE), round(lat * UNITS_PER_DEGREE))
        if not points or point != points[-1]:
            points.append(point)
    if len(points) < 3:
        return None
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    if max(xs) - min(xs) < SMALLEST_RING and max(ys) - min(ys) < SMALLEST_RING:
        return None
    parts = ["%d,%d" % points[0]]
    parts += ["%d,%d" % (b[0] - a[0], b[1] - a[1]) for a, b in zip(points, points[1:])]
    return "R " + " ".join(parts)


def write_region(out, header, geometry):
    encoded = [r for r in map(encoded_ring, rings(geometry)) if r]
    if encoded:
        out.write(header + "\n")
        out.write("\n".join(encoded) + "\n")


def main():
    with tempfile.TemporaryDirectory() as work:
        gpkg = sys.argv[1] if len(sys.argv) > 1 else world_map_path(work)
        out = sys.stdout
        out.write("# Country and US state outlines for the map; see map-outlines.SOURCES.md.\n")
        out.write("# C name: a country; S XX name: a US state by postal code; R: one ring of\n")
        out.write("# the region above, lon,lat in 1/180 degree, first point absolute, then\n")
        out.write("# differences. Outer rings run counter-clockwise, holes clockwise.\n")
        countries = features(gpkg, "SELECT geom, NAME AS name FROM countries ORDER BY NAME",
                             COUNTRY_TOLERANCE, work)
        for feature in countries:
            name = feature["properties"]["name"] or "(unnamed)"
            write_region(out, "C " + name, feature["geometry"])
        states = features(gpkg, "SELECT geom, fips, name FROM states_provinces "
                          "WHERE adm0_a3 = 'USA' ORDER BY fips", STATE_TOLERANCE, work)
        for feature in states:
            postal = POSTAL_OF_FIPS[feature["properties"]["fips"][2:]]
            write_region(out, "S %s %s" % (postal, feature["properties"]["name"]),
                         feature["geometry"])


if __name__ == "__main__":
    main()
