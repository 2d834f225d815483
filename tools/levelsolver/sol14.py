import sys, os; sys.path.insert(0,'.')
import run, build, physics as P
r = run.Run(build.lv('14'))
def st(tag): print(tag, round(r.av.x,1), round(r.av.y,1), r.sim.frame, "g=%d/%d"%(r.sim.garbage, r.sim.loose), [c.remaining for c in r.sim.conts], r.sim.channels[:5], flush=True)
def on(y, x0=-1e9, x1=1e9, g=None):
    return lambda r: abs(r.av.y - y) < 0.5 and x0 <= r.av.x <= x1 and (g is None or r.sim.garbage >= g)
def rests(y, x0, x1): return lambda r, o: o.alive and o.carry_state == 0 and abs(o.y - y) < 1 and x0 <= o.x <= x1
def into(r, o): return getattr(o, 'taken', False)
DJ = dict(dj=True, kstep=2, jrange=range(14, 34, 2), walk_max=25)
def throw(d, face, keys_list=("RX", "X", "UX"), wmax=60):
    r.want = r.sim.conts[0].remaining
    for keys in keys_list:
        try:
            r.throw_search(d, face, keys, into, wmax=wmax); return keys
        except RuntimeError:
            pass
    raise RuntimeError("no throw")
r.reach(lambda r: r.av.y == 540 and r.sim.garbage >= 1, "R", walk_max=15); st("g1")
for i, x in enumerate((100, 80, 40)):
    r.go(x); r.crouch_pick("gb"); st("bag")
    r.go(261)
    print(r.throw_search("R", "R", "RX", rests(540, 434, 530), wmax=6)); st("over spikes")
r.go(250); r.reach(on(540, 340, 400, 3), "R", walk_max=25); st("over spikes")
r.go(365); r.crouch_pick("gb"); st("B")
r.go(400); r.crouch_drop(); r.hold("D", 3); st("B on pad")
r.go(520); st("g26")
r.reach(on(480, 461, 490), "L", **DJ); st("step")
r.reach(on(420, 405, 430), "L", **DJ); st("shelf")
r.crouch_pick("gb"); st("C")
r.until("R", lambda r: r.av.state == 2); r.land(""); st("down")
print(throw("R", "R")); st("C in")
for i in range(3):
    near = min((b for b in r.sim.bags if b.carry_state == 0 and abs(b.y - 540) < 1 and 430 < b.x < 540), key=lambda b: abs(b.x - 450))
    r.go(near.x + 8); r.walk_to(near.x + 2); r.crouch_pick("gb"); st("thrown bag")
    print(throw("R", "R")); st("in")
r.go(395); r.crouch_pick("gb"); st("B from pad")
print(throw("R", "R")); r.finish(); print(r.report())
open(os.path.join(build.ROOT, "levels", "solutions", "14.txt"), "w").write(r.script())
