"""What the level scripts share: a campaign's levels and solutions, and the simulator's END line."""
import os
import re
import subprocess

FRAME_SECONDS = 0.017  # the simulator's default frame, which every solution is played at
WON, DIED = 2, 1       # the END line's status


class Level:
    """One numbered level of a campaign folder: its file, its solution and its pack entry."""

    def __init__(self, campaign, number, target=None, title=""):
        self.campaign, self.number, self.target, self.title = campaign, number, target, title
        self.path = os.path.join(campaign, f"{number}.lv")
        self.solution = os.path.join(campaign, "solutions", f"{number}.txt")

    @property
    def name(self):
        return f"{os.path.basename(os.path.normpath(self.campaign))}/{self.number}"


def read_pack(directory):
    """The levels pack.txt lists, in number order."""
    levels = []
    with open(os.path.join(directory, "pack.txt"), encoding="utf-8") as text:
        for line in text:
            match = re.match(r"\s*level\s+(\d+)\s*=\s*([0-9.]+)\s*(.*?)\s*$", line)
            if match:
                levels.append(Level(directory, int(match.group(1)), float(match.group(2)), match.group(3)))
    return sorted(levels, key=lambda level: level.number)


def levels_named(items):
    """Campaign folders stand for all their levels; a file N.lv for itself (solution solutions/N.txt)."""
    found = []
    for item in items:
        if os.path.isdir(item):
            found.extend(read_pack(item))
        else:
            stem = os.path.splitext(os.path.basename(item))[0]
            found.append(Level(os.path.dirname(item) or ".", int(stem) if stem.isdigit() else stem))
            found[-1].path = item
    return found


def simulate(sim, level, script, frames=None):
    """The END line's fields of one run of the simulator."""
    command = [sim, level.path, "--inputs", script]
    if isinstance(level.number, int):
        command += ["--index", str(level.number - 1)]
    if frames is not None:
        command += ["--frames", str(frames)]
    return end_fields(run_tool(command).splitlines()[-1])


def run_tool(command):
    """A tool's standard output; a tool that fails (a missing or bad file) raises ToolFailed."""
    done = subprocess.run(command, capture_output=True, text=True)
    if done.returncode != 0:
        raise ToolFailed(f"{' '.join(command)}: {(done.stdout + done.stderr).strip() or done.returncode}")
    return done.stdout


class ToolFailed(Exception):
    pass


def end_fields(line):
    if not line.startswith("END "):
        raise RuntimeError(f"the simulator ended without its END line: {line!r}")
    fields = dict(re.findall(r'(\w+)=("[^"]*"|\S+)', line))
    fields["status"] = int(fields["status"])
    fields["elapsed"] = float(fields["elapsed"])
    return fields
