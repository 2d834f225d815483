#pragma once

#include <cstdio>
#include <string>

// The record tail that levers and press pads share: one channel byte, then one flag byte
// (non-zero reads as true, written as 0 or 1).
void writeSwitchRecord(FILE* file, int channel, bool flag);
void readSwitchRecord(FILE* file, int& channel, bool& flag);
// Why a channel read from a file cannot be used (no entry in channelStates); empty if it can.
std::string channelProblem(int channel);
