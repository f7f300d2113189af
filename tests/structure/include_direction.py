#!/usr/bin/env python3
"""Fails when a file of the logic includes a header of a room it may not use.

Usage: include_direction.py SRC_DIR ROOM=USES,USES ...   (the rooms and arrows of CMakeLists.txt)
       include_direction.py --self-test ROOM=USES ...     (proves that a wrong include is caught)

Every room may include its own headers and the platform's interface headers (src/platform/*.h);
no room includes a platform binding (src/platform/win32/, src/platform/sim/). The bindings include
only platform headers; the Windows entry point alone reaches the shell.
"""
import os
import re
import sys
import tempfile

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
ENTRY_POINT = "platform/win32/winmain_win32.cpp"


def parse_rooms(args):
    rooms = {}
    for arg in args:
        room, _, uses = arg.partition("=")
        rooms[room] = set(filter(None, uses.split(",")))
    return rooms


def allowed(path, header, rooms):
    """True when the file at PATH (relative to src) may include HEADER."""
    parts = path.split("/")
    target = header.split("/")
    if len(target) < 2:
        return False  # every include names its room
    if parts[0] == "platform":
        if path == ENTRY_POINT and header == "app/app_main.h":
            return True
        return target[0] == "platform"
    room = parts[0]
    if target[0] == "platform":
        return len(target) == 2  # the interface headers, not a binding's
    return target[0] == room or target[0] in rooms.get(room, set())


def violations(src, rooms):
    found = []
    for directory, _, files in os.walk(src):
        for name in sorted(files):
            if not name.endswith((".h", ".cpp")):
                continue
            full = os.path.join(directory, name)
            path = os.path.relpath(full, src).replace(os.sep, "/")
            room = path.split("/")[0]
            if room != "platform" and room not in rooms:
                found.append(f"{path}: room '{room}' is not among the rooms of CMakeLists.txt")
                continue
            with open(full, encoding="utf-8", errors="replace") as f:
                for header in INCLUDE.findall(f.read()):
                    if not allowed(path, header, rooms):
                        found.append(f"{path}: includes \"{header}\", which its room may not use")
    return found


def self_test(rooms):
    """A tree with one file in each room including a header from the room above it must fail
    once per room, and the same tree with downward includes must pass."""
    order = list(rooms)
    with tempfile.TemporaryDirectory() as src:
        for room in order:
            os.makedirs(os.path.join(src, room))
        for lower, upper in zip(order, order[1:]):
            with open(os.path.join(src, lower, "up.cpp"), "w") as f:
                f.write(f'#include "{upper}/x.h"\n')
            with open(os.path.join(src, upper, "down.cpp"), "w") as f:
                f.write(f'#include "{lower}/x.h"\n#include "platform/types.h"\n')
        caught = violations(src, rooms)
        expected = len(order) - 1
        if len(caught) != expected:
            print(f"self-test: expected {expected} violations, got {len(caught)}: {caught}")
            return 1
        with open(os.path.join(src, order[-1], "binding.cpp"), "w") as f:
            f.write('#include "platform/sim/sim_desktop.h"\n')
        if len(violations(src, rooms)) != expected + 1:
            print("self-test: an include of a platform binding was not caught")
            return 1
    print(f"self-test: {expected} upward includes and one binding include caught")
    return 0


def main(argv):
    if argv and argv[0] == "--self-test":
        return self_test(parse_rooms(argv[1:]))
    src, rooms = argv[0], parse_rooms(argv[1:])
    found = violations(src, rooms)
    for line in found:
        print(line)
    print(f"{len(found)} include(s) against the direction of the rooms")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
