"""One labelled example of a Markdown page, as an operator who copies it out of the page saves it,
so that a test runs the very text the page shows and a page that drifts from the tool fails.

A label is an HTML comment line `<!-- file: LABEL -->` (invisible in the rendered page); the
example is the fenced code block that follows it, the fence lines themselves left out. The lines
end in CR LF, as Notepad saves a file copied out of the page and as the tool writes its settings
file."""


class NoExample(AssertionError):
    pass


def example_lines(lines, label):
    marker = "<!-- file: %s -->" % label
    starts = [i for i, line in enumerate(lines) if line.strip() == marker]
    if len(starts) != 1:
        raise NoExample("label %r found %d times" % (label, len(starts)))
    i = starts[0] + 1
    while i < len(lines) and not lines[i].strip():
        i += 1
    if i >= len(lines) or not lines[i].startswith("```"):
        raise NoExample("no fenced block after label %r" % label)
    fence = lines[i][: len(lines[i]) - len(lines[i].lstrip("`"))]
    for end in range(i + 1, len(lines)):
        if lines[end].rstrip() == fence:
            return lines[i + 1:end]
    raise NoExample("the block of label %r is not closed" % label)


def example_bytes(document, label):
    """The example's bytes; NoExample when the label is missing, appears more than once, or is
    not followed by a closed fenced block."""
    with open(document, encoding="utf-8") as f:
        lines = f.read().split("\n")
    return "".join(line + "\r\n" for line in example_lines(lines, label)).encode("utf-8")


def write_example(document, label, path):
    data = example_bytes(document, label)
    with open(path, "wb") as f:
        f.write(data)
    return data
