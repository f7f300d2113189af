"""One labelled example of a Markdown page, saved as an operator who copies it out of the page saves
it, so that a test runs the very text the page shows: the fenced block after a line
`<!-- file: LABEL -->` (invisible in the rendered page), without its fence lines, each line ended
in CR LF as Notepad saves it and the tool writes its settings file."""


class NoExample(AssertionError):
    pass


def write_example(document, label, path):
    """The example written at path; its bytes. NoExample when the label is missing, appears more
    than once, or is not followed by a closed fenced block."""
    with open(document, encoding="utf-8") as f:
        lines = f.read().split("\n")
    starts = [i for i, line in enumerate(lines) if line.strip() == "<!-- file: %s -->" % label]
    if len(starts) != 1:
        raise NoExample("label %r found %d times" % (label, len(starts)))
    i = starts[0] + 1
    while i < len(lines) and not lines[i].strip():
        i += 1
    if i >= len(lines) or not lines[i].startswith("```"):
        raise NoExample("no fenced block after label %r" % label)
    fence = lines[i][: len(lines[i]) - len(lines[i].lstrip("`"))]
    end = next((e for e in range(i + 1, len(lines)) if lines[e].rstrip() == fence), None)
    if end is None:
        raise NoExample("the block of label %r is not closed" % label)
    data = "".join(line + "\r\n" for line in lines[i + 1:end]).encode("utf-8")
    with open(path, "wb") as f:
        f.write(data)
    return data
