#!/usr/bin/env python3
"""Writes one labelled example of a Markdown document to a file, as a Windows editor saves it.

Usage: doc_example.py DOCUMENT LABEL OUTPUT

A label is an HTML comment line `<!-- file: LABEL -->` (invisible in the rendered page); the
example is the fenced code block that follows it, the fence lines themselves left out. The lines
are written with CR LF ends, as Notepad saves a file that is copied out of the page and as the
tool writes its settings file. Exits 1, writing nothing, when the label is missing, appears more
than once, or is not followed by a fenced block.
"""
import sys


def example(lines, label):
    marker = "<!-- file: %s -->" % label
    starts = [i for i, line in enumerate(lines) if line.strip() == marker]
    if len(starts) != 1:
        sys.exit("doc_example: label %r found %d times" % (label, len(starts)))
    i = starts[0] + 1
    while i < len(lines) and not lines[i].strip():
        i += 1
    if i >= len(lines) or not lines[i].startswith("```"):
        sys.exit("doc_example: no fenced block after label %r" % label)
    fence = lines[i][: len(lines[i]) - len(lines[i].lstrip("`"))]
    body = []
    for line in lines[i + 1:]:
        if line.rstrip() == fence:
            return body
        body.append(line)
    sys.exit("doc_example: the block of label %r is not closed" % label)


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    document, label, output = sys.argv[1:]
    with open(document, encoding="utf-8") as f:
        lines = f.read().split("\n")
    body = example(lines, label)
    with open(output, "w", encoding="utf-8", newline="") as f:
        f.write("".join(line + "\r\n" for line in body))


if __name__ == "__main__":
    main()
