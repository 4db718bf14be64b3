// Which byte-shuffling vector instructions this processor offers. The program is built for the
// baseline instruction set; the few loops that gain from more ask here at run time. (32-byte
// shuffles were tried for the composite and gained nothing: it waits on memory, not on work.)
#pragma once

namespace coiffure {

enum class VectorLevel {
  kBaseline,  // no byte shuffle
  kSsse3,     // 16-byte shuffle
};

VectorLevel AvailableVectorLevel();

// Caps the level below what the processor offers, so that tests can run every path on one
// machine. A cap above the processor's level has no effect.
void CapVectorLevel(VectorLevel cap);

}  // namespace coiffure
