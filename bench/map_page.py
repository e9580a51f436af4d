#!/usr/bin/env python3
"""Times the map page on a crowded level, in headless Chromium.

Writes a dump whose level 0 is 64 by 64 squares with 2,000 objects (doors with frames and door
buttons, levers and plates with targets, teleporters, triggers, pits, creatures, chests), about
a tenth of the links going to two more levels, converts it with --map, opens the page with
"#level=0&bench" and prints the figures the page measured: drawing the level, selecting an
object with links, switching a link kind off and on, and a search. The same seed gives the same
dump.

Usage: bench/map_page.py [--converter PATH] [--work FOLDER] [--objects N] [--seed N]
"""

import argparse
import html
import os
import random
import re
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from make_dump import OBJECT_LIST, SEPARATOR  # noqa: E402

SIDE = 64
OTHER_LEVEL_OBJECTS = 100


def square(rng, level):
    return "%d %d %d" % (rng.randint(1, SIDE - 2), rng.randint(1, SIDE - 2), level)


def level_items(rng, level, count, other_levels):
    """count objects on the level, in groups of ten; a tenth of the links reach other_levels."""
    names = []
    lines = []

    def name_on(kind, group):
        return "%s-%d-%d" % (kind, level, group)

    def some_target():
        if other_levels and rng.random() < 0.1:
            other = rng.choice(other_levels)
            return "door-%d-%d" % (other, rng.randrange(OTHER_LEVEL_OBJECTS // 10))
        return rng.choice(names) if names else name_on("door", 0)

    group = 0
    while len(lines) < count:
        door = name_on("door", group)
        door_square = square(rng, level)
        group_lines = [
            "%s DOOR_IRON %s STATE=(CLOSED)" % (door, door_square),
            "%s DOOR_FRAME %s" % (name_on("frame", group), door_square),
            "%s DOOR_BUTTON %s WEST" % (name_on("btn", group), door_square),
            "%s LEVER_WALL %s NORTH TARGET=(%s) TOGGLE" % (name_on("lever", group), square(rng, level), some_target()),
            "%s PLATE_SWITCH %s CENTER TARGET=(%s,%s) ACTIVATE" % (
                name_on("plate", group), square(rng, level), some_target(), some_target()),
            "%s TELEPORTER %s CENTER DESTINATION=(%d,%d,%d) ROTATE:LEFT)" % (
                name_on("tele", group), square(rng, level), rng.randint(1, SIDE - 2), rng.randint(1, SIDE - 2),
                rng.choice(other_levels) if other_levels and rng.random() < 0.1 else level),
            "%s PIT %s STATE=(CLOSED)" % (name_on("pit", group), square(rng, level)),
            "%s TRIGGER %s CENTER TARGET=(%s) OPBY=(KEY_IRON) DEACTIVATE" % (
                name_on("trig", group), square(rng, level), name_on("pit", group)),
            "%s RAT %s CENTER HEALTH=(%d)" % (name_on("rat", group), square(rng, level), rng.randint(10, 90)),
            "%s TORCH_WALL %s EAST" % (name_on("torch", group), square(rng, level)),
        ]
        names += [line.split(" ", 1)[0] for line in group_lines]
        lines += group_lines
        group += 1
    return lines[:count]


def write_dump(folder, objects, seed):
    rng = random.Random(seed)
    lines = ["Dungeon dump: a crowded level for the map page", SEPARATOR, "[Main Data]", "ENTRANCE...(1,1,0,EAST)",
             SEPARATOR, "[Layout]"]
    for level in range(3):
        lines += ["WALLSET(stone)", "LIGHT(50)", "OFFSET(0,0)", "SIZE(%d,%d)" % (SIDE, SIDE)]
        for row in range(SIDE):
            if row in (0, SIDE - 1):
                lines.append("1" * SIDE)
            else:
                lines.append("1" + "".join(rng.choice("0001") for _ in range(SIDE - 2)) + "1")
    lines += [SEPARATOR, "[Items]"]
    lines += level_items(rng, 1, OTHER_LEVEL_OBJECTS, [])
    lines += level_items(rng, 2, OTHER_LEVEL_OBJECTS, [])
    lines += level_items(rng, 0, objects, [1, 2])
    with open(os.path.join(folder, "my_dungeon.txt"), "w") as out:
        out.write("\n".join(lines) + "\n")
    with open(os.path.join(folder, "obj_list.txt"), "w") as out:
        out.write(OBJECT_LIST)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--converter", default=os.path.join(os.path.dirname(HERE), "build", "dungeon2lua"))
    parser.add_argument("--work", default="/tmp/d2l-map-bench")
    parser.add_argument("--objects", type=int, default=2000)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--chromium", default="/usr/bin/chromium")
    args = parser.parse_args()

    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    write_dump(args.work, args.objects, args.seed)
    status = subprocess.run([os.path.abspath(args.converter), "--map", "map.html"], cwd=args.work,
                            stderr=subprocess.DEVNULL).returncode
    if status not in (0, 2):
        sys.exit("the converter failed with status %d" % status)
    command = [args.chromium, "--headless", "--disable-gpu", "--no-first-run", "--disable-background-networking",
               "--disable-component-update", "--disable-sync", "--window-size=1400,1000",
               "--user-data-dir=" + os.path.join(args.work, "profile"), "--dump-dom",
               "file://" + os.path.join(os.path.abspath(args.work), "map.html") + "#level=0&bench"]
    if os.geteuid() == 0:
        command.insert(2, "--no-sandbox")
    dom = subprocess.run(command, capture_output=True, text=True, timeout=300).stdout
    errors = re.search(r'id="script-errors">([^<]*)<', dom)
    if errors and errors.group(1):
        sys.exit("script error: " + html.unescape(errors.group(1)))
    result = re.search(r'id="bench-result">([^<]*)<', dom)
    if not result:
        sys.exit("the page wrote no figures")
    print("page of %d bytes" % os.path.getsize(os.path.join(args.work, "map.html")))
    print(html.unescape(result.group(1)), end="")


if __name__ == "__main__":
    main()
