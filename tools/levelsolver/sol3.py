import sys, time; sys.path.insert(0,'.')
import run, build
r = run.Run(build.lv('3'))
def st(tag): print(tag, round(r.av.x,1), round(r.av.y,1), r.sim.frame, "g=%d/%d"%(r.sim.garbage, r.sim.loose), flush=True)
def on(y, x0=-1e9, x1=1e9, g=None):
    return lambda r: abs(r.av.y - y) < 0.5 and x0 <= r.av.x <= x1 and (g is None or r.sim.garbage >= g)
DJ = dict(dj=True, kstep=2, jrange=range(14, 34, 2), walk_max=25)
r.go(270)
r.reach(on(480, 131, 149), "L", **DJ); st("P1")
r.reach(on(420, 18, 30), "L", **DJ); st("P2")
r.reach(on(360, 151, 169), "R", **DJ); st("P3")
r.reach(on(300, 18, 30), "L", **DJ); st("P4")
r.reach(on(240, 151, 169), "R", **DJ); st("P5")
r.reach(on(180, 240, 360), "R", **DJ); st("shelf")
r.reach(on(180, 660, 740, 7), "R", dj=True, kstep=2, jrange=range(10, 40, 2), walk_max=60); st("island")
r.go(702); r.crouch_pick(); st("bag")
r.until("L", lambda r: r.av.state==2); r.land(""); r.go(300); st("floor")
r.walk_to(250); r.crouch_drop(); r.finish(); print(r.report())
import physics as P
print([(e.x,e.y) for e in r.sim.dyna if isinstance(e,P.Garbage)])

import os
open(os.path.join(build.ROOT, "levels", "solutions", "3.txt"), "w").write(r.script())
