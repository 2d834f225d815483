import sys, os; sys.path.insert(0,'.')
import run, build, physics as P
r = run.Run(build.lv('13'))
def st(tag): print(tag, round(r.av.x,1), round(r.av.y,1), r.sim.frame, "g=%d/%d"%(r.sim.garbage, r.sim.loose), [c.remaining for c in r.sim.conts], r.sim.channels[:5], flush=True)
def on(y, x0=-1e9, x1=1e9, g=None):
    return lambda r: abs(r.av.y - y) < 0.5 and x0 <= r.av.x <= x1 and (g is None or r.sim.garbage >= g)
def rests(y, x0, x1): return lambda r, o: o.alive and o.carry_state == 0 and abs(o.y - y) < 1 and x0 <= o.x <= x1
BINS = {"C": (740, 540), "D": (40, 240)}
def into(name):
    i = [(c.x, c.y) for c in r.sim.conts].index(BINS[name])
    want = r.sim.conts[i].remaining
    return lambda r, o: (not o.alive or o in r.sim.pending_kills) and r.sim.conts[i].remaining < want
DJ = dict(dj=True, kstep=2, jrange=range(14, 34, 2), walk_max=25)
def throw(cond, d, face, keys_list=("X", "UX", "RX", "LX"), wmax=60):
    for keys in keys_list:
        k = keys.replace("R", face).replace("L", face) if keys in ("RX", "LX") else keys
        try:
            r.throw_search(d, face, k, cond, wmax=wmax); return k
        except RuntimeError:
            pass
    raise RuntimeError("no throw")
r.crouch_pick("bd"); st("T")
print(throw(lambda r, o: o.carry_state == 0 and 196 <= o.x <= 206 and o.y == 540, "R", "R")); st("T thrown")
r.until("", lambda r: r.sim.channels[1] == 1); st("bridge")
r.crouch_pick("gb"); st("bag7")
print(throw(rests(540, 250, 440), "R", "R", keys_list=("RX", "UX", "X"))); st("bag7 over")
r.reach(on(540, 250, 300), "R", walk_max=20); st("over pocket")
r.reach(on(540, 380, 430, 1), "R", walk_max=40); st("g17")
r.go(440); r.crouch_pick("gb"); st("bag22")
r.go(662); r.crouch_drop(); r.hold("D", 3); st("on Q")
r.go(757); st("g38")
r.go(662); r.crouch_pick("gb"); st("from Q")
rem = 4
def to_c():
    global rem
    print(throw(into("C"), "R", "R", wmax=3)); rem -= 1; r.until("", lambda r: r.sim.conts[1].remaining == rem); st("C")
to_c()
for x in (590, 520, 300):
    near = min((b for b in r.sim.bags if b.carry_state == 0 and abs(b.y - 540) < 1), key=lambda b: abs(b.x - x))
    r.go(near.x + 5); r.crouch_pick("gb"); st("bag")
    r.go(662); to_c()
r.go(500)
r.reach(on(480, 551, 569), "R", **DJ); st("s1")
r.reach(on(420, 631, 649), "R", **DJ); st("s2")
r.reach(on(360, 540, 580), "L", **DJ); st("s3")
r.reach(on(300, 640, 680), "R", **DJ); st("s4")
r.reach(on(240, 592, 609), "L", **DJ); st("upper")
r.reach(on(180, 721, 760), "R", **DJ); st("t1")
r.reach(on(120, 621, 660), "L", **DJ); st("t2")
r.crouch_pick("gb"); st("bag32")
print(throw(rests(240, 300, 470), "L", "L", keys_list=("LX", "X", "UX"), wmax=10)); st("bag32 down")
r.reach(on(60, 690, 720), "R", **DJ); st("top")
r.go(757); r.crouch_pick("gb"); st("bag37")
r.until("L", lambda r: r.av.state == 2); r.land(""); st("down1")
r.until("L", lambda r: r.av.state == 2); r.land(""); st("down2")
print(throw(rests(240, 380, 470), "L", "L", keys_list=("X", "UX"))); st("37 over hole")
r.crouch_pick("gb"); st("bag28")
print(throw(rests(240, 380, 470), "L", "L", keys_list=("X", "UX"))); st("28 over hole")
r.reach(on(240, 400, 470), "L", walk_max=30); st("past hole")
for i in range(4):
    r.crouch_pick("gb"); st("bag")
    r.go(280)
    print(throw(rests(240, 20, 150), "L", "L", keys_list=("LX", "X"))); st("over feral")
    print([(round(b.x),round(b.y),b.carry_state) for b in r.sim.bags])
    if i < 3:
        near = min((b for b in r.sim.bags if b.carry_state == 0 and abs(b.y - 240) < 1 and b.x > 260), key=lambda b: b.x)
        r.go(min(near.x, 462))
r.hold("", 20)
r.reach(on(240, 60, 158, 7), "L", walk_max=40); st("over feral")
for i in range(4):
    r.crouch_pick("gb"); r.walk_to(50); r.crouch_drop(); st("D")
r.finish(); print(r.report())
open(os.path.join(build.ROOT, "levels", "solutions", "13.txt"), "w").write(r.script())
