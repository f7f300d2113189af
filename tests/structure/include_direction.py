#!/usr/bin/env python3
"""Fails when a file of the logic includes a header of a room it may not use.

Usage: include_direction.py SRC_DIR ROOM=USES,USES ...   (the rooms and arrows of CMakeLists.txt)
       include_direction.py --self-test ROOM=USES ...     (proves that a wrong include is caught)

Every room may include its own headers and the platform's interface headers (src/platform/*.h);
no room includes a platform binding (src/platform/win32/, src/platform/sim/). The bindings include
only platform headers; each Windows entry point reaches its own program's entry alone (the window
program's shell, the command-line program).
"""
import os
import re
import sys
import tempfile

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
# Each entry point of the Windows build and the one header of the logic it may include.
ENTRY_POINTS = {
    "platform/win32/winmain_win32.cpp": "app/app_main.h",
    "platform/win32/cli_main_win32.cpp": "cli/cli_main.h",
}


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
        if ENTRY_POINTS.get(path) == header:
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
    """Every room including every room, the platform's interface and a binding, and each entry
    point including each program's entry, judged by allowed(); then one tree on disk, whose one
    wrong include and one unknown room violations() must find among right includes."""
    entries = sorted(ENTRY_POINTS.items())
    cases = [(f"{room}/a.cpp", f"{other}/x.h", other == room or other in uses)
             for room, uses in rooms.items() for other in rooms]
    cases += [(f"{room}/a.cpp", header, header == "platform/types.h")
              for room in rooms for header in ("platform/types.h", "platform/sim/sim_desktop.h")]
    cases += [(path, header, header == own) for path, own in entries for _, header in entries]
    wrong = [case for case in cases if allowed(case[0], case[1], rooms) != case[2]]
    room, uses = max(((r, u) for r, u in rooms.items() if set(rooms) - u - {r}),
                     key=lambda room_uses: len(room_uses[1]))
    forbidden = sorted(set(rooms) - uses - {room})[0]
    with tempfile.TemporaryDirectory() as src:
        for folder in (room, "elsewhere"):
            os.makedirs(os.path.join(src, folder))
        with open(os.path.join(src, room, "a.cpp"), "w") as f:
            f.write("".join(f'#include "{used}/x.h"\n' for used in sorted(uses) + [forbidden]))
        open(os.path.join(src, "elsewhere", "b.h"), "w").close()
        found = violations(src, rooms)
    if wrong or len(found) != 2:
        print(f"self-test: misjudged {wrong}; in the tree {found}")
        return 1
    print(f"self-test: {len(cases)} includes judged, a wrong include and an unknown room found")
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
