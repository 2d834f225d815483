import sys, time; sys.path.insert(0,'.')
import run, build
r = run.Run(build.lv('4'))
def st(tag): print(tag, round(r.av.x,1), round(r.av.y,1), r.sim.frame, "g=%d/%d"%(r.sim.garbage, r.sim.loose), [c.remaining for c in r.sim.conts], flush=True)
def on(y, x0=-1e9, x1=1e9, g=None):
    return lambda r: abs(r.av.y - y) < 0.5 and x0 <= r.av.x <= x1 and (g is None or r.sim.garbage >= g)
DJ = dict(dj=True, kstep=2, jrange=range(14, 34, 2), walk_max=25)
r.go(755); st("corner")
r.go(650); r.reach(on(480, 731, 749), "R", **DJ); st("step1")
r.reach(on(420, 672, 689), "L", **DJ); st("step2")
r.go(400); st("floor")
r.go(220)
r.reach(on(480, 71, 89), "L", **DJ); st("left")
r.reach(on(420, 11, 29), "L", **DJ); st("top")
r.until("R", lambda r: r.av.state==2); r.land(""); r.until("L", lambda r: r.av.state==2); r.land(""); r.crouch_pick(); st("bag")
r.go(625); r.crouch_drop(); r.finish(); print(r.report())

import os
open(os.path.join(build.ROOT, "levels", "solutions", "4.txt"), "w").write(r.script())
