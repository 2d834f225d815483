import sys, time; sys.path.insert(0,'.')
import design, run
import build
r = run.Run(build.lv('2'))
def st(tag): print(tag, round(r.av.x,1), round(r.av.y,1), r.sim.frame, "g=%d/%d"%(r.sim.garbage, r.sim.loose))
def on(y, x0=-1e9, x1=1e9, g=None):
    return lambda r: abs(r.av.y - y) < 0.5 and x0 <= r.av.x <= x1 and (g is None or r.sim.garbage >= g)
r.reach(on(500, 380, 440, 1), "L"); st("A")
r.reach(on(460, 280, 320, 2), "L"); st("B")
r.go(50); r.crouch_pick(); st("bag2")
r.walk_to(180); r.crouch_drop(); st("drop2")
r.go(755); st("corner")
r.reach(on(500, 620, 700, 4), "L"); st("P1")
r.reach(on(460, 720, 760, 5), "R"); st("P2")
r.reach(on(420, 600, 680, 6), "L"); st("P3")
r.reach(on(380, 720, 760, 7), "R"); st("P4")
r.reach(on(340, 580, 640, 8), "L"); st("P5")
r.reach(on(300, 700, 760, 9), "R"); st("P6")
r.reach(on(260, 580, 640, 10), "L"); st("P7")
r.reach(on(220, 400, 540), "L"); st("top")
r.reach(on(220, 200, 345, 11), "L", walk_max=80); st("gap")
r.reach(on(220, 30, 160, 12), "L", walk_max=80); st("hole")
r.walk_to(50); r.crouch_pick(); st("bag")
r.until("R", lambda r: r.av.state==2); r.land(""); st("fell")
r.walk_to(200); r.crouch_drop(); r.finish(); print(r.report())
open('/tmp/lv/2.sol','w').write(r.script())

import os
open(os.path.join(build.ROOT, "levels", "solutions", "2.txt"), "w").write(r.script())
