import sys, os; sys.path.insert(0,'.')
import run, build, physics as P
r = run.Run(build.lv('12'))
def st(tag): print(tag, round(r.av.x,1), round(r.av.y,1), r.sim.frame, "g=%d/%d"%(r.sim.garbage, r.sim.loose), [c.remaining for c in r.sim.conts], flush=True)
def on(y, x0=-1e9, x1=1e9, g=None):
    return lambda r: abs(r.av.y - y) < 0.5 and x0 <= r.av.x <= x1 and (g is None or r.sim.garbage >= g)
def rests(y, x0, x1): return lambda r, o: o.alive and o.carry_state == 0 and abs(o.y - y) < 1 and x0 <= o.x <= x1
def into(i): return lambda r, o: (not o.alive or o in r.sim.pending_kills) and r.sim.conts[i].remaining < r.want[i]
DJ = dict(dj=True, kstep=2, jrange=range(14, 34, 2), walk_max=25)
def throw(name, d, face, keys_list=("X", "UX", "RX", "LX"), wmax=60):
    i = [(c.x, c.y) for c in r.sim.conts].index({"A": (320, 300), "B": (60, 540), "D": (420, 400)}[name])
    r.want = [c.remaining for c in r.sim.conts]
    for keys in keys_list:
        k = keys.replace("R", face).replace("L", face) if keys in ("RX", "LX") else keys
        try:
            r.throw_search(d, face, k, into(i), wmax=wmax); return k
        except RuntimeError:
            pass
    raise RuntimeError("no throw into bin %d" % i)
r.crouch_pick("gb"); st("bag1")
print(throw("A", "R", "R")); st("A")
r.go(225); st("g11")
r.until("R", lambda r: r.av.state == 2); r.land("R"); st("mid")
r.go(385); st("g19")
r.until("R", lambda r: r.av.state == 2); r.land(""); r.until("R", lambda r: r.av.state == 2); r.land(""); st("floor")
r.crouch_pick("gb"); st("bag22")
r.go(150); st("at150"); print(throw("B", "L", "L")); st("B1")
r.go(190); r.reach(on(540, 12, 60), "L", walk_max=20); r.go(20); st("corner")
r.reach(on(540, 150, 300), "R", walk_max=20); st("out")
r.crouch_pick("gb"); st("bag12")
print(throw("B", "L", "L")); st("B2")
r.go(735); r.crouch_pick("gb"); st("bag37")
r.go(150); print(throw("B", "L", "L")); st("B3")

r.go(660)
r.reach(on(480, 731, 749), "R", **DJ); st("s1")
r.reach(on(420, 651, 669), "L", **DJ); st("s2")
r.reach(on(360, 720, 760), "R", **DJ); st("s3")
r.reach(on(300, 640, 680), "L", **DJ); st("s4")
r.reach(on(240, 720, 760), "R", **DJ); st("s5")
r.reach(on(200, 640, 690), "L", **DJ); st("ledge")
r.crouch_pick("gb"); st("bag31")
r.until("L", lambda r: r.av.state == 2); r.land(""); st("small")
print(throw("D", "L", "L")); st("D1")
r.crouch_pick("gb"); st("bag25")
try:
    print(throw("D", "L", "L"))
except RuntimeError:
    print(throw("D", "R", "L")); r.finish(); print(r.report())
open(os.path.join(build.ROOT, "levels", "solutions", "12.txt"), "w").write(r.script())
