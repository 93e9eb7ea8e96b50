#!/usr/bin/python3
"""Imports every KVTML file of Debian's kdeedu-kvtml-data with dictool and
compares the entries, one by one, with what an independent reader (Python's
ElementTree) finds in the file: the first two languages of a KVTML 2.0
entry, the original and first translation of a KVTML 1.0 one.

    check-kvtml-data.py build/dictool

Prints the number of files imported exactly and every other file.
"""
import os
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET


def clean(text):
    return (text or "").replace("\r\n", "\n").strip().replace("\t", " ").replace("\n", " ")


def parse(path):
    raw = open(path, "rb").read()
    try:
        return ET.fromstring(raw)
    except ET.ParseError:
        # Latin-1 letters in a file that says UTF-8 (sv/animals.kvtml).
        text = raw.decode("utf-8", errors="surrogateescape")
        text = "".join(chr(ord(c) - 0xDC00) if 0xDC80 <= ord(c) <= 0xDCFF else c for c in text)
        return ET.fromstring(text.encode("utf-8"))


def expected(path):
    root = parse(path)
    rows = []
    if root.get("version", "").startswith("2"):
        ids = sorted({int(i.get("id")) for i in root.iter("identifier")}
                     | {int(t.get("id")) for e in root.iter("entry") for t in e.findall("translation")})
        first = ids[0] if ids else 0
        second = ids[1] if len(ids) > 1 else None
        for entry in root.iter("entry"):
            texts = {}
            for translation in entry.findall("translation"):
                text = translation.find("text")
                texts[int(translation.get("id"))] = "".join(text.itertext()) if text is not None else ""
            rows.append((clean(texts.get(first)), clean(texts.get(second)) if second is not None else ""))
    else:
        for entry in root.iter("e"):
            original = entry.find("o")
            translations = entry.findall("t")
            rows.append((clean(original.text if original is not None else ""),
                         clean(translations[0].text if translations else "")))
    return [row for row in rows if row[0]]


def main(argv):
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    dictool = argv[1]
    listing = subprocess.run(["dpkg", "-L", "kdeedu-kvtml-data"], capture_output=True, text=True).stdout
    files = [line for line in listing.splitlines() if line.endswith(".kvtml")]
    work = tempfile.mkdtemp()
    dic, tsv = os.path.join(work, "out.dic"), os.path.join(work, "out.tsv")
    exact, version_one, other = 0, 0, []
    for path in files:
        with open(path, "rb") as head:
            if b'version="2' not in head.read(400):
                version_one += 1
        result = subprocess.run([dictool, "import", path, dic], capture_output=True, text=True)
        if result.returncode != 0:
            other.append((path, result.stderr.strip()))
            continue
        subprocess.run([dictool, "to-tsv", dic, tsv], check=True)
        with open(tsv, encoding="utf-8") as out:
            got = [tuple((line.split("\t") + [""])[:2]) for line in out.read().split("\n") if line]
        want = expected(path)
        if got == want:
            exact += 1
        else:
            other.append((path, "%d entries, expected %d; first differences %s"
                          % (len(got), len(want), [(g, w) for g, w in zip(got, want) if g != w][:2])))
    print("files: %d (KVTML 1.0: %d), imported exactly: %d" % (len(files), version_one, exact))
    for path, problem in other:
        print("  %s: %s" % (path, problem))
    return 0 if not other else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
