import sys, os; sys.path.insert(0,'.')
import run, build, physics as P
r = run.Run(build.lv('10'))
def st(tag): print(tag, round(r.av.x,1), round(r.av.y,1), r.sim.frame, "g=%d/%d"%(r.sim.garbage, r.sim.loose), [c.remaining for c in r.sim.conts], len(r.sim.bags), flush=True)
def on(y, x0=-1e9, x1=1e9, g=None):
    return lambda r: abs(r.av.y - y) < 0.5 and x0 <= r.av.x <= x1 and (g is None or r.sim.garbage >= g)
def rests(y, x0, x1): return lambda r, o: o.alive and o.carry_state == 0 and abs(o.y - y) < 1 and x0 <= o.x <= x1
def in_bin(r, o): return (not o.alive or o in r.sim.pending_kills) and sum(c.remaining for c in r.sim.conts) < max(r.rem, 1)
DJ = dict(dj=True, kstep=2, jrange=range(14, 34, 2), walk_max=25)
r.crouch_pick("gb"); st("A")

r.throw_search("R", "R", "RX", rests(540, 335, 470), wmax=60); st("A over")
r.crouch_pick("gb"); st("A2")
r.throw_search("R", "R", "RX", rests(540, 315, 470), wmax=60); st("A2 over")

r.reach(on(520, 175, 195), "R", walk_max=10); st("block9")
r.reach(on(540, 300, 400, 1), "R", walk_max=3); st("over F1")
r.rem = 5
r.reach(on(520, 282, 299), "L", walk_max=30); st("block14")
r.reach(on(460, 361, 400), "R", **DJ); st("shelf"); r.go(415)
r.crouch_pick("gb"); st("E")
r.until("L", lambda r: r.av.state == 2); r.land("")
r.throw_search("R", "R", "RX", in_bin, wmax=120); r.hold("", 1); r.rem -= 1; st("thrown E")
r.until("", lambda r: sum(c.remaining for c in r.sim.conts) == r.rem)
r.go(300)
for i in range(3):
    r.crouch_pick("gb"); st("bag")
    try:
        r.throw_search("R", "R", "RX", in_bin, wmax=120)
    except RuntimeError:
        r.throw_search("R", "R", "X", in_bin, wmax=120)
    r.hold("", 1); r.rem -= 1; st("thrown")
    r.until("", lambda r: sum(c.remaining for c in r.sim.conts) == r.rem)
    if i < 2: r.go(300)
r.go(450); st("g22")
r.reach(on(520, 555, 575), "R", walk_max=60); st("block28")
r.reach(on(500, 670, 690), "R", walk_max=5); st("block34")
r.go(757); st("corner")
r.reach(on(500, 672, 690), "L", walk_max=30); st("block34 again")
r.reach(on(440, 592, 609), "L", **DJ); st("ledge2")
r.crouch_pick("gb"); st("D")
r.rem = 0
for keys in ("X", "UX", "LX"):
    try:
        r.throw_search("L", "L", keys, in_bin, wmax=20); break
    except RuntimeError:
        pass
r.finish(); print(r.report())
open(os.path.join(build.ROOT, "levels", "solutions", "10.txt"), "w").write(r.script())
