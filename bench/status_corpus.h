// A deterministic corpus of contact statuses for the benchmarks: Polish text
// in Windows-1250 with links of every form, 10 bytes to 4 KiB long.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace brisko::bench {

// `count` statuses made from `seed`; the same arguments give the same bytes
// on every platform. Lengths are spread log-uniformly over 10..4096 bytes.
std::vector<std::string> makeStatusCorpus(std::uint32_t seed = 20240611, std::size_t count = 1000);

// The statuses of `corpus` of at most `maxLength` bytes.
std::vector<std::string> shortStatuses(const std::vector<std::string>& corpus,
                                       std::size_t maxLength);

// Total bytes of `corpus`.
std::size_t totalBytes(const std::vector<std::string>& corpus);

}  // namespace brisko::bench
