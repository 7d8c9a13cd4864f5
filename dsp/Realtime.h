// Marks the entry points that run on the host's audio thread.
//
// A function carrying TOVRA_REALTIME must not allocate or free memory, take a
// lock, wait, or call into the operating system; it may only compute on memory
// that already exists. The mark expands to nothing today; it names the rule
// at the declaration and gives one place to switch on a compiler check of it
// later. The allocation-counting tests enforce it in the meantime.
#pragma once

#define TOVRA_REALTIME
