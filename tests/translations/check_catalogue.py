#!/usr/bin/env python3
"""The catalogue is complete: lupdate reads the sources into a copy of each .ts file, and every message
there must be translated (none unfinished, none new), and keep the "%1"-style arguments of its source.

usage: check_catalogue.py LUPDATE SOURCE_DIR TS_FILE..."""
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

lupdate, source_dir, ts_files = sys.argv[1], sys.argv[2], sys.argv[3:]
sources = [f"{source_dir}/src/app", f"{source_dir}/src/companion"]
problems = []
for ts in ts_files:
    with tempfile.TemporaryDirectory() as work:
        copy = f"{work}/{ts.rsplit('/', 1)[-1]}"
        shutil.copy(ts, copy)
        subprocess.run([lupdate, "-silent", "-locations", "none", *sources, "-ts", copy], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        root = ET.parse(copy).getroot()
    for context in root.iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            source = message.findtext("source") or ""
            translation = message.find("translation")
            kind = translation.get("type") if translation is not None else "missing"
            if kind in ("obsolete", "vanished"):
                continue
            text = (translation.text or "") if translation is not None else ""
            if kind in ("unfinished", "missing") or not text:
                problems.append(f"{ts}: {name}: not translated: {source!r}")
            elif sorted(re.findall(r"%\d", source)) != sorted(re.findall(r"%\d", text)):
                problems.append(f"{ts}: {name}: arguments differ: {source!r} -> {text!r}")
print("\n".join(problems) or "every message is translated")
sys.exit(1 if problems else 0)
