"""A quick design form: a 40 x 30 character grid plus a legend, turned into model entities.

Fixed characters: '.' empty, '#' tile of channel 0, '1'-'4' tiles of that channel, '@' avatar,
'b' bag, '*' loose garbage, '^' spikes, '|' vertical and '=' horizontal force field, 't' tame
and 'f' feral baddie, '!' fireworks. Other characters come from the legend:
    X: container N | lever CH on/off | pad CH on/off | message TEXT | tile CH
"""

import physics as P

KIND_ORDER = ["tl", "ms", "vr", "pr", "av", "gb", "bd", "ct", "lg", "sp", "ff", "fw"]


def parse(text):
    lines = text.splitlines()
    meta = {}
    grid = []
    legend = {}
    mode = None
    for ln in lines:
        if ln.startswith("grid:"):
            mode = "grid"
            continue
        if ln.startswith("legend:"):
            mode = "legend"
            continue
        if mode == "grid":
            if len(grid) < 30:
                grid.append(ln.ljust(40, ".")[:40] if ln else "." * 40)
            continue
        if mode == "legend":
            if ":" in ln:
                k, v = ln.split(":", 1)
                legend[k.strip()] = v.strip()
            continue
        if ":" in ln:
            k, v = ln.split(":", 1)
            meta[k.strip()] = v.strip()
    while len(grid) < 30:
        grid.append("." * 40)
    return meta, grid, legend


def make(ch, x, y, legend):
    if ch in ".":
        return None
    if ch in legend:
        spec = legend[ch].split(None, 1)
        kind, rest = spec[0], (spec[1] if len(spec) > 1 else "")
        if kind == "container":
            return P.Container(x, y, int(rest or 1))
        if kind == "lever":
            c, st = rest.split()
            return P.Lever(x, y, int(c), st == "on")
        if kind == "pad":
            c, st = rest.split()
            return P.PressPad(x, y, int(c), st == "on")
        if kind == "message":
            return P.Message(x, y, rest)
        if kind == "tile":
            return P.Tile(x, y, int(rest))
        raise ValueError("bad legend %r" % legend[ch])
    if ch == "#":
        return P.Tile(x, y, 0)
    if ch in "1234":
        return P.Tile(x, y, int(ch))
    table = {"@": lambda: P.Avatar(x, y), "b": lambda: P.Bag(x, y), "*": lambda: P.Garbage(x, y),
             "^": lambda: P.Spikes(x, y), "|": lambda: P.ForceField(x, y, True),
             "=": lambda: P.ForceField(x, y, False), "t": lambda: P.Baddie(x, y, False),
             "f": lambda: P.Baddie(x, y, True), "!": lambda: P.Fireworks(x, y)}
    if ch in table:
        return table[ch]()
    raise ValueError("unknown character %r" % ch)


def entities(text):
    meta, grid, legend = parse(text)
    found = []
    for r, row in enumerate(grid):
        for c, ch in enumerate(row):
            e = make(ch, c * 20, r * 20, legend)
            if e is not None:
                found.append(e)
    found.sort(key=lambda e: KIND_ORDER.index(e.code))
    return found


def load(path):
    return entities(open(path).read())
