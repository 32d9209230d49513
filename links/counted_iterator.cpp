#include "links/counted_iterator.h"

namespace brisko {

void WorkMeter::refill() {
  if (reserve == 0) throw SearchWorkExceeded();
  const std::uint64_t chunk = reserve < (std::uint64_t{1} << 30) ? reserve : std::uint64_t{1} << 30;
  reserve -= chunk;
  left = static_cast<std::uint32_t>(chunk);
}

}  // namespace brisko
