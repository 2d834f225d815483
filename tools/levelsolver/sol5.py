import sys, time; sys.path.insert(0,'.')
import run, build, physics as P
r = run.Run(build.lv('5'))
def st(tag): print(tag, round(r.av.x,1), round(r.av.y,1), r.sim.frame, "g=%d/%d"%(r.sim.garbage, r.sim.loose), [c.remaining for c in r.sim.conts], flush=True)
def on(y, x0=-1e9, x1=1e9, g=None):
    return lambda r: abs(r.av.y - y) < 0.5 and x0 <= r.av.x <= x1 and (g is None or r.sim.garbage >= g)
def on_shelf(r, o): return o.alive and o.carry_state == 0 and abs(o.y - 480) < 1 and 250 <= o.x <= 400
def bad_on_shelf(r, o): return o.carry_state == 0 and abs(o.y-480)<1 and o.walking_right
DJ = dict(dj=True, kstep=2, jrange=range(14, 34, 2), walk_max=25)
r.crouch_pick("gb"); st("bag0")
r.throw_search("R", "R", "UX", on_shelf); st("thrown0")
r.go(560); r.crouch_pick("gb"); st("bag3")
r.go(650); r.go(300)
r.throw_search("L", "R", "UX", on_shelf); st("thrown3")
r.go(40); r.crouch_pick("gb"); st("bag1")
r.throw_search("R", "R", "UX", on_shelf, wmax=80); st("thrown1")
r.go(220)
r.reach(on(480, 60, 125), "L", **DJ); st("plat")
r.crouch_pick("bd"); st("baddie")
r.until("R", lambda r: r.av.state==2); r.land("")
r.throw_search("R", "R", "UX", bad_on_shelf, wmax=40); st("thrownB")
r.go(140)
r.reach(on(480, 250, 345), "R", **DJ); st("shelf")
r.go(340)
r.reach(on(440, 440, 700), "R", walk_max=40); st("roof")
r.go(605); st("g")
for i in range(900):
    r.step("")
    if r.sim.status()==2: break
print(r.report())
print([(e.code,round(e.x),round(e.y),e.carry_state) for e in r.sim.carr])

import os
open(os.path.join(build.ROOT, "levels", "solutions", "5.txt"), "w").write(r.script())
