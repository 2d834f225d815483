#pragma once

#include "xm_writer.h"

// Synthesised instruments for the two tunes. Tonal ones are looped cycles tuned so that a
// note plays at its true pitch; drums are one-shot recordings at 44100 Hz that play at their
// recorded speed on C-4 (note 49).
constexpr int kDrumNote = 49;

XmInstrument leadInstrument();   // bright pulse with vibrato, held until key off
XmInstrument pluckInstrument();  // soft square that dies away: arpeggios
XmInstrument bassInstrument();   // round triangle-square bass
XmInstrument padInstrument();    // slow, detuned saws: sustained chords
XmInstrument brassInstrument();  // saw lead with a slower swell, for fanfares
XmInstrument kickInstrument();
XmInstrument snareInstrument();
XmInstrument hatInstrument();
XmInstrument crashInstrument();
XmInstrument timpaniInstrument();  // tuned drum sounding the note played
