// Shared shape of a benchmark workload: our code, the fastest peer we know for the same work, and
// the floor (a plain copy of as many bytes as the work produces).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace coiffure::bench {

struct Workload {
  std::string name;
  std::string peer_name = "none";  // "none" when there is no peer
  std::function<void()> ours, peer, floor;
  std::string skipped;  // why the workload cannot run yet; empty when it runs
};

// Deterministic bytes that do not compress into a trivial pattern.
void FillNoise(uint8_t* p, size_t n, uint32_t seed);

// Prints the first differing byte and exits: timing different work would mean nothing.
void RequireSame(const std::string& workload, const uint8_t* ours, const uint8_t* peer, size_t n);

std::vector<Workload> ToneWorkloads();
std::vector<Workload> CompositeWorkloads();
std::vector<Workload> DecodeWorkloads();
std::vector<Workload> ImportWorkloads();
std::vector<Workload> ThumbnailWorkloads();
std::vector<Workload> RecolourWorkloads();
std::vector<Workload> OwnShadeWorkloads();
std::vector<Workload> DeskWorkloads();
std::vector<Workload> CutoutWorkloads();

}  // namespace coiffure::bench
