#!/usr/bin/env python3
"""Compares pages of two PDFs as pictures: renders each page at 150 dpi in
grey with pdftoppm and counts the pixels that differ by more than a level
that anti-aliasing reaches. Prints one line per page and exits 1 when a page
differs beyond anti-aliasing (or the page counts differ).

    scripts/compare-pdf-pages.py A.pdf B.pdf [PAGE ...]   (default: every page)
"""
import subprocess
import sys
import tempfile

STRONG = 96          # a grey-level difference anti-aliasing stays below
ALLOWED = 0.0002     # share of a page's pixels that may differ that much


def pages(pdf):
    out = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True, check=True).stdout
    return int(next(line.split()[1] for line in out.splitlines() if line.startswith("Pages:")))


def render(pdf, page, directory):
    prefix = f"{directory}/p"
    subprocess.run(["pdftoppm", "-r", "150", "-gray", "-f", str(page), "-l", str(page), "-singlefile",
                    pdf, prefix], check=True)
    data = open(prefix + ".pgm", "rb").read()
    # P5 header: magic, width, height, maxval, each followed by white space.
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    return int(fields[1]), int(fields[2]), data[pos + 1:]


def main():
    a, b = sys.argv[1], sys.argv[2]
    count = pages(a)
    if pages(b) != count:
        print(f"page counts differ: {count} and {pages(b)}")
        return 1
    wanted = [int(p) for p in sys.argv[3:]] or range(1, count + 1)
    bad = 0
    with tempfile.TemporaryDirectory() as da, tempfile.TemporaryDirectory() as db:
        for page in wanted:
            wa, ha, pa = render(a, page, da)
            wb, hb, pb = render(b, page, db)
            if (wa, ha) != (wb, hb):
                print(f"page {page}: sizes differ")
                bad += 1
                continue
            differ = sum(1 for x, y in zip(pa, pb) if abs(x - y) > STRONG)
            ink = sum(1 for x in pa if x < 128)
            share = differ / (wa * ha)
            ok = share <= ALLOWED
            bad += not ok
            print(f"page {page}: {differ} strongly different pixels of {wa * ha} ({ink} inked) {'ok' if ok else 'DIFFERENT'}")
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
