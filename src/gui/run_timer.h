#pragma once

// Lines at the top of the play screen.

// The timer: the elapsed and the target time, white until the target time has passed, then
// silver, the colour of the crown it no longer earns.
void drawRunTimer(double elapsed, double target);
// A watched replay: "REPLAY", its time, its speed and the keys that steer it.
void drawReplayMark(double elapsed, int speed);
