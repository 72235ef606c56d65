#!/usr/bin/env python3
"""Writes COUNT XRDML 1.5 files of POINTS points each into DIR (one Gonio scan,
2-theta start and end, integer counts in <intensities>, as Data Collector writes them
and as xyconv reads them), for the XRDML benchmarks."""
import math
import sys

HEAD = """<?xml version="1.0" encoding="UTF-8"?>
<xrdMeasurements xmlns="http://www.xrdml.com/XRDMeasurement/1.5" status="Completed">
\t<sample type="To be analyzed"><id>Bench scan %03d</id><name>bench</name></sample>
\t<xrdMeasurement measurementType="Scan" status="Completed">
\t\t<usedWavelength intended="K-Alpha"><kAlpha1 unit="Angstrom">1.5405980</kAlpha1><kAlpha2 unit="Angstrom">1.5444260</kAlpha2><ratioKAlpha2KAlpha1>0.5000</ratioKAlpha2KAlpha1></usedWavelength>
\t\t<incidentBeamPath><xRayTube><anodeMaterial>Cu</anodeMaterial></xRayTube></incidentBeamPath>
\t\t<scan appendNumber="0" mode="Continuous" scanAxis="Gonio" status="Completed">
\t\t\t<header><startTimeStamp>2026-12-08T10:00:00+01:00</startTimeStamp></header>
\t\t\t<dataPoints>
\t\t\t\t<positions axis="2Theta" unit="deg"><startPosition>3.00000000</startPosition><endPosition>%.8f</endPosition></positions>
\t\t\t\t<commonCountingTime unit="seconds">1.000</commonCountingTime>
\t\t\t\t<intensities unit="counts">"""
TAIL = """</intensities>
\t\t\t</dataPoints>
\t\t</scan>
\t</xrdMeasurement>
</xrdMeasurements>
"""


def main():
    folder, count, points = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    values = " ".join(str(int(100 + 900 * math.exp(-((k % 2000) - 1000) ** 2 / 5e3) + k * 7919 % 97))
                      for k in range(points))
    for i in range(count):
        with open("%s/S%03d.xrdml" % (folder, i), "w", encoding="utf-8") as out:
            out.write(HEAD % (i, 3.0 + 0.01 * (points - 1)) + values + TAIL)


main()
