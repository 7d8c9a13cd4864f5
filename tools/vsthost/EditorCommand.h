// vsthost editor DLL [--screenshot FILE.png] [--actions FILE] [--log FILE]
//                    [--idle-reenters]
//
// Loads a VST 2.4 effect library, opens its editor in a top-level window of
// the editor's size and drives it like a host: effEditIdle about every 20 ms
// while pumping the window messages, scripted input from the actions file,
// screenshots of the window's pixels as PNG, then closes the editor and the
// effect. Every request the effect makes of the host (automate, begin-edit,
// end-edit, idle) is logged as one text line (stdout, or --log FILE).
// --idle-reenters makes the host answer each idle request with effEditIdle,
// as some hosts do.
//
// Actions, one per line ('#' starts a comment). Coordinates are editor
// pixels; MODS is any of shift ctrl alt right middle double (a button word
// without right/middle means the left button):
//   down X Y [MODS]        button press          up X Y [MODS]   release
//   move X Y [MODS]        pointer move (carries the buttons held)
//   click X Y [MODS]       down then up
//   drag X1 Y1 X2 Y2 N [MODS]  down, N evenly spaced moves, up
//   wheel X Y DELTA [MODS] wheel message (120 per notch)
//   key CHAR VIRT MODBITS  effEditKeyDown      keyup CHAR VIRT MODBITS
//   automate INDEX VALUE   the host sets a parameter
//   param INDEX            logs "param INDEX VALUE"
//   knobmode MODE          effSetEditKnobMode
//   idle                   one effEditIdle, then the pending messages
//   wait MS                pump and idle for MS milliseconds
//   screenshot FILE.png    the editor window's pixels
//   close / open           effEditClose / effEditOpen
//   cycle N                N times close and open again
//   recreate N             N times: destroy the effect while its editor is
//                          open, make a new one and open its editor
//   memory                 logs "memory private=BYTES working=BYTES"
//   echo TEXT              logs TEXT
//
// Answers 0 on success, 1 when an action failed, 2 for a usage error.
#pragma once

namespace vsthost {

// argv holds the arguments after the subcommand name.
int runEditorCommand(int argc, char** argv);

}  // namespace vsthost
