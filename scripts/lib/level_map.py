"""A level's cells as the level scripts see them: its records from `binhopper-level dump`, its
walls fixed and switched, and the space the avatar can reach."""
from collections import deque

from campaign import run_tool

COLUMNS, ROWS = 40, 30
INNER_COLUMNS = range(1, 39)
INNER_ROWS = range(2, 28)
GRID_KINDS = {"A": ("av", None), "b": ("gb", None), "*": ("lg", None), "^": ("sp", None),
              "F": ("fw", None), "t": ("bd", "tame"), "f": ("bd", "feral"),
              "-": ("ff", "horizontal"), "|": ("ff", "vertical")}
SWITCHES = ("vr", "pr")
WIDE_KINDS = {"ct": 2}  # a bin covers two cells side by side
NEIGHBOURS = ((-1, 0), (1, 0), (0, -1), (0, 1))


def dump_records(tool, level_file):
    """(kind, column, row, parameter) for every record of the level; a tile's parameter is its channel."""
    dump = run_tool([tool, "dump", level_file])
    found, in_grid, row = [], False, 0
    for line in dump.splitlines():
        if line.startswith("#") or not line.strip():
            continue
        if line == "grid":
            in_grid, row = True, 0
        elif in_grid and line == "end":
            in_grid = False
        elif in_grid:
            for column, char in enumerate(line):
                if char.isdigit():
                    found.append(("tl", column, row, int(char)))
                elif char in GRID_KINDS:
                    found.append((GRID_KINDS[char][0], column, row, GRID_KINDS[char][1]))
            row += 1
        elif not line.startswith("trailer"):
            words = line.split()
            found.append((words[0], int(words[1]), int(words[2]), " ".join(words[3:])))
    return found


class LevelMap:
    def __init__(self, records):
        self.records = records
        self.tiles = {(c, r): channel for kind, c, r, channel in records if kind == "tl"}
        self.switched = {int(p.split()[0]) for kind, _, _, p in records if kind in SWITCHES and p.split()}
        self.objects = [(kind, c, r, p) for kind, c, r, p in records if kind != "tl"]
        starts = [(c, r) for kind, c, r, _ in records if kind == "av"]
        self.start = starts[0] if starts else None
        self.reachable = self._flood()

    def fixed(self, cell):
        """Whether a fixed wall stands in the cell: a tile whose channel nothing in the level switches."""
        return cell in self.tiles and self.tiles[cell] not in self.switched

    def _flood(self):
        """The cells joined to the avatar's start through cells without a fixed wall."""
        if self.start is None:
            return set()
        seen, queue = {self.start}, deque([self.start])
        while queue:
            c, r = queue.popleft()
            for dc, dr in NEIGHBOURS:
                cell = (c + dc, r + dr)
                if 0 <= cell[0] < COLUMNS and 0 <= cell[1] < ROWS and cell not in seen and not self.fixed(cell):
                    seen.add(cell)
                    queue.append(cell)
        return seen

    def touches_reach(self, cell):
        """Whether the cell is in reach, or shares a side with a cell in reach."""
        c, r = cell
        return cell in self.reachable or any((c + dc, r + dr) in self.reachable for dc, dr in NEIGHBOURS)

    def cells_of(self, kind, c, r):
        return [(c + i, r) for i in range(WIDE_KINDS.get(kind, 1))]

    def met_cells(self):
        """The inner screen's cells holding a tile or an object that touches space in reach."""
        held = set(self.tiles)
        for kind, c, r, _ in self.objects:
            held.update(self.cells_of(kind, c, r))
        return {cell for cell in held
                if cell[0] in INNER_COLUMNS and cell[1] in INNER_ROWS and self.touches_reach(cell)}

    def lowest_floor(self):
        """The lowest row in reach where the avatar can stand: a tile, switched or not, below it,
        and no spikes in it (a spike pit is no floor)."""
        spikes = {(c, r) for kind, c, r, _ in self.objects if kind == "sp"}
        rows = [r for c, r in self.reachable if (c, r + 1) in self.tiles and (c, r) not in spikes]
        return max(rows) if rows else None


def look_uses(level_map):
    """{look: (job, first cell)} for each tile look (channel) of the level: job 'fixed' or 'switched'."""
    uses = {}
    for (c, r), channel in sorted(level_map.tiles.items(), key=lambda item: (item[0][1], item[0][0])):
        uses.setdefault(channel, ("switched" if channel in level_map.switched else "fixed", (c, r)))
    return uses


def covered_signs(level_map):
    """[(sign cell, what else is there)] for every sign sharing its cell with a tile or an object
    (but the avatar, who may start at a sign to read it)."""
    found = []
    for index, (kind, c, r, _) in enumerate(level_map.objects):
        if kind != "ms":
            continue
        others = ["tile"] if (c, r) in level_map.tiles else []
        others += [other for i, (other, oc, orow, _) in enumerate(level_map.objects)
                   if i != index and other != "av" and (c, r) in level_map.cells_of(other, oc, orow)]
        if others:
            found.append(((c, r), others))
    return found
