#pragma once

#include <QHash>

namespace recibo::receipt {

// The value for `key` in `memory`, computed by `compute()` the first time it
// is asked for. Once `memory` holds `most` values it is emptied and starts
// again, so that it stays small however many receipts go by. The reference
// lasts until the next call with the same `memory`.
template <typename Key, typename Value, typename Compute>
const Value& remembered(QHash<Key, Value>& memory, const Key& key, qsizetype most, Compute compute)
{
    if (const auto known = memory.constFind(key); known != memory.cend())
        return *known;
    if (memory.size() >= most)
        memory.clear();
    return *memory.insert(key, compute());
}

}  // namespace recibo::receipt
