#!/usr/bin/env python3
"""Writes a large dungeon dump and its object name list for the benchmark.

The same shape, size and seed always give the same bytes. Shapes:
  realistic      several levels (one more for every 60,000 item lines beyond 360,000); every
                 kind of object with its keywords, holders with held objects, doors with frames
                 and door buttons, every door on a square of its own, champions and a party
  wide_holder    one chest whose HOLDS=( lists every other object of the dump
  nested_holders a chain of holders, each held by the one before it
  door_buttons   one door and every other object a door button on its square
  shared_held    one held object that every other object names as its holder
  off_map        every object outside its level's map: one warning per item line, found in
                 line order
  later_holders  every held object named by a second holder, the second holders in reverse
                 order: one error per held object, found from the last line up
  levels64       ten levels of 64 by 64 squares, the objects spread over them in rooms: each
                 room's links (targets, door buttons, teleporters) mostly reach squares near it,
                 a few the level above or below

Usage: make_dump.py SHAPE ITEM_LINES FOLDER [--seed N]
"""

import argparse
import os
import random

OBJECT_LIST = """TORCH_WALL torch_holder
DOOR_IRON door_iron
DOOR_FRAME doorframe
DOOR_BUTTON doorbutton
LEVER_WALL lever
PLATE_SWITCH pressure_plate
WALL_SWITCH button
SMALL_SWITCH small_button
CHEST chest
KEY_IRON key_iron
COIN_GOLD coin_gold
FLASK_HEAL flask_heal
BOMB_FIRE bomb_fire
TORCH torch
PIT pit
TRIGGER trigger
TELEPORTER teleporter
FLOOR_TEXT floortext
SHOOTER shooter
FIREBALL fireball
GENERATOR generator
RAT giant_rat
SPIDER cave_spider
BONE bone
FLOOR_DAMAGER floordamager
MIRROR mirror
GHOST X_UNKNOWN
"""

SEPARATOR = "/" + "*" * 78 + "/"
PLACES = ["NORTHWEST", "NORTHEAST", "SOUTHWEST", "SOUTHEAST", "NORTH", "SOUTH", "WEST", "EAST", "CENTER"]
WALL_PLACES = ["NORTH", "SOUTH", "WEST", "EAST"]
WORDS = ["beware", "the", "drowned", "hall", "keys", "open", "doors", "of", "stone", "and", "water", "below"]
CHAMPIONS = ["ch-tamsin", "ch-hale", "ch-orrin", "ch-mira", "ch-bryn", "ch-sela"]
LEVEL_SIDE = 64


def levels_for(rng, count):
    """(offset_x, offset_y) per level: a stack of levels shifted a little against each other."""
    return [(rng.randint(-8, 8), rng.randint(-8, 8)) for _ in range(count)]


def header(rng, levels):
    lines = ["Dungeon dump: a benchmark dungeon written for dungeon2lua", SEPARATOR, "[Main Data]",
             "NAME...(Benchmark)", "ENTRANCE...(1,1,0,EAST)", SEPARATOR, "[Layout]"]
    for number, (offset_x, offset_y) in enumerate(levels):
        lines += ["WALLSET(stone)", "LIGHT(%d)" % rng.randint(20, 90), "OFFSET(%d,%d)" % (offset_x, offset_y),
                  "SIZE(%d,%d)" % (LEVEL_SIDE, LEVEL_SIDE), "ITEM_PREFIX(b%d)" % number,
                  "DESCRIPTION(Level %d)" % number]
        for row in range(LEVEL_SIDE):
            if row in (0, LEVEL_SIDE - 1):
                lines.append("1" * LEVEL_SIDE)
            else:
                inner = "".join(rng.choice("0001") for _ in range(LEVEL_SIDE - 2))
                lines.append("1" + inner + "1")
    lines += [SEPARATOR, "[Items]"]
    return lines


