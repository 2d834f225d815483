"""Converts a design to level text, compiles it with binhopper-level and returns the .lv path."""
import os, subprocess
import totext

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
TOOL = os.path.join(ROOT, "build", "binhopper-level")


def lv(name, from_design=True):
    src = os.path.join(ROOT, "levels", "src", "%s.txt" % name)
    out = os.path.join(ROOT, "levels", "%s.lv" % name)
    des = os.path.join(os.path.dirname(__file__), "designs", "%s.txt" % name)
    os.makedirs(os.path.dirname(src), exist_ok=True)
    if from_design and os.path.exists(des):
        num = name if name.isdigit() else None
        open(src, "w").write(totext.convert(open(des).read(), num))
    subprocess.run([TOOL, "compile", src, out], check=True)
    return out
