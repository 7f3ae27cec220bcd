#!/usr/bin/env python3
"""Fails when an enumerator of the reference has no documentation.

Doxygen's WARN_IF_UNDOCUMENTED does not cover enum values (the host message codes, the menu
command ids), so the reference's XML is checked here. Usage: check_enum_values.py <xml folder>
"""
import glob
import sys
import xml.etree.ElementTree as ET


def text_of(element):
    return "".join(element.itertext()).strip() if element is not None else ""


def main(xml_dir):
    missing = []
    for path in sorted(glob.glob(f"{xml_dir}/*.xml")):
        for enum in ET.parse(path).getroot().iter("memberdef"):
            if enum.get("kind") != "enum":
                continue
            location = enum.find("location")
            where = f"{location.get('file')}:{location.get('line')}" if location is not None else path
            for value in enum.findall("enumvalue"):
                if not text_of(value.find("briefdescription")) and not text_of(value.find("detaileddescription")):
                    missing.append(f"{where}: enum value {value.findtext('name')} of {enum.findtext('name')} is not documented.")
    for line in dict.fromkeys(missing):  # an enum is listed in its file's and its namespace's XML
        print(line)
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