def footer(rng):
    lines = [SEPARATOR, "[Characters]"]
    for name in CHAMPIONS:
        short = name.split("-")[1]
        numbers = ",".join(str(rng.randint(10, 60)) for _ in range(3))
        reals = ",".join("%.2f" % (rng.randint(0, 400) / 100) for _ in range(4))
        stats = ",".join(str(rng.randint(20, 50)) for _ in range(6))
        title = " TITLE (the %s)" % rng.choice(WORDS) if rng.random() < 0.5 else ""
        lines.append("%s (%s)%s (%s) face:IMG_FACE_%s, (%s) (%s) (%s)" % (
            name, short.capitalize(), title, rng.choice("mf"), short.upper(), numbers, reals, stats))
    lines.append("[Party]")
    lines += CHAMPIONS[:4]
    return lines


class Realistic:
    """Groups of objects as a dungeon author places them: a room's worth of every kind at a time."""

    def __init__(self, rng, levels):
        self.rng = rng
        self.levels = len(levels)
        self.group = 0
        self.door_squares = set()

    def square(self):
        r = self.rng
        return "%d %d %d" % (r.randint(1, LEVEL_SIDE - 2), r.randint(1, LEVEL_SIDE - 2), r.randrange(self.levels))

    def door_square(self):
        """A square that no other door stands on, so that a door button opens the door of its group."""
        if len(self.door_squares) == self.levels * (LEVEL_SIDE - 2) ** 2:
            raise ValueError("more doors than squares: give the dump more levels")
        square = self.square()
        while square in self.door_squares:
            square = self.square()
        self.door_squares.add(square)
        return square

    def place(self):
        return self.rng.choice(PLACES)

    def next_group(self):
        r = self.rng
        g = self.group
        self.group += 1
        n = lambda kind: "%s-%d" % (kind, g)
        lines = [";  room %d" % g]
        lines.append("%s TORCH_WALL %s %s" % (n("torch"), self.square(), r.choice(WALL_PLACES)))
        door_square = self.door_square()
        lines.append("%s DOOR_IRON %s STATE=(%s)" % (n("door"), door_square, r.choice(["CLOSED", "OPEN"])))
        lines.append("%s DOOR_FRAME %s" % (n("frame"), door_square))
        for b in range(r.randint(1, 2)):
            lines.append("%s-%d DOOR_BUTTON %s %s" % (n("btn"), b, door_square, r.choice(WALL_PLACES)))
        state = " STATE:B" if r.random() < 0.5 else ""
        lines.append("%s LEVER_WALL %s %s%s TARGET=(%s) %s SOUND:SOUND_STD_LEVER)" % (
            n("lever"), self.square(), r.choice(WALL_PLACES), state, n("door"), r.choice(["TOGGLE", "ACTIVATE"])))
        lines.append("%s PLATE_SWITCH %s CENTER TARGET=(%s,%s) DELAY:%d, OPBY=(%s) %s" % (
            n("plate"), self.square(), n("shooter"), n("gen"), r.randint(0, 9),
            r.choice(["PARTY,OBJECT", "PARTY", "MONSTER", "ALL", "KEY_IRON"]), r.choice(["ACTIVATE", "DEACTIVATE"])))
        held = [(kind, "%s-%d" % (n(kind), k)) for k, kind in
                enumerate(r.choice(["key", "coin", "flask", "torchi"]) for _ in range(r.randint(1, 4)))]
        lines.append("%s CHEST %s %s HOLDS=(%s)" % (n("chest"), self.square(), self.place(),
                                                    ", ".join(name for _, name in held)))
        for kind, name in held:
            if kind == "key":
                lines.append("%s KEY_IRON 0 0 -1" % name)
            elif kind == "coin":
                lines.append("%s COIN_GOLD 0 0 -1 COUNT=(%d)" % (name, r.randint(1, 50)))
            elif kind == "flask":
                lines.append("%s FLASK_HEAL 0 0 -1 CHARGE=(%d)" % (name, r.randint(0, 99)))
            else:
                lines.append("%s TORCH 0 0 -1 CHARGE=(%d)" % (name, r.randint(0, 99)))
        lines.append("%s PIT %s STATE=(%s)" % (n("pit"), self.square(), r.choice(["CLOSED", "OPEN"])))
        lines.append("%s TRIGGER %s CENTER TARGET=(%s) OPBY=(KEY_IRON) DEACTIVATE DESTROY_ITEM DISABLE_SELF" % (
            n("trig"), self.square(), n("pit")))
        lines.append("%s TELEPORTER %s CENTER DESTINATION=(%d,%d,%d) ROTATE:%s)" % (
            n("tele"), self.square(), r.randint(1, LEVEL_SIDE - 2), r.randint(1, LEVEL_SIDE - 2),
            r.randrange(self.levels), r.choice(["LEFT", "RIGHT", "180", "NORTH", "EAST"])))
        text = " ".join(r.choice(WORDS) for _ in range(r.randint(2, 6))).upper()
        lines.append("%s FLOOR_TEXT %s CENTER TEXT=(%s)" % (n("note"), self.square(), text))
        lines.append("%s SHOOTER %s %s SHOOTS=(FIREBALL) STRENGTH=(%d)%s" % (
            n("shooter"), self.square(), r.choice(WALL_PLACES), r.randint(5, 60),
            " TYPE=(DOUBLE)" if r.random() < 0.5 else ""))
        lines.append("%s BOMB_FIRE %s %s CHARGE=(%d)" % (n("bomb"), self.square(), self.place(), r.randint(0, 99)))
        lines.append("%s GENERATOR %s CENTER GENERATES=(%s) HEALTH=(%d) NUMBERS=(%d-%d) RECHARGE_TIME:%d)" % (
            n("gen"), self.square(), r.choice(["RAT", "SPIDER"]), r.randint(10, 90), r.randint(1, 3),
            r.randint(3, 6), r.randint(10, 90)))
        lines.append("%s RAT %s %s CARRYING=(%s) HEALTH=(%d)" % (
            n("rat"), self.square(), self.place(), n("bone"), r.randint(10, 90)))
        lines.append("%s BONE 0 0 -1" % n("bone"))
        lines.append("%s FLOOR_DAMAGER %s CENTER DAMAGE=(%d) TYPE=(%d)" % (
            n("spikes"), self.square(), r.randint(1, 20), r.randint(0, 3)))
        lines.append("%s MIRROR %s %s HOLDS=(%s)" % (n("mirror"), self.square(), r.choice(WALL_PLACES),
                                                     r.choice(CHAMPIONS)))
        lines.append("%s WALL_SWITCH %s %s TARGET=(%s) RELEASE CONSTANT_WEIGHT ACTION=(DESTROY)" % (
            n("button"), self.square(), r.choice(WALL_PLACES), n("mirror")))
        lines.append("%s SMALL_SWITCH %s %s%s TARGET=(%s)" % (
            n("small"), self.square(), r.choice(WALL_PLACES), state, n("door")))
        lines.append("%s GHOST %s CENTER HEALTH=(%d) STATE=(INVISIBLE)" % (n("ghost"), self.square(),
                                                                           r.randint(10, 90)))
        return lines

    def filler(self, number):
        return "%s TORCH_WALL %s %s" % ("fill-%d" % number, self.square(), self.rng.choice(WALL_PLACES))

    def items(self, count):
        lines = []
        written = 0
        while True:
            group = self.next_group()
            size = sum(1 for line in group if not line.startswith(";"))
            if written + size > count:
                break
            lines += group
            written += size
        lines += [self.filler(k) for k in range(count - written)]
        return lines


