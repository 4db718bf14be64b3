// A greyscale PNG of our own making: the cut-out's matte written for scripts and other programs
// to read, with no encoder of the platform's needed (the core writes it on any system).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace coiffure {

// An 8-bit greyscale PNG of width x height bytes (top row first). Deflated with the fixed codes
// and runs of one byte repeated, which is what a matte mostly holds: large areas of 0 and 255.
// Throws std::invalid_argument when the sizes do not match the bytes.
std::vector<uint8_t> EncodeGreyPng(int width, int height, std::span<const uint8_t> grey);

}  // namespace coiffure
