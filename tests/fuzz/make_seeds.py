#!/usr/bin/env python3
"""Writes the fuzzer's seed inputs into tests/fuzz/corpus: one per kind of press sequence.

The fuzzer reads each row's length and every choice from the end of its input and the text
itself (UTF-16LE) from the front; this builds inputs in that layout.
"""

from pathlib import Path

RESTORE, CHOOSE, CANCEL, TYPE = range(4)


def seed(rows, presses):
    front = b""
    tail = []  # in the order the fuzzer consumes them; stored reversed at the end

    def text(value):
        nonlocal front
        tail.append(len(value.encode("utf-16-le", "surrogatepass")) // 2)
        front += value.encode("utf-16-le", "surrogatepass")
        tail.append(0)  # not repeated

    for row in rows + [""] * (5 - len(rows)):
        text(row)
    for row, action, *value in presses:
        tail += [row, action]
        if value:
            text(value[0])
    return front + bytes(reversed(tail))


SEEDS = {
    "marked_path": seed(["C:\\data\\photo.jpgxaBrint"], [(0, RESTORE), (0, RESTORE)]),
    "marker_twice": seed(["a.xaBrint.b.xaBrint"], [(0, RESTORE)]),
    "marker_at_start": seed(["xaBrint.doc", "x"], [(0, RESTORE)]),
    "other_case": seed(["photo.jpgXABRINT"], [(0, RESTORE)]),
    "surrogates": seed(["\ud83d\ude00\udc00.xaBrint\ud800"], [(0, RESTORE)]),
    "browse_then_restore": seed(
        ["typed", "two"],
        [(1, CHOOSE, "C:\\a\\one.docxaBrint"), (3, CANCEL), (0, CHOOSE, "/home/ana/b.txtxaBrint"),
         (0, RESTORE)]),
    "typing": seed([], [(0, TYPE, "/tmp/axaBrintb"), (0, RESTORE), (4, TYPE, "five")]),
}

if __name__ == "__main__":
    corpus = Path(__file__).resolve().parent / "corpus"
    corpus.mkdir(exist_ok=True)
    for name, data in SEEDS.items():
        (corpus / name).write_bytes(data)
