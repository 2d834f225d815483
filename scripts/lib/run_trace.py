"""Which of a level's mechanics a run meets, read from binhopper-sim --trace.

The run meets an object when the avatar, or a bag or baddie while the avatar carries it and until
it comes to rest after being thrown or put down, comes within a cell of it (their 20-pixel squares
less than 20 px apart); spikes and force fields also when the avatar passes over them with no
fixed wall between (a fall would end on them); or when the run changes what the object does: a lever, press pad or
baddie whose trace line differs, frame by frame, from a run of the same length with no key
pressed (compared only while the avatar of that idle run lives). Sealed engine rooms, levers no
one flips and hazards far from the route are not met."""
from campaign import end_fields, run_tool

CELL = 20.0
NEAR = 2 * CELL  # top-left corners closer than this on both axes: squares less than a cell apart
RESTING, CARRIED = 0, 2
AVATAR_STATUS = 6  # fields after the code: x y state vx vy status carried
CARRY_STATE = 2    # fields after the code: x y carryState vx vy ...
CHANGE_KINDS = ("vr", "pr", "bd")


def run_frames(sim, level, script, frames=None):
    """A traced run (no key pressed without a script; as long as the script without frames):
    [{code: [fields]}] per frame, fields being the line's words after the code, and the END
    line's fields."""
    command = [sim, level.path, "--trace"] + (["--inputs", script] if script else [])
    command += ["--frames", str(frames)] if frames is not None else []
    if isinstance(level.number, int):
        command += ["--index", str(level.number - 1)]
    result, end = [], None
    for line in run_tool(command).splitlines():
        words = line.split()
        if not words:
            continue
        if words[0] == "END":
            end = end_fields(line)
        elif words[0] == "F":
            result.append({})
        elif result:
            result[-1].setdefault(words[0], []).append(words[1:])
    return result, end


def near(a, b):
    return abs(a[0] - b[0]) < NEAR and abs(a[1] - b[1]) < NEAR


def corner(fields):
    return float(fields[0]), float(fields[1])


class BagTracks:
    """Follows bags from frame to frame (bags only ever leave the list), keeping which ones the
    avatar has carried and not yet come to rest since."""

    def __init__(self):
        self.bags = []  # [(corner, moved by the avatar)]

    def step(self, lines):
        following, i = [], 0
        for fields in lines:
            while i < len(self.bags) and not near(self.bags[i][0], corner(fields)):
                i += 1  # that bag left: binned, or destroyed by a feral
            moved = self.bags[i][1] if i < len(self.bags) else False
            following.append((corner(fields), moved_now(fields, moved)))
            i += 1
        self.bags = following
        return [position for position, moved in following if moved]


def moved_now(fields, before):
    state = int(fields[CARRY_STATE])
    return state == CARRIED or (before and state != RESTING)


def above(level_map, avatars, hazard):
    """Whether the avatar is over the hazard, within a cell to either side, with no fixed wall
    between to stop a fall: the route crosses a spike pit even when it clears it by far."""
    c, r = int(hazard[0] // CELL), int(hazard[1] // CELL)
    for x, y in avatars:
        row = int((y + CELL - 1) // CELL)
        if abs(x - hazard[0]) < NEAR and row < r and not any(level_map.fixed((c, between))
                                                              for between in range(row + 1, r)):
            return True
    return False


def baddie_tempers(level_map, first_frame):
    """Each traced baddie's temper ('tame' or 'feral'), matched by where it starts."""
    placed = [((c * CELL, r * CELL), "tame" if p.startswith("tame") or p == "0" else "feral")
              for kind, c, r, p in level_map.objects if kind == "bd"]
    tempers = []
    for fields in first_frame.get("bd", []):
        x, y = corner(fields)
        tempers.append(min(placed, key=lambda item: abs(item[0][0] - x) + abs(item[0][1] - y))[1])
    return tempers


def met_mechanics(level_map, run, idle):
    """The mechanics the run meets: t, f (baddies), v (levers), p (press pads), s, ff."""
    if not run:
        return set()
    tempers = baddie_tempers(level_map, run[0])
    hazards = [(kind, (c * CELL, r * CELL)) for kind, c, r, _ in level_map.objects if kind in ("sp", "ff")]
    met, bags, thrown_baddies = set(), BagTracks(), [False] * len(tempers)
    idle_alive = next((i for i, frame in enumerate(idle)
                       if frame.get("av") and int(frame["av"][0][AVATAR_STATUS]) == 1), len(idle))
    codes = {"vr": "v", "pr": "p"}
    for number, frame in enumerate(run):
        movers = [corner(fields) for fields in frame.get("av", [])] + bags.step(frame.get("gb", []))
        for i, fields in enumerate(frame.get("bd", [])):
            thrown_baddies[i] = moved_now(fields, thrown_baddies[i])
            if thrown_baddies[i] or any(near(corner(fields), mover) for mover in movers):
                met.add("t" if tempers[i] == "tame" else "f")
        met.update("s" if kind == "sp" else kind for kind, cell in hazards
                   if any(near(cell, mover) for mover in movers) or above(level_map, movers[:1], cell))
        if number < idle_alive:
            for code in CHANGE_KINDS:
                for i, (ours, theirs) in enumerate(zip(frame.get(code, []), idle[number].get(code, []))):
                    if ours != theirs:
                        met.add(codes.get(code) or ("t" if tempers[i] == "tame" else "f"))
    return met
