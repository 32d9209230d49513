#include "settings/columns.h"

#include "host/host_calls.h"
#include "host/records.h"

namespace brisko {

void registerColumns() {
  for (const ColumnDefinition& entry : kColumnTable) {
    const std::uint32_t defaultValue = entry.type == kTextColumn
                                           ? ptrValue(entry.textDefault)
                                           : static_cast<std::uint32_t>(entry.intDefault);
    host::RegisterConfigColumn(entry.id, entry.type, defaultValue, entry.key);
  }
}

}  // namespace brisko