class Rooms:
    """Rooms of objects on ten levels, whose links mostly stay near the room."""

    def __init__(self, rng, levels):
        self.rng = rng
        self.levels = len(levels)
        self.room = 0
        self.door_squares = set()

    def near(self, level, cx, cy, spread=4):
        r = self.rng
        x = min(LEVEL_SIDE - 2, max(1, cx + r.randint(-spread, spread)))
        y = min(LEVEL_SIDE - 2, max(1, cy + r.randint(-spread, spread)))
        return "%d %d %d" % (x, y, level)

    def door_square(self, level, cx, cy):
        """A square near the room's centre that no other door stands on (farther out while the
        near ones are taken), so that a door button opens the door of its room."""
        spread = 4
        square = self.near(level, cx, cy, spread)
        while square in self.door_squares:
            if spread >= LEVEL_SIDE:
                free = [("%d %d %d" % (x, y, level)) for y in range(1, LEVEL_SIDE - 1) for x in range(1, LEVEL_SIDE - 1)]
                free = [place for place in free if place not in self.door_squares]
                if not free:
                    raise ValueError("more doors than squares on level %d" % level)
                square = free[0]
                break
            spread += 1
            square = self.near(level, cx, cy, spread)
        self.door_squares.add(square)
        return square

    def next_room(self, level):
        r = self.rng
        g = self.room
        self.room += 1
        n = lambda kind: "%s-%d" % (kind, g)
        cx, cy = r.randint(4, LEVEL_SIDE - 5), r.randint(4, LEVEL_SIDE - 5)
        far = lambda: r.random() < 0.1 and self.levels > 1
        other = lambda: max(0, min(self.levels - 1, level + r.choice([-1, 1])))
        door_square = self.door_square(level, cx, cy)
        lines = [
            "%s DOOR_IRON %s STATE=(CLOSED)" % (n("door"), door_square),
            "%s DOOR_FRAME %s" % (n("frame"), door_square),
            "%s DOOR_BUTTON %s WEST" % (n("btn"), door_square),
            "%s LEVER_WALL %s NORTH TARGET=(%s) TOGGLE" % (
                n("lever"), self.near(level, cx, cy), "door-%d" % (g - 1) if far() and g else n("door")),
            "%s PLATE_SWITCH %s CENTER TARGET=(%s,%s) ACTIVATE" % (
                n("plate"), self.near(level, cx, cy), n("pit"), n("shooter")),
            "%s TELEPORTER %s CENTER DESTINATION=(%s) ROTATE:LEFT)" % (
                n("tele"), self.near(level, cx, cy), ",".join(self.near(other() if far() else level, cx, cy, 8).split())),
            "%s PIT %s STATE=(CLOSED)" % (n("pit"), self.near(level, cx, cy)),
            "%s TRIGGER %s CENTER TARGET=(%s) OPBY=(KEY_IRON) DEACTIVATE" % (n("trig"), self.near(level, cx, cy), n("pit")),
            "%s SHOOTER %s %s SHOOTS=(FIREBALL) STRENGTH=(%d)" % (
                n("shooter"), self.near(level, cx, cy), r.choice(WALL_PLACES), r.randint(5, 60)),
            "%s RAT %s CENTER HEALTH=(%d)" % (n("rat"), self.near(level, cx, cy), r.randint(10, 90)),
            "%s TORCH_WALL %s %s" % (n("torch"), self.near(level, cx, cy), r.choice(WALL_PLACES)),
            "%s FLOOR_TEXT %s CENTER TEXT=(BEWARE)" % (n("note"), self.near(level, cx, cy)),
            "%s FLASK_HEAL %s %s CHARGE=(%d)" % (n("flask"), self.near(level, cx, cy), self.place(), r.randint(0, 99)),
            "%s BOMB_FIRE %s %s CHARGE=(%d)" % (n("bomb"), self.near(level, cx, cy), self.place(), r.randint(0, 99)),
            "%s CHEST %s %s" % (n("chest"), self.near(level, cx, cy), self.place()),
            "%s GENERATOR %s CENTER GENERATES=(RAT) HEALTH=(20) NUMBERS=(1-3) RECHARGE_TIME:30)" % (
                n("gen"), self.near(level, cx, cy)),
        ]
        return lines

    def place(self):
        return self.rng.choice(PLACES)

    def items(self, count):
        per_level = [count // self.levels + (1 if k < count % self.levels else 0) for k in range(self.levels)]
        lines = []
        for level, wanted in enumerate(per_level):
            made = []
            while len(made) < wanted:
                made += self.next_room(level)
            lines += made[:wanted]
        return lines


def shape_items(shape, count):
    """The item lines of one of the shapes that stress a single link."""
    others = count - 1
    if shape == "wide_holder":
        lines = ["chest CHEST 2 2 0 CENTER HOLDS=(%s)" % ",".join("o-%d" % i for i in range(others))]
        lines += ["o-%d COIN_GOLD 0 0 -1 COUNT=(%d)" % (i, i % 50 + 1) for i in range(others)]
    elif shape == "nested_holders":
        lines = ["h-0 CHEST 2 2 0 CENTER HOLDS=(h-1)"]
        lines += ["h-%d CHEST 0 0 -1 HOLDS=(h-%d)" % (i, i + 1) for i in range(1, others)]
        lines.append("h-%d KEY_IRON 0 0 -1" % others)
    elif shape == "door_buttons":
        lines = ["door DOOR_IRON 5 5 0 STATE=(CLOSED)"]
        lines += ["b-%d DOOR_BUTTON 5 5 0 %s" % (i, WALL_PLACES[i % 4]) for i in range(others)]
    elif shape == "shared_held":
        lines = ["h-%d CHEST %d %d 0 CENTER HOLDS=(key)" % (i, i % 60 + 2, i // 60 % 60 + 2) for i in range(others)]
        lines.append("key KEY_IRON 0 0 -1")
    elif shape == "off_map":
        lines = ["o-%d KEY_IRON 999 %d 0" % (i, i % 60) for i in range(count)]
    elif shape == "later_holders":
        held = count // 3
        lines = ["a-%d CHEST %d %d 0 CENTER HOLDS=(k-%d)" % (i, i % 60 + 2, i // 60 % 60 + 2, i) for i in range(held)]
        lines += ["b-%d CHEST %d %d 0 CENTER HOLDS=(k-%d)" % (i, i % 60 + 2, i // 60 % 60 + 2, i)
                  for i in reversed(range(held))]
        lines += ["k-%d KEY_IRON 0 0 -1" % i for i in range(held)]
    else:
        raise SystemExit("unknown shape: " + shape)
    return lines


SHAPES = ["realistic", "wide_holder", "nested_holders", "door_buttons", "shared_held", "levels64", "off_map",
          "later_holders"]


def write_dump(shape, count, folder, seed=1):
    """Writes my_dungeon.txt and obj_list.txt into the folder; returns the dump's path."""
    rng = random.Random("%s/%d/%d" % (shape, count, seed))
    # A realistic dump of many lines gets more levels, so that every door has a square of its own.
    level_count = max(6, -(-count // 60000)) if shape == "realistic" else {"levels64": 10}.get(shape, 1)
    levels = levels_for(rng, level_count)
    lines = header(rng, levels)
    if shape == "realistic":
        lines += Realistic(rng, levels).items(count)
    elif shape == "levels64":
        lines += Rooms(rng, levels).items(count)
    else:
        lines += shape_items(shape, count)
    lines += footer(rng)
    os.makedirs(folder, exist_ok=True)
    path = os.path.join(folder, "my_dungeon.txt")
    with open(path, "w", newline="\n") as out:
        out.write("\n".join(lines) + "\n")
    with open(os.path.join(folder, "obj_list.txt"), "w", newline="\n") as out:
        out.write(OBJECT_LIST)
    return path


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("shape", choices=SHAPES)
    parser.add_argument("item_lines", type=int)
    parser.add_argument("folder")
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()
    write_dump(args.shape, args.item_lines, args.folder, args.seed)


if __name__ == "__main__":
    main()
