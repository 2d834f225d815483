"""Builds input scripts by running the model forward: hold keys for a count, or until a condition."""

import physics as P
import lvfile

ORDER = "LRUDZX"


def canon(keys):
    s = "".join(k for k in ORDER if k in keys)
    return s or "-"


class Run:
    def __init__(self, path_or_entities):
        ents = lvfile.read_lv(path_or_entities) if isinstance(path_or_entities, str) else path_or_entities
        self.sim = P.Sim(ents)
        self.frames = []
        self.log = []

    @property
    def av(self):
        return self.sim.avatar

    def step(self, keys):
        k = canon(keys).replace("-", "")
        self.sim.step(k)
        self.frames.append(canon(keys))
        if self.sim.status() == 1:
            raise Dead(self)

    def hold(self, keys, n):
        for _ in range(n):
            self.step(keys)
        return self

    def until(self, keys, cond, limit=2000, after=None):
        """Holds keys (after the first frame: `after`, if given) until cond(run) holds."""
        n = 0
        while not cond(self):
            self.step(keys if (n == 0 or after is None) else after)
            n += 1
            if n > limit:
                raise RuntimeError("condition never met holding %s" % keys)
        return n

    def release(self, n=1):
        return self.hold("", n)

    # --- common moves -------------------------------------------------------------------
    def walk_to(self, x, keys=""):
        d = "R" if self.av.x < x else "L"
        if d == "R":
            self.until(d + keys, lambda r: r.av.x >= x or r.av.state == 2)
        else:
            self.until(d + keys, lambda r: r.av.x <= x or r.av.state == 2)
        return self

    def go(self, x, keys=""):
        """Walks (and falls) towards x until past it and standing."""
        d = "R" if self.av.x < x else "L"
        past = (lambda r: r.av.x >= x) if d == "R" else (lambda r: r.av.x <= x)
        self.until(d + keys, lambda r: past(r) and r.av.state != 2)
        return self

    def landed(self):
        return self.until(self._held_dir, lambda r: r.av.state != 2)

    def jump(self, d="", hold_frames=1):
        """Z with direction d held for hold_frames, then d held."""
        self.hold(d + "Z", hold_frames)
        return self

    def air_until(self, keys, cond):
        return self.until(keys, lambda r: cond(r) or r.av.state != 2)

    def land(self, keys=""):
        return self.until(keys, lambda r: r.av.state != 2)

    def crouch_pick(self, kind=None, waits=90):
        base = self.save()
        for wait in range(waits):
            self.restore(base)
            self.hold("", wait)
            try:
                return self._crouch_pick(kind)
            except RuntimeError:
                continue
        self.restore(base)
        return self._crouch_pick(kind)

    def _crouch_pick(self, kind=None):
        """Steps into reach of the nearest resting carryable on this floor, crouches, picks it up."""
        av = self.av
        near = [e for e in self.sim.carr if e.carry_state == 0 and abs(e.y - av.y) < 12
                and (kind is None or e.code == kind)]
        if near:
            e = min(near, key=lambda e: abs(e.x - av.x))
            lo, hi = e.x - 12, e.x + 11
            for _ in range(3):
                if lo <= av.x <= hi:
                    break
                self.walk_to((lo + hi) / 2)
                lo, hi = e.x - 12, e.x + 11
        self.hold("D", 2)
        self.hold("DX", 1)
        if self.av.carried is None:
            raise RuntimeError("nothing picked up at x=%.1f y=%.1f" % (self.av.x, self.av.y))
        if kind is not None and self.av.carried.code != kind:
            raise RuntimeError("picked up %s instead of %s" % (self.av.carried.code, kind))
        return self

    def save(self):
        s = self.sim
        ents = [(e, e.__dict__.copy()) for e in s.entities if e.dyna]
        lists = (list(s.dyna), list(s.bags), list(s.carr), list(s.prss))
        scal = {k: v for k, v in s.__dict__.items() if not isinstance(v, (list, dict, P.Grid))
                or k == "channels"}
        scal = dict(scal)
        chans = list(s.channels)
        return (ents, lists, scal, chans, len(self.frames))

    def restore(self, snap):
        ents, lists, scal, chans, nframes = snap
        s = self.sim
        for e, d in ents:
            e.__dict__.clear()
            e.__dict__.update(d)
        s.dyna[:], s.bags[:], s.carr[:], s.prss[:] = [list(l) for l in lists]
        for k, v in scal.items():
            if k != "channels":
                setattr(s, k, v)
        s.channels[:] = chans
        s.pending_kills = []
        del self.frames[nframes:]

    def reach(self, goal, d, walk_max=40, air_max=60, dj=False, walk_dir=None, limit=150, kstep=1, jrange=None, delays=(0,)):
        """Finds the fastest way, from here, to a landing that satisfies goal(run): walk w frames
        (towards walk_dir, default d), jump with d held for k frames then no keys, with an
        optional double jump (Z again, d held) at frame j. Applies the best and returns it."""
        import inspect, json, os, hashlib
        caller = inspect.stack()[1]
        key = hashlib.sha1(repr((tuple(self.frames), caller.code_context, d, walk_max, air_max, dj,
                                  walk_dir, limit, kstep, list(jrange) if jrange else None,
                                  tuple(delays))).encode()).hexdigest()
        cache_path = os.path.join(os.path.dirname(__file__), ".reach-cache.json")
        cache = json.load(open(cache_path)) if os.path.exists(cache_path) else {}
        wd = d if walk_dir is None else walk_dir
        if key in cache:
            ok, w, k, j = cache[key][:4]
            delay = cache[key][4] if len(cache[key]) > 4 else 0
            self._try(w, wd, d, k, j, goal, limit, delay)
            return cache[key]
        base = self.save()
        best = None
        for w in range(0, walk_max + 1):
            for delay in delays:
              for k in range(0, air_max + 1, kstep):
                for j in ([None] + list(jrange or range(4, 45, 2)) if dj else [None]):
                    self.restore(base)
                    ok = self._try(w, wd, d, k, j, goal, limit, delay)
                    if ok is not None and (best is None or ok < best[0]):
                        best = (ok, w, k, j, delay)
                if best is not None and best[0] <= self.sim.frame:
                    pass
            if best is not None and w > best[0] - base[4]:
                break
        self.restore(base)
        if best is None:
            raise RuntimeError("no way found to the goal")
        _, w, k, j, delay = best
        self._try(w, wd, d, k, j, goal, limit, delay)
        cache[key] = best
        json.dump(cache, open(cache_path, "w"))
        return best

    def _try(self, w, wd, d, k, j, goal, limit, delay=0):
        try:
            self.hold(wd, w)
            if self.av.state == 2:
                return None
            self.hold((d if delay == 0 else "") + "Z", 1)
            n = 1
            while self.av.state == 2 and n < limit:
                keys = d if delay <= n < delay + k else ""
                if j is not None and n == j:
                    keys += "Z"
                if j is not None and n == j - 1:
                    keys = keys.replace("Z", "")
                self.step(keys)
                n += 1
            if self.av.state != 2 and goal(self):
                return len(self.frames)
        except Dead:
            return None
        return None

    def hop(self, d, stop_x=None, then=""):
        """Jumps with direction d held (d may be ""), holding d until x passes stop_x, then `then`
        until landing."""
        self.hold(d + "Z", 2)
        if stop_x is not None and d:
            cmp = (lambda r: r.av.x >= stop_x) if d == "R" else (lambda r: r.av.x <= stop_x)
            self.until(d, lambda r: cmp(r) or r.av.state != 2)
        self.until(then if stop_x is not None else d, lambda r: r.av.state != 2)
        return self

    def throw_search(self, d, face, keys, cond, wmax=60, settle=150, walk_keys=None):
        """Walks w frames towards d (0 <= w <= wmax), turns to face `face` ("R"/"L"), stands one
        frame and throws with `keys` (e.g. "UX"). The thrown object is followed until it rests or
        is taken; cond(run, obj) judges the outcome. Applies the smallest good w, up to the throw."""
        base = self.save()
        for w in range(wmax + 1):
            self.restore(base)
            try:
                self.hold(walk_keys or d, w)
                if self.av.state == 2:
                    continue
                if ("R" if self.av.facing_right else "L") != face:
                    self.hold(face, 1)
                if not any(c in keys for c in "LRZ"):
                    self.hold("", 1)
                obj = self.av.carried
                if obj is None:
                    continue
                if self.frames and "X" in self.frames[-1]:
                    self.hold(keys.replace("X", ""), 1)
                self.hold(keys, 1)
                mark = self.save()
                n = 0
                while obj.alive and obj.carry_state != 0 and n < settle and obj not in self.sim.pending_kills:
                    self.step("")
                    n += 1
                ok = cond(self, obj)
                if ok:
                    self.restore(mark)
                    return w
            except Dead:
                continue
        self.restore(base)
        raise RuntimeError("no throw found")

    def crouch_drop(self):
        """Stops, crouches and puts the carried object down with X."""
        self.hold("D", 2)
        self.hold("DX", 1)
        return self

    def finish(self, limit=300):
        """Waits with no keys until the level is completed."""
        self.until("", lambda r: r.sim.status() == 2, limit)
        return self

    def script(self):
        out = []
        prev, n = None, 0
        for k in self.frames:
            if k == prev:
                n += 1
            else:
                if prev is not None:
                    out.append("%d %s" % (n, prev))
                prev, n = k, 1
        if prev is not None:
            out.append("%d %s" % (n, prev))
        return "\n".join(out) + "\n"

    def report(self):
        return self.sim.end_line()


class Dead(Exception):
    def __init__(self, run):
        super().__init__("avatar died at frame %d: %s (x=%.1f y=%.1f)" % (
            run.sim.frame, run.av.reason, run.av.x, run.av.y))
        self.run = run


def replay(entities, script_text, trace=None):
    sim = P.Sim(entities)
    for line in script_text.splitlines():
        line = line.strip()
        if not line or line.startswith("#"):
            continue
        n, k = line.split()
        for _ in range(int(n)):
            sim.step("" if k == "-" else k)
            if trace:
                trace(sim)
    return sim
