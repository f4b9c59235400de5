#!/usr/bin/python3
# The benchmark's peer for printing: a reportlab script writing one catalog
# line per font into one PDF, as Basic Catalog I does (a 16-point sample in
# the font, embedded, and a caption in Helvetica below it).
#
#   reportlab_catalog.py LIST OUTPUT.pdf
#
# LIST holds one font file a line. reportlab reads TrueType outlines only: a
# file it cannot load (CFF outlines, damage) is left out and counted. Prints
# "printed N skipped M".
import os
import sys

from reportlab.lib.pagesizes import letter
from reportlab.pdfbase import pdfmetrics
from reportlab.pdfbase.ttfonts import TTFont
from reportlab.pdfgen import canvas

SAMPLE = "ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz 0123456789"


def main():
    files = [line.rstrip("\n") for line in open(sys.argv[1], encoding="utf-8") if line.strip()]
    pdf = canvas.Canvas(sys.argv[2], pagesize=letter)
    width, height = letter
    top, bottom, left = height - 72, 72, 54
    y = top
    printed = skipped = 0
    for number, path in enumerate(files):
        name = "F%d" % number
        try:
            font = TTFont(name, path)
            pdfmetrics.registerFont(font)
        except Exception:
            skipped += 1
            continue
        if y - 40 < bottom:
            pdf.showPage()
            y = top
        pdf.setFont(name, 16)
        pdf.drawString(left, y - 16, SAMPLE)
        pdf.setFont("Helvetica", 8)
        face = font.face.name
        face = face.decode("latin-1") if isinstance(face, bytes) else str(face)
        pdf.drawString(left, y - 34, "%s  %s  %dk" % (face, os.path.basename(path), os.path.getsize(path) // 1024))
        y -= 44
        printed += 1
    pdf.save()
    print("printed %d skipped %d" % (printed, skipped))


if __name__ == "__main__":
    main()
