import sys, os; sys.path.insert(0,'.')
import run, build, physics as P
r = run.Run(build.lv('15'))
def st(tag): print(tag, round(r.av.x,1), round(r.av.y,1), r.sim.frame, "g=%d/%d"%(r.sim.garbage, r.sim.loose), [c.remaining for c in r.sim.conts], r.sim.channels[:5], flush=True)
def on(y, x0=-1e9, x1=1e9, g=None):
    return lambda r: abs(r.av.y - y) < 0.5 and x0 <= r.av.x <= x1 and (g is None or r.sim.garbage >= g)
def rests(y, x0, x1): return lambda r, o: o.alive and o.carry_state == 0 and abs(o.y - y) < 1 and x0 <= o.x <= x1
DJ = dict(dj=True, kstep=2, jrange=range(14, 34, 2), walk_max=25)
r.go(195); r.crouch_pick("gb"); st("spare")
r.go(140); r.crouch_drop(); r.hold("D", 3); st("on pad")
r.go(22); r.go(45); r.crouch_pick("gb"); st("A")
r.go(380); r.crouch_drop(); r.hold("D", 2); st("A placed")
r.go(345)
r.reach(on(440, 241, 290), "L", **DJ); st("step")
r.reach(on(380, 201, 219, 2), "L", **DJ); st("shelf")
r.reach(on(380, 41, 69, 3), "L", walk_max=20); st("roof")
r.reach(on(380, 165, 215), "R", walk_max=20); st("shelf again")
r.crouch_pick("gb"); st("D")
r.until("R", lambda r: r.av.state == 2); r.land(""); st("down")
r.until("R", lambda r: r.av.state == 2 or r.av.x > 300); r.land(""); st("floor")
r.go(375); r.crouch_drop(); r.hold("D", 2); st("D placed")
r.reach(lambda r: abs(r.av.y - 500) < 0.5 and r.av.x >= 425 and r.sim.channels[0] == 1, "R", walk_max=4); st("over lever")
r.go(480)
r.reach(lambda r: abs(r.av.y - 440) < 0.5 and r.av.x > 630 and r.sim.garbage >= 4 and not any(isinstance(e, P.Garbage) and e.x == 580 and e.alive and e not in r.sim.pending_kills for e in r.sim.dyna), "R", dj=True, kstep=2, jrange=range(10, 34, 2), walk_max=20); st("over pit")
r.go(635); st("g32")
r.until("R", lambda r: r.av.state == 2 and r.av.x > 700); r.land(""); st("ledge")
r.crouch_pick("bd"); st("T")
def in_pocket(r, o): return o.carry_state == 0 and 752 <= o.x <= 768 and abs(o.y - 500) < 1
for keys in ("UX", "X", "RX"):
    try:
        r.throw_search("R", "R", keys, in_pocket, wmax=40); print(keys); break
    except RuntimeError:
        pass
r.until("", lambda r: r.sim.channels[2] == 1); st("bridge")
r.go(716)
r.reach(on(440, 660, 700), "L", delays=(0, 10, 16, 22, 28), **DJ); st("small shelf")
r.crouch_pick("gb"); st("C")
r.until("L", lambda r: r.av.state == 2); r.land(""); st("C down")
r.go(470)
def c_in(r, o): return getattr(o, "taken", False)
for keys in ("UX", "X"):
    try:
        r.throw_search("R", "L", keys, c_in, wmax=30, settle=200); print(keys); break
    except RuntimeError:
        pass
st("thrown C")
r.finish(); print(r.report())
open(os.path.join(build.ROOT, "levels", "solutions", "15.txt"), "w").write(r.script())
