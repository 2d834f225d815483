import sys, os; sys.path.insert(0,'.')
import run, build, physics as P
r = run.Run(build.lv('16'))
def st(tag): print(tag, round(r.av.x,1), round(r.av.y,1), r.sim.frame, "g=%d/%d"%(r.sim.garbage, r.sim.loose), [c.remaining for c in r.sim.conts], r.sim.channels[:5], flush=True)
def on(y, x0=-1e9, x1=1e9, g=None):
    return lambda r: abs(r.av.y - y) < 0.5 and x0 <= r.av.x <= x1 and (g is None or r.sim.garbage >= g)
def rests(y, x0, x1): return lambda r, o: o.alive and o.carry_state == 0 and abs(o.y - y) < 1 and x0 <= o.x <= x1
def taken(r, o): return getattr(o, "taken", False)
DJ = dict(dj=True, kstep=2, jrange=range(14, 34, 2), walk_max=25)
def throw(cond, d, face, keys_list, wmax=60, settle=150):
    for keys in keys_list:
        try:
            r.throw_search(d, face, keys, cond, wmax=wmax, settle=settle); return keys
        except RuntimeError:
            pass
    raise RuntimeError("no throw")
r.go(476); r.hold("", 1); r.hold("Z", 1); r.land(""); st("g24")
r.go(530); st("through levers")
r.reach(lambda r: abs(r.av.y - 540) < 0.5 and r.av.x < 490 and r.sim.channels[4] == 0, "L", walk_max=8); st("back over M")
r.reach(on(480, 392, 409, 2), "L", **DJ); st("s1")
r.reach(on(420, 460, 500), "R", **DJ); st("s2")
r.reach(on(360, 380, 420), "L", **DJ); st("s3")
r.reach(on(300, 471, 489, 3), "R", **DJ); st("s4")
r.reach(on(240, 330, 400), "L", **DJ); st("shelf")
r.go(335); st("g17")
r.crouch_pick("gb"); st("bag12")
print(throw(rests(420, 72, 90), "L", "L", ("X", "UX", "LX"), wmax=30)); st("thrown onto trapdoor")
r.go(165); r.crouch_pick("gb"); st("bag8")
r.go(118); st("N")
r.until("L", lambda r: r.av.state == 2); r.land(""); st("walkway")
r.walk_to(88); r.crouch_drop(); r.hold("D", 2); st("placed")
r.go(22); st("g1")
r.go(275); st("g13")
r.until("R", lambda r: r.av.state == 2); r.land(""); r.until("R", lambda r: r.av.state == 2); r.land(""); st("floor")
r.crouch_pick("gb"); st("bag9")
r.go(420)
print(throw(taken, "R", "R", ("RX", "X", "UX"), wmax=40)); st("C1")
r.go(445); r.crouch_pick("gb"); st("bag23")
r.go(420)
print(throw(taken, "R", "R", ("RX", "X", "UX"), wmax=40)); st("C2")
r.go(260)
r.reach(on(480, 300, 330), "R", **DJ); st("step")
r.go(325); r.reach(on(420, 200, 280), "L", delays=(0, 8, 12, 16, 20), **DJ); st("walkway again")
r.go(200); r.finish(); print(r.report())
open(os.path.join(build.ROOT, "levels", "solutions", "16.txt"), "w").write(r.script())
