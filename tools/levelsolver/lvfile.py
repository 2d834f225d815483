"""Reads and writes the binary level files (records of a two-letter code, column, row, extras)."""

import physics as P


def read_lv(path):
    data = open(path, "rb").read()
    i = 0
    out = []
    while i + 1 < len(data):
        code = data[i:i + 2].decode("latin-1")
        if data[i] == 0xFF or data[i + 1] == 0xFF:
            break
        c, r = data[i + 2], data[i + 3]
        x, y = c * 20, r * 20
        i += 4
        if code == "tl":
            out.append(P.Tile(x, y, data[i])); i += 1
        elif code == "ct":
            out.append(P.Container(x, y, data[i])); i += 1
        elif code == "gb":
            out.append(P.Bag(x, y))
        elif code == "av":
            out.append(P.Avatar(x, y))
        elif code == "ms":
            j = data.index(b"$", i)
            out.append(P.Message(x, y, data[i:j].decode("latin-1"))); i = j + 1
        elif code == "lg":
            out.append(P.Garbage(x, y))
        elif code == "vr":
            out.append(P.Lever(x, y, data[i], data[i + 1] != 0)); i += 2
        elif code == "sp":
            out.append(P.Spikes(x, y))
        elif code == "ff":
            out.append(P.ForceField(x, y, data[i] != 0)); i += 1
        elif code == "pr":
            out.append(P.PressPad(x, y, data[i], data[i + 1] != 0)); i += 2
        elif code == "bd":
            out.append(P.Baddie(x, y, data[i] != 0)); i += 1
        elif code == "fw":
            out.append(P.Fireworks(x, y))
        else:
            raise ValueError("unknown code %r in %s" % (code, path))
    return out


def record(e):
    head = e.code.encode() + bytes([int(e.x) // 20, int(e.y) // 20])
    if isinstance(e, P.Tile):
        return head + bytes([e.channel])
    if isinstance(e, P.Container):
        return head + bytes([e.remaining])
    if isinstance(e, P.Message):
        return head + e.text.encode("latin-1") + b"$"
    if isinstance(e, P.Lever):
        return head + bytes([e.channel, 1 if e.on else 0])
    if isinstance(e, P.PressPad):
        return head + bytes([e.channel, 1 if e.resting_on else 0])
    if isinstance(e, P.ForceField):
        return head + bytes([1 if e.vertical else 0])
    if isinstance(e, P.Baddie):
        return head + bytes([1 if e.feral else 0])
    return head


def write_lv(path, entities):
    with open(path, "wb") as f:
        for e in entities:
            f.write(record(e))
